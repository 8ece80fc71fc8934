#include "core/lighting/panel_decisions.h"

#include <algorithm>
#include <climits>
#include <span>

#include "core/app/ini_file.h"
#include "core/lighting/effect_table.h"
#include "core/lighting/user_lighting_file.h"

namespace qv::lighting {
namespace {

constexpr int kSelectorIds[] = {panel_id::kEffectSelector};
constexpr int kBrightnessIds[] = {panel_id::kBrightnessLabel, panel_id::kBrightnessSlider};
constexpr int kSpeedIds[] = {panel_id::kSpeedLabel, panel_id::kSpeedSlider};
constexpr int kDirectionIds[] = {panel_id::kDirectionLabel, panel_id::kDirectionFirst, panel_id::kDirectionSecond};
constexpr int kChoiceIds[] = {1194, 1195, 1196, 1197};
constexpr int kFirstColourIds[] = {1151, 1152, 1175, 1176};
constexpr int kSecondColourIds[] = {1154, 1155, 1156, 1173};
constexpr int kUserModeIds[] = {1159, 1160, 1161, 1162, 1163, 1164, 1165, 1198};

constexpr DirectionLayout kHorizontal{"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2",
                                      "leftup.bmp",          "leftdown.bmp",         "rightup.bmp",
                                      "rightdown.bmp"};
constexpr DirectionLayout kVertical{"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3",
                                    "upup.bmp",            "updown.bmp",           "downup.bmp",
                                    "downdown.bmp"};
constexpr DirectionLayout kSpread{"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic",
                                  "kuosan.bmp",         "kuosandown.bmp",      "julong.bmp",
                                  "julongdown.bmp"};

struct LabelKeyOf {
    int id;
    std::string_view key;
};
constexpr LabelKeyOf kLabelKeys[] = {
    {1204, "Usb"},   {1171, "Deng"},   {1172, "Light"}, {1148, "FX"},  {1166, "Speed"},
    {1151, "Color"}, {1154, "Color"},  {1159, "Color"}, {1161, "JColor"}, {1173, "DC"},
    {1176, "DC"},    {1163, "Tool"},
};

// Integer text as the dialog-data exchange reads it: blanks, optional sign, digits, blanks.
std::optional<int> ReadInteger(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    if (i >= t.size() || t[i] < '0' || t[i] > '9') return std::nullopt;
    long long v = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        v = v * 10 + (t[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return std::nullopt;
        ++i;
    }
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) ++i;
    if (i != t.size()) return std::nullopt;
    v = negative ? -v : v;
    if (v > INT_MAX || v < INT_MIN) return std::nullopt;
    return static_cast<int>(v);
}

}  // namespace

unsigned VisibleGroups(int effect, bool lightingViewOn, bool effectsListed) {
    if (!lightingViewOn) return 0;
    if (const EffectTraits* t = TraitsOf(effect)) return t->groups;
    // The selector stays for a code without parameters: it is the only way to another effect.
    return effectsListed ? kGroupEffectSelector : 0u;
}

std::string UnknownEffectNote(int effect, bool lightingViewOn, std::string_view name) {
    if (!lightingViewOn || effect == 0 || TraitsOf(effect) != nullptr) return {};
    const std::string shown = name.empty() ? FallbackEffectName(effect) : std::string(name);
    return "This tool cannot set the parameters of " + shown +
           ". The keyboard runs it with the settings it holds.";
}

std::span<const int> GroupControls(PanelGroup group) {
    switch (group) {
        case kGroupEffectSelector: return kSelectorIds;
        case kGroupBrightness: return kBrightnessIds;
        case kGroupSpeed: return kSpeedIds;
        case kGroupDirection: return kDirectionIds;
        case kGroupColourChoice: return kChoiceIds;
        case kGroupFirstColour: return kFirstColourIds;
        case kGroupSecondColour: return kSecondColourIds;
        case kGroupUserMode: return kUserModeIds;
    }
    return {};
}

DirectionLayout DirectionLayoutFor(int effect) {
    const EffectTraits* t = TraitsOf(effect);
    const DirectionStyle style = t ? t->direction : DirectionStyle::Spread;
    switch (style) {
        case DirectionStyle::Horizontal: return kHorizontal;
        case DirectionStyle::Vertical: return kVertical;
        case DirectionStyle::Spread: break;
    }
    return kSpread;
}

DirectionPictures DirectionPicturesFor(int effect, int direction) {
    const DirectionLayout l = DirectionLayoutFor(effect);
    const bool first = direction == 255;
    return {first ? l.firstChosen : l.firstNormal, first ? l.secondNormal : l.secondChosen};
}

std::string_view LightingViewPicture(bool on) { return on ? "dengdown.bmp" : "dengup.bmp"; }
std::string_view ColourfulPicture(bool on) { return on ? "sjsdown.bmp" : "sjsup.bmp"; }

std::string_view ColourChoicePicture(int k, int chosen) {
    static constexpr std::string_view kNormal[] = {"hong.bmp", "huang.bmp", "lv.bmp", "lan.bmp"};
    static constexpr std::string_view kChosen[] = {"hongok.bmp", "huangok.bmp", "lvok.bmp", "lanok.bmp"};
    if (k < 0 || k > 3) return {};
    if (chosen < 0 || chosen > 3) chosen = 0;
    return k == chosen ? kChosen[k] : kNormal[k];
}

std::string_view EraseToolPicture(int tool) { return tool == kEraseTool ? "user1down.bmp" : "user1up.bmp"; }
std::string_view PaintToolPicture(int tool) { return tool == kPaintTool ? "user2down.bmp" : "user2up.bmp"; }

std::string BrightnessSliderPicture(int position) {
    return std::to_string(position < 0 ? 0 : position > 5 ? 5 : position) + ".bmp";
}

std::string SpeedSliderPicture(int position) {
    return std::to_string(6 + (position < 0 ? 0 : position > 5 ? 5 : position)) + ".bmp";
}

std::string BusyPicture(int frame) {
    const int n = ((frame % 10) + 10) % 10;
    return "jdt" + std::to_string(n + 1) + ".bmp";
}

std::optional<std::string_view> LabelSection(int languageValue) {
    if (languageValue == 0) return "Control_Name";
    if (languageValue == 1) return "Control_Name1";
    return std::nullopt;
}

std::string_view LabelKey(int controlId) {
    for (const LabelKeyOf& l : kLabelKeys) {
        if (l.id == controlId) return l.key;
    }
    return {};
}

std::vector<std::pair<int, std::string>> ReadLabelTexts(const std::filesystem::path& mainSkin, int languageValue) {
    std::vector<std::pair<int, std::string>> texts;
    const auto section = LabelSection(languageValue);
    if (!section) return texts;
    const auto skin = ini::IniDocument::Load(mainSkin);
    for (const LabelKeyOf& l : kLabelKeys) texts.emplace_back(l.id, skin.Get(*section, l.key, ""));
    return texts;
}

RgbEntry ReadRgbEntry(const std::array<std::string, 3>& texts, ColourRef shown) {
    RgbEntry e;
    e.numbers = RgbNumbers(shown);
    for (std::size_t i = 0; i < 3; ++i) {
        const auto v = ReadInteger(texts[i]);
        if (!v) {
            e.invalidText = true;
            continue;
        }
        e.numbers[i] = std::clamp(*v, 0, 255);
    }
    e.colour = MakeColour(static_cast<std::uint8_t>(e.numbers[0]), static_cast<std::uint8_t>(e.numbers[1]),
                          static_cast<std::uint8_t>(e.numbers[2]));
    return e;
}

std::array<int, 3> RgbNumbers(ColourRef colour) { return {RedOf(colour), GreenOf(colour), BlueOf(colour)}; }

RgbTarget RgbTargetFor(int effect, int tool) {
    switch (effect) {
        case 1: case 2: case 3: case 5: case 6: case 7: case 8: case 9:
        case 10: case 13: case 14: case 15: case 16:
            return RgbTarget::EffectColour;
        case 20:
            if (tool == kPaintTool) return RgbTarget::BaseColour;
            if (tool == kEraseTool) return RgbTarget::EraseColour;
            return RgbTarget::Nothing;
        default:
            return RgbTarget::Nothing;
    }
}

}  // namespace qv::lighting
