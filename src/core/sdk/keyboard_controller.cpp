#include "core/sdk/keyboard_controller.h"

#include <algorithm>

#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/lighting/effect_catalogue.h"
#include "core/lighting/lighting_panel.h"

namespace qv::sdk {
namespace {

constexpr std::uint32_t kRows = 6;
constexpr std::uint32_t kColumns = 21;
constexpr int kLevels = 5;  // brightness and speed run 0..5

// The four colours of the colour-choice effect, 0x00BBGGRR.
constexpr std::array<std::uint32_t, 4> kChoiceColours = {0x0000FF, 0x00FFFF, 0x00FF00, 0xFF0000};

std::vector<KeyboardLed> BuildLeds() {
    std::vector<KeyboardLed> leds;
    for (const KeyButton& b : KeyButtonTable()) leds.push_back({b.matrixIndex, "Key: " + KeyName(b.code)});
    leds.push_back({kFnMatrixIndex, "Key: Fn"});
    leds.push_back({kGKeyMatrixIndex, "Key: G1-G9"});
    std::stable_sort(leds.begin(), leds.end(), [](const KeyboardLed& a, const KeyboardLed& b) { return a.slot < b.slot; });
    return leds;
}

EffectState StateOf(const lighting::LightingPanel& panel) {
    const lighting::LightingPanelState& s = panel.Settings().State();
    return {s.effect, s.brightness, s.speed, s.direction, s.colourful, s.colour, s.colourChoice};
}

int Clamp(std::uint32_t v) { return static_cast<int>(std::min<std::uint32_t>(v, kLevels)); }

}  // namespace

const std::vector<KeyboardLed>& KeyboardLeds() {
    static const std::vector<KeyboardLed> leds = BuildLeds();
    return leds;
}

std::vector<std::uint32_t> KeyboardMatrixMap() {
    std::vector<std::uint32_t> map(kRows * kColumns, kNoLed);
    const auto& leds = KeyboardLeds();
    for (std::size_t i = 0; i < leds.size(); ++i) map[static_cast<std::size_t>(leds[i].slot)] = static_cast<std::uint32_t>(i);
    return map;
}

int NearestColourChoice(std::uint32_t colour) {
    const auto distance = [colour](std::uint32_t c) {
        long sum = 0;
        for (int shift : {0, 8, 16}) {
            const long d = static_cast<long>((colour >> shift) & 0xFF) - static_cast<long>((c >> shift) & 0xFF);
            sum += d * d;
        }
        return sum;
    };
    int best = 0;
    for (int k = 1; k < 4; ++k) {
        if (distance(kChoiceColours[static_cast<std::size_t>(k)]) < distance(kChoiceColours[static_cast<std::size_t>(best)])) best = k;
    }
    return best;
}

ModeData ModeForEffect(int code, const std::string& name, const EffectState& s) {
    ModeData m;
    m.name = name;
    m.value = code;
    const lighting::EffectTraits* traits = lighting::TraitsOf(code);
    const unsigned groups = traits ? traits->groups : 0u;
    if (code == kDirectEffect) {
        m.flags |= mode_flag::kHasPerLedColour;
        m.colourMode = colour_mode::kPerLed;
    }
    if (groups & lighting::kGroupBrightness) {
        m.flags |= mode_flag::kHasBrightness;
        m.brightnessMin = 0;
        m.brightnessMax = kLevels;
        m.brightness = static_cast<std::uint32_t>(std::clamp(s.brightness, 0, kLevels));
    }
    if (groups & lighting::kGroupSpeed) {
        // The keyboard counts down to its fastest, 0: the range runs from slow to fast.
        m.flags |= mode_flag::kHasSpeed;
        m.speedMin = kLevels;
        m.speedMax = 0;
        m.speed = static_cast<std::uint32_t>(std::clamp(s.speed, 0, kLevels));
    }
    // The spread/gather pair of effect 18 has no counterpart among the protocol's directions.
    if ((groups & lighting::kGroupDirection) && traits->direction == lighting::DirectionStyle::Horizontal) {
        m.flags |= mode_flag::kHasDirectionLR;
        m.direction = s.direction == 255 ? direction::kLeft : direction::kRight;
    } else if ((groups & lighting::kGroupDirection) && traits->direction == lighting::DirectionStyle::Vertical) {
        m.flags |= mode_flag::kHasDirectionUD;
        m.direction = s.direction == 255 ? direction::kUp : direction::kDown;
    }
    if (groups & (lighting::kGroupFirstColour | lighting::kGroupSecondColour)) {
        m.flags |= mode_flag::kHasModeSpecificColour | mode_flag::kHasRandomColour;
        m.coloursMin = m.coloursMax = 1;
        m.colours = {s.colour & 0xFFFFFFu};
        m.colourMode = s.colourful ? colour_mode::kRandom : colour_mode::kModeSpecific;
    } else if (groups & lighting::kGroupColourChoice) {
        m.flags |= mode_flag::kHasModeSpecificColour;
        m.coloursMin = m.coloursMax = 1;
        m.colours = {kChoiceColours[static_cast<std::size_t>(std::clamp(s.colourChoice, 0, 3))]};
        m.colourMode = colour_mode::kModeSpecific;
    }
    return m;
}

bool KeyboardController::Present() const {
    return hooks_.present && hooks_.present() && hooks_.panel && hooks_.panel() != nullptr;
}

std::vector<int> KeyboardController::ModeCodes(const lighting::LightingPanel& panel) const {
    std::vector<int> codes;
    const lighting::EffectTable& effects = panel.Settings().Effects();
    if (effects.Supports(kDirectEffect)) codes.push_back(kDirectEffect);
    for (const lighting::EffectEntry& e : effects.Entries()) {
        if (e.code != kDirectEffect) codes.push_back(e.code);
    }
    return codes;
}

ControllerData KeyboardController::Describe() const {
    ControllerData c;
    c.type = kDeviceTypeKeyboard;
    c.name = "Quorvane Keyboard";
    c.vendor = "Quorvane";
    c.description = "USB gaming keyboard with on-board effects and per-key colours";
    c.location = "HID: 0C45:5304";
    c.zone.name = "Keyboard";
    c.zone.type = kZoneTypeMatrix;
    c.zone.height = kRows;
    c.zone.width = kColumns;
    c.zone.matrix = KeyboardMatrixMap();
    for (const KeyboardLed& led : KeyboardLeds()) {
        c.leds.push_back({led.name, static_cast<std::uint32_t>(led.slot), led.name.substr(5)});
    }
    const lighting::LightingPanel* panel = hooks_.panel ? hooks_.panel() : nullptr;
    if (panel == nullptr) return c;

    const EffectState state = StateOf(*panel);
    const auto names = panel->View().effectNames;
    const lighting::EffectTable& effects = panel->Settings().Effects();
    c.activeMode = -1;
    for (int code : ModeCodes(*panel)) {
        std::string name = "Direct";
        if (code != kDirectEffect) {
            const int position = effects.PositionOf(code);
            name = position >= 0 && static_cast<std::size_t>(position) < names.size() ? names[static_cast<std::size_t>(position)]
                                                                                         : lighting::FallbackEffectName(code);
        }
        if (code == state.effect) c.activeMode = static_cast<std::int32_t>(c.modes.size());
        c.modes.push_back(ModeForEffect(code, name, state));
    }
    // An effect the keyboard runs but does not list: clients still get a valid index.
    if (c.activeMode < 0) c.activeMode = 0;
    const int profile = panel->ShownProfile();
    for (const KeyboardLed& led : KeyboardLeds()) {
        const lighting::ColourRef colour = staging_ ? staged_[static_cast<std::size_t>(led.slot)]
                                                    : panel->UserModes().Table().Colour(profile, led.slot);
        c.colours.push_back(colour);
    }
    return c;
}

void KeyboardController::SetLedColours(std::size_t first, std::span<const std::uint32_t> colours) {
    lighting::LightingPanel* panel = hooks_.panel ? hooks_.panel() : nullptr;
    if (panel == nullptr) return;
    if (!staging_) {
        // Slots without an LED of their own keep what the keyboard shows.
        const int profile = panel->ShownProfile();
        for (int slot = 0; slot < lighting::kColourSlots; ++slot) {
            staged_[static_cast<std::size_t>(slot)] = panel->UserModes().Table().Colour(profile, slot);
        }
        staging_ = true;
    }
    const auto& leds = KeyboardLeds();
    for (std::size_t i = 0; i < colours.size() && first + i < leds.size(); ++i) {
        staged_[static_cast<std::size_t>(leds[first + i].slot)] = colours[i] & 0xFFFFFFu;
    }
    if (!flushScheduled_) {
        flushScheduled_ = true;
        if (hooks_.scheduleFlush) hooks_.scheduleFlush();
    }
}

void KeyboardController::Flush() {
    flushScheduled_ = false;
    lighting::LightingPanel* panel = hooks_.panel ? hooks_.panel() : nullptr;
    // One update at a time: a flush asked for while one is being written waits for the next turn.
    if (!staging_ || writing_ || panel == nullptr || !Present()) return;
    writing_ = true;
    const auto colours = staged_;
    staging_ = false;
    panel->OnStreamedColours(colours);
    ++flushesWritten_;
    writing_ = false;
    Changed();
}

void KeyboardController::Forget() {
    staging_ = false;
    flushScheduled_ = false;
}

void KeyboardController::SelectEffect(lighting::LightingPanel& panel, int code) {
    if (panel.Settings().State().effect == code) return;
    const int position = panel.Settings().Effects().PositionOf(code);
    if (position >= 0) panel.OnEffectSelected(position);
}

bool KeyboardController::UpdateMode(std::size_t modeIndex, const ModeData& mode) {
    lighting::LightingPanel* panel = hooks_.panel ? hooks_.panel() : nullptr;
    if (panel == nullptr) return false;
    const std::vector<int> codes = ModeCodes(*panel);
    if (modeIndex >= codes.size()) return false;
    const int code = codes[modeIndex];
    SelectEffect(*panel, code);

    // Only the fields the mode offers are taken, each written as the panel's control writes it.
    const ModeData offered = ModeForEffect(code, "", StateOf(*panel));
    const lighting::LightingPanelState& s = panel->Settings().State();
    if (offered.flags & mode_flag::kHasBrightness) {
        panel->OnSliderMoved(lighting::panel_id::kBrightnessSlider, Clamp(mode.brightness));
    }
    if (offered.flags & mode_flag::kHasSpeed) {
        panel->OnSliderMoved(lighting::panel_id::kSpeedSlider, kLevels - Clamp(mode.speed));
    }
    if (offered.flags & (mode_flag::kHasDirectionLR | mode_flag::kHasDirectionUD)) {
        const bool first = mode.direction == direction::kLeft || mode.direction == direction::kUp;
        const bool second = mode.direction == direction::kRight || mode.direction == direction::kDown;
        if ((first && s.direction != 255) || (second && s.direction == 255)) {
            panel->OnDirectionClicked(first ? lighting::panel_id::kDirectionFirst : lighting::panel_id::kDirectionSecond);
        }
    }
    if (offered.flags & mode_flag::kHasRandomColour) {
        if (mode.colourMode == colour_mode::kRandom && !s.colourful) {
            panel->Settings().SetColourful(true);
        } else if (mode.colourMode == colour_mode::kModeSpecific && !mode.colours.empty() &&
                   (s.colourful || (mode.colours[0] & 0xFFFFFFu) != (s.colour & 0xFFFFFFu))) {
            panel->OnColourPicked(lighting::panel_id::kFirstColourButton, mode.colours[0] & 0xFFFFFFu);
        }
    } else if ((offered.flags & mode_flag::kHasModeSpecificColour) && !mode.colours.empty()) {
        const int choice = NearestColourChoice(mode.colours[0]);
        if (choice != s.colourChoice) panel->OnColourChoiceClicked(lighting::panel_id::kColourChoiceFirst + choice);
    }
    Changed();
    return true;
}

void KeyboardController::SetCustomMode() {
    lighting::LightingPanel* panel = hooks_.panel ? hooks_.panel() : nullptr;
    if (panel == nullptr) return;
    SelectEffect(*panel, kDirectEffect);
    Changed();
}

void KeyboardController::Changed() const {
    if (hooks_.changed) hooks_.changed();
}

}  // namespace qv::sdk
