#pragma once
// The lighting panel's behaviour without its widgets: every handler of the panel writes through
// the lighting models at once, and View() gives the widgets everything they show. Key buttons
// are painted through a sink (the same one the preview paints through).

#include <array>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/device/command_set.h"
#include "core/lighting/lighting_preview.h"
#include "core/lighting/lighting_settings.h"
#include "core/lighting/panel_decisions.h"
#include "core/lighting/user_modes.h"

namespace qv::lighting {

struct LightingPanelConfig {
    std::filesystem::path mainSkin;      // effect names
    std::filesystem::path languageFile;  // the language value
    std::filesystem::path settingsFile;  // wskb.ini
    UserLightingPaths userPaths;
};

// Everything the panel's widgets show, decided from the models.
struct PanelView {
    bool lightingView = false;
    std::string_view lightingViewPicture;
    std::vector<std::string> effectNames;  // selector entries, position order
    int selectedPosition = -1;
    unsigned visibleGroups = 0;  // PanelGroup bits
    DirectionLayout directionLayout;
    DirectionPictures directionPictures;
    int brightnessPosition = 0;
    std::string brightnessPicture;
    int speedPosition = 0;
    std::string speedPicture;
    ColourRef effectColour = 0;  // both colour buttons
    std::string_view colourfulPicture;  // both colourful toggles
    std::array<std::string_view, 4> colourChoicePictures;
    int reportRate = 0;  // which report-rate button is pressed
    std::array<std::string, kUserModeCount> userModeNames;
    int userMode = 0;
    ColourRef baseColour = 0;
    ColourRef eraseColour = 0;
    std::string_view eraseToolPicture;
    std::string_view paintToolPicture;
    bool showKeyColours = false;  // effect 20 in the lighting view: keys show their own colours
    // The R/G/B edits show the colour of the colour button they act on (the effect colour, or
    // the base or erase colour by tool under effect 20); they take input only where typing sets
    // a colour.
    std::array<int, 3> rgbNumbers{};
    bool rgbEditable = false;
    // Said in the panel while the current effect is one the tool has no parameters for.
    std::string effectNote;
};

enum class LoadReason {
    Arrival,        // the keyboard arrived: user modes go out inside the reading group
    ProfileButton,  // a profile button: user modes load after the lighting
    Reload,         // the reload timer: lighting only
};

class LightingPanel {
public:
    LightingPanel(device::CommandSet& commands, LightingPanelConfig config, RandomSource* random = nullptr);

    // Where key buttons are painted; may be null (nothing is painted).
    void SetKeySink(PreviewSink* sink) { keys_ = sink; }

    void SetShownProfile(int profile);
    int ShownProfile() const { return settings_.ShownProfile(); }

    // Loads the lighting state (0, or -1 when the global block cannot be read) and refreshes the
    // effect names.
    int Load(LoadReason reason);
    PanelView View() const;

    void OnEffectSelected(int position);
    // 1178 or 1179 with the new position.
    void OnSliderMoved(int controlId, int position);
    // 1149 (first) or 1150 (second).
    void OnDirectionClicked(int controlId);
    // 1152 or 1155: effect colour; 1160: erase colour; 1162: base colour.
    void OnColourPicked(int controlId, ColourRef colour);
    void OnColourfulClicked();
    // 1194..1197.
    void OnColourChoiceClicked(int controlId);
    // One of 1207..1209 left (or Return pressed in it) with the three texts; applies the colour
    // when it differs from the one shown and returns the numbers to write back.
    RgbEntry OnRgbEntered(const std::array<std::string, 3>& texts);
    // Turning the view on first switches to the keyboard's active profile through
    // `switchToActive`; when it refuses, the view stays off. Returns the new state.
    bool OnLightingViewClicked(const std::function<bool()>& switchToActive);
    // A key button clicked with the view on; true when it took a colour.
    bool OnKeyClicked(int buttonId);
    void OnUserModeSelected(int mode);
    void OnUserModeRenamed(std::string_view text);
    // 1164 (erase) or 1165 (paint).
    void OnToolClicked(int controlId);
    // The lighting half of "restore defaults"; does nothing with the view off.
    void OnRestoreDefaults();
    // Timer 1052: one preview step while the view is on.
    void OnPreviewTick();
    // Per-key colours from another program for the shown profile; the keys show them while the
    // per-key effect is on view.
    void OnStreamedColours(std::span<const ColourRef, kColourSlots> colours);

    LightingSettings& Settings() { return settings_; }
    const LightingSettings& Settings() const { return settings_; }
    bool LightingViewOn() const { return settings_.State().lightingView; }
    UserModeEditor& UserModes() { return userModes_; }
    const UserModeEditor& UserModes() const { return userModes_; }
    LightingPreview& Preview() { return preview_; }
    bool UserColoursSupported() const { return settings_.Effects().Supports(20); }

private:
    void ShowKeyColours();
    PreviewInput CurrentPreviewInput() const;
    RgbTarget CurrentRgbTarget() const;
    // The colour the R/G/B edits show.
    ColourRef RgbColour() const;

    LightingPanelConfig config_;
    SettingsFile settingsFile_;
    LightingSettings settings_;
    UserModeEditor userModes_;
    LightingPreview preview_;
    PreviewSink* keys_ = nullptr;
    std::vector<std::string> effectNames_;
};

}  // namespace qv::lighting
