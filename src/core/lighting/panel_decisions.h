#pragma once
// The lighting panel's decisions as data: which control groups show for an effect, where the
// direction controls go and which picture every toggle shows. The widgets apply them.

#include <array>
#include <filesystem>
#include <utility>
#include <vector>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/lighting/colour.h"
#include "core/lighting/effect_catalogue.h"

namespace qv::lighting {

// Control ids of the lighting panel.
namespace panel_id {
inline constexpr int kLightingLabel = 1171;
inline constexpr int kLightingViewToggle = 1167;
inline constexpr int kEffectSelector = 1146;
inline constexpr int kBrightnessLabel = 1172;
inline constexpr int kBrightnessSlider = 1178;
inline constexpr int kSpeedLabel = 1166;
inline constexpr int kSpeedSlider = 1179;
inline constexpr int kDirectionLabel = 1148;
inline constexpr int kDirectionFirst = 1149;
inline constexpr int kDirectionSecond = 1150;
inline constexpr int kFirstColourLabel = 1151;
inline constexpr int kFirstColourButton = 1152;
inline constexpr int kFirstColourfulToggle = 1175;
inline constexpr int kFirstColourfulLabel = 1176;
inline constexpr int kSecondColourLabel = 1154;
inline constexpr int kSecondColourButton = 1155;
inline constexpr int kSecondColourfulToggle = 1156;
inline constexpr int kSecondColourfulLabel = 1173;
inline constexpr int kColourChoiceFirst = 1194;  // 1194..1197: red, yellow, green, blue
inline constexpr int kEraseColourLabel = 1159;
inline constexpr int kEraseColourButton = 1160;
inline constexpr int kBaseColourLabel = 1161;
inline constexpr int kBaseColourButton = 1162;
inline constexpr int kToolLabel = 1163;
inline constexpr int kEraseToolPicture = 1164;
inline constexpr int kPaintToolPicture = 1165;
inline constexpr int kUserModeSelector = 1198;
inline constexpr int kRedEdit = 1207;
inline constexpr int kGreenEdit = 1208;
inline constexpr int kBlueEdit = 1209;
inline constexpr int kBusyPicture = 1177;
inline constexpr int kReportRateLabel = 1204;
}  // namespace panel_id

// The slider-moved notification of an image slider (wParam the control id, lParam the position).
inline constexpr unsigned kSliderMovedMessage = 0x28D1;

// Groups shown for an effect; everything is hidden with the view off. Any other code (one the
// tool does not know, or none) shows the selector alone while the keyboard lists effects to
// choose from, and nothing when it lists none.
unsigned VisibleGroups(int effect, bool lightingViewOn, bool effectsListed = true);
// What the panel says while such a code is the current effect (empty otherwise): that its
// parameters cannot be set here. `name` is its selector entry ("Effect N" when empty).
std::string UnknownEffectNote(int effect, bool lightingViewOn, std::string_view name);
// The control ids of a group (for applying VisibleGroups).
std::span<const int> GroupControls(PanelGroup group);

struct DirectionLayout {
    std::string_view labelKey;   // layout keys in the main skin file, section "BUTTONINFO"
    std::string_view firstKey;
    std::string_view secondKey;
    std::string_view firstNormal, firstChosen;    // pictures of the first direction (255)
    std::string_view secondNormal, secondChosen;  // pictures of the second direction (0)
};
DirectionLayout DirectionLayoutFor(int effect);

// The two pictures to show now: the chosen direction shows its "down" image; only 255 counts as
// the first direction.
struct DirectionPictures {
    std::string_view first;
    std::string_view second;
};
DirectionPictures DirectionPicturesFor(int effect, int direction);

std::string_view LightingViewPicture(bool on);         // "dengdown.bmp" / "dengup.bmp"
std::string_view ColourfulPicture(bool on);            // "sjsdown.bmp" / "sjsup.bmp"
// Picture k (0..3) of the colour choice while `chosen` is selected (outside 0..3 reads as 0).
std::string_view ColourChoicePicture(int k, int chosen);
std::string_view EraseToolPicture(int tool);           // "user1down.bmp" when erasing
std::string_view PaintToolPicture(int tool);           // "user2down.bmp" when painting
// Slider pictures: "0.bmp".."5.bmp" for brightness, "6.bmp".."11.bmp" for speed positions.
std::string BrightnessSliderPicture(int position);
std::string SpeedSliderPicture(int position);
// Busy indicator frames "jdt1.bmp".."jdt10.bmp"; frame counts from 0 and wraps.
std::string BusyPicture(int frame);

// Label texts: section "Control_Name" (language 0) or "Control_Name1" (1); none otherwise.
std::optional<std::string_view> LabelSection(int languageValue);
// The key of a label in that section ("Usb", "Deng", ...), empty for other ids.
std::string_view LabelKey(int controlId);

// The label texts for a language: (control id, text) for every label with a key, read with the
// default ""; empty for a language other than 0 and 1 (the labels keep their own texts).
std::vector<std::pair<int, std::string>> ReadLabelTexts(const std::filesystem::path& mainSkin, int languageValue);

// The R/G/B edits: what leaving them (or Return in them) decides.
struct RgbEntry {
    std::array<int, 3> numbers{};  // written back into the three edits
    ColourRef colour = 0;
    bool invalidText = false;      // show "Enter an integer."
};
// `texts` are the three edits' texts, red, green, blue, and `shown` the colour they showed. A
// text that reads as an integer gives its component, held to 0..255; one that does not (empty,
// a lone sign, letters) keeps the shown component and asks for an integer.
RgbEntry ReadRgbEntry(const std::array<std::string, 3>& texts, ColourRef shown);
// The numbers the edits show for a colour.
std::array<int, 3> RgbNumbers(ColourRef colour);

// Where an R/G/B colour goes for the current effect and user tool.
enum class RgbTarget { EffectColour, BaseColour, EraseColour, Nothing };
RgbTarget RgbTargetFor(int effect, int tool);

}  // namespace qv::lighting
