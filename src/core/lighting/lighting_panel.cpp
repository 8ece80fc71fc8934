#include "core/lighting/lighting_panel.h"

namespace qv::lighting {

LightingPanel::LightingPanel(device::CommandSet& commands, LightingPanelConfig config, RandomSource* random)
    : config_(std::move(config)),
      settingsFile_(config_.settingsFile),
      settings_(commands),
      userModes_(commands, config_.userPaths),
      preview_(random) {}

void LightingPanel::SetShownProfile(int profile) {
    settings_.SetShownProfile(profile);
    userModes_.SetShownProfile(settings_.ShownProfile());
}

int LightingPanel::Load(LoadReason reason) {
    std::function<void()> inside;
    if (reason == LoadReason::Arrival) {
        // Known only once the global block is in: the hook runs after it has been read.
        inside = [this] {
            if (UserColoursSupported()) userModes_.LoadUserModes();
        };
    }
    const int result = settings_.Load(&settingsFile_, inside);
    effectNames_ = EffectNames(settings_.Effects(), config_.mainSkin, ReadLanguageValue(config_.languageFile));
    if (result == 0 && reason == LoadReason::ProfileButton && UserColoursSupported()) {
        userModes_.LoadUserModes();
    }
    if (result == 0 && settings_.State().lightingView && settings_.State().effect == 20) ShowKeyColours();
    return result;
}

PanelView LightingPanel::View() const {
    const LightingPanelState& s = settings_.State();
    const UserModeState& u = userModes_.State();
    PanelView v;
    v.lightingView = s.lightingView;
    v.lightingViewPicture = LightingViewPicture(s.lightingView);
    v.effectNames = effectNames_;
    v.selectedPosition = settings_.Effects().PositionOf(s.effect);
    v.visibleGroups = VisibleGroups(s.effect, s.lightingView, !settings_.Effects().Empty());
    v.directionLayout = DirectionLayoutFor(s.effect);
    v.directionPictures = DirectionPicturesFor(s.effect, s.direction);
    v.brightnessPosition = s.brightness < 0 ? 0 : s.brightness > 5 ? 5 : s.brightness;
    v.brightnessPicture = BrightnessSliderPicture(v.brightnessPosition);
    v.speedPosition = s.SpeedSliderPosition() < 0 ? 0 : s.SpeedSliderPosition() > 5 ? 5 : s.SpeedSliderPosition();
    v.speedPicture = SpeedSliderPicture(v.speedPosition);
    v.effectColour = s.colour;
    v.colourfulPicture = ColourfulPicture(s.colourful);
    for (int k = 0; k < 4; ++k) v.colourChoicePictures[static_cast<std::size_t>(k)] = ColourChoicePicture(k, s.colourChoice);
    v.reportRate = s.reportRate;
    v.userModeNames = u.names;
    v.userMode = u.mode;
    v.baseColour = u.base;
    v.eraseColour = u.erase;
    v.eraseToolPicture = EraseToolPicture(u.tool);
    v.paintToolPicture = PaintToolPicture(u.tool);
    v.showKeyColours = s.lightingView && s.effect == 20;
    v.rgbNumbers = RgbNumbers(RgbColour());
    v.rgbEditable = CurrentRgbTarget() != RgbTarget::Nothing;
    const std::string name = v.selectedPosition >= 0 && static_cast<std::size_t>(v.selectedPosition) < effectNames_.size()
                                 ? effectNames_[static_cast<std::size_t>(v.selectedPosition)]
                                 : std::string();
    v.effectNote = UnknownEffectNote(s.effect, s.lightingView, name);
    return v;
}

void LightingPanel::ShowKeyColours() {
    if (!keys_) return;
    for (int i = 0; i < kColourButtonCount; ++i) {
        const int id = ColourButtonAt(i);
        keys_->ShowColour(id, userModes_.ButtonColour(id));
    }
}

PreviewInput LightingPanel::CurrentPreviewInput() const {
    const LightingPanelState& s = settings_.State();
    return {s.effect, s.direction, s.colourful, s.colour};
}

void LightingPanel::OnEffectSelected(int position) {
    const int code = settings_.SelectEffectAt(position);
    if (code == 20 && settings_.State().lightingView) ShowKeyColours();
    preview_.Restart();
}

void LightingPanel::OnSliderMoved(int controlId, int position) {
    if (controlId == panel_id::kBrightnessSlider) settings_.MoveBrightnessSlider(position);
    if (controlId == panel_id::kSpeedSlider) settings_.MoveSpeedSlider(position);
}

void LightingPanel::OnDirectionClicked(int controlId) {
    if (controlId == panel_id::kDirectionFirst) settings_.SetDirection(true);
    if (controlId == panel_id::kDirectionSecond) settings_.SetDirection(false);
}

void LightingPanel::OnColourPicked(int controlId, ColourRef colour) {
    switch (controlId) {
        case panel_id::kFirstColourButton:
        case panel_id::kSecondColourButton:
            settings_.PickColour(colour);
            break;
        case panel_id::kEraseColourButton:
            userModes_.SetEraseColour(colour);
            break;
        case panel_id::kBaseColourButton:
            if (userModes_.SetBaseColour(colour)) ShowKeyColours();
            break;
        default:
            break;
    }
}

void LightingPanel::OnColourfulClicked() { settings_.ToggleColourful(); }

void LightingPanel::OnColourChoiceClicked(int controlId) {
    settings_.ChooseColour(controlId - panel_id::kColourChoiceFirst);
}

RgbTarget LightingPanel::CurrentRgbTarget() const {
    if (!settings_.State().lightingView) return RgbTarget::Nothing;
    return RgbTargetFor(settings_.State().effect, userModes_.State().tool);
}

ColourRef LightingPanel::RgbColour() const {
    switch (CurrentRgbTarget()) {
        case RgbTarget::BaseColour: return userModes_.State().base;
        case RgbTarget::EraseColour: return userModes_.State().erase;
        case RgbTarget::EffectColour:
        case RgbTarget::Nothing: break;
    }
    return settings_.State().colour;
}

RgbEntry LightingPanel::OnRgbEntered(const std::array<std::string, 3>& texts) {
    const ColourRef shown = RgbColour();
    RgbEntry e = ReadRgbEntry(texts, shown);
    // Leaving an edit unchanged writes nothing (and keeps the colourful flag).
    if (e.colour != shown) {
        switch (CurrentRgbTarget()) {
            case RgbTarget::EffectColour: settings_.PickColour(e.colour); break;
            case RgbTarget::BaseColour: OnColourPicked(panel_id::kBaseColourButton, e.colour); break;
            case RgbTarget::EraseColour: userModes_.SetEraseColour(e.colour); break;
            case RgbTarget::Nothing: break;
        }
    }
    e.numbers = RgbNumbers(RgbColour());
    return e;
}

bool LightingPanel::OnLightingViewClicked(const std::function<bool()>& switchToActive) {
    LightingPanelState& s = settings_.State();
    if (s.lightingView) {
        settingsFile_.SetLightingView(false);
        s.lightingView = false;
        return false;
    }
    if (switchToActive && !switchToActive()) return false;
    if (keys_) {
        for (const KeyButtonSlot& k : KeyButtonSlots()) keys_->ShowPlain(k.id);
        keys_->ShowPlain(kFnButtonId);
    }
    settingsFile_.SetLightingView(true);
    s.lightingView = true;
    ShowKeyColours();
    OnPreviewTick();
    return true;
}

bool LightingPanel::OnKeyClicked(int buttonId) {
    if (!settings_.State().lightingView) return false;
    if (!userModes_.ClickKey(buttonId, settings_.State().effect)) return false;
    if (keys_) keys_->ShowColour(buttonId, userModes_.ButtonColour(buttonId));
    return true;
}

void LightingPanel::OnUserModeSelected(int mode) {
    userModes_.SelectUserMode(mode);
    ShowKeyColours();
}

void LightingPanel::OnUserModeRenamed(std::string_view text) { userModes_.RenameUserMode(text); }

void LightingPanel::OnToolClicked(int controlId) {
    if (controlId == panel_id::kEraseToolPicture) userModes_.ChooseTool(kEraseTool);
    if (controlId == panel_id::kPaintToolPicture) userModes_.ChooseTool(kPaintTool);
}

void LightingPanel::OnRestoreDefaults() {
    if (!settings_.State().lightingView) return;
    const int position = settings_.Effects().PositionOf(1);
    if (position >= 0) {
        OnEffectSelected(position);
    } else {
        settings_.SelectEffect(1);
        preview_.Restart();
    }
    if (UserColoursSupported()) {
        userModes_.RestoreFromPristine();
    }
    settings_.WriteDefaultBlock();
}

void LightingPanel::OnStreamedColours(std::span<const ColourRef, kColourSlots> colours) {
    userModes_.ShowStreamedColours(colours);
    if (settings_.State().lightingView && settings_.State().effect == 20) ShowKeyColours();
}

void LightingPanel::OnPreviewTick() {
    if (!settings_.State().lightingView || !keys_) return;
    preview_.Tick(CurrentPreviewInput(), *keys_);
}

}  // namespace qv::lighting
