#pragma once
// The lighting panel of the main window: its controls, bound to the lighting model. Every
// handler writes through the model at once and then shows what the model decided; the window
// only routes its events here (loads, key clicks in the lighting view, the preview timer and the
// lighting half of Default).

#include <QObject>
#include <QPixmap>

#include <array>
#include <functional>
#include <memory>

#include "core/lighting/lighting_panel.h"
#include "ui/lighting/key_button_lights.h"
#include "ui/lighting/lighting_controls.h"

class QColor;
class QWidget;

namespace qv {
class UserPrompt;
}

namespace qv::ui {

class CPngButton;

// What the panel needs of the window it sits on.
struct LightingPanelHost {
    std::function<CPngButton*(int id)> keyButton;
    // Lights report-rate button 0..3 (the refresh sets which one is pressed).
    std::function<void(int index)> showReportRate;
    // The key buttons show their assignments again (the view was turned off).
    std::function<void()> showKeyAssignments;
    // Re-applies the keyboard's active profile; false when the switch is refused.
    std::function<bool()> switchToActiveProfile;
    UserPrompt* prompt = nullptr;
    // The lighting view's key pictures: light caps (main_color1) and legends (main_color0).
    const QPixmap* colourCaps = nullptr;
    const QPixmap* legends = nullptr;
    // Fills in the two pictures above; called when the first key shows a colour.
    std::function<void()> loadColourPictures;
    // The panel showed its state anew; the lighting view may have been turned on.
    std::function<void()> viewApplied;
};

class CLightingPanel : public QObject {
    Q_OBJECT
public:
    // The framework's own prompt for an edit that does not hold a number.
    static constexpr const char* kEnterIntegerPrompt = "Enter an integer.";

    CLightingPanel(QWidget& dialog, device::CommandSet& commands, lighting::LightingPanelConfig config,
                   LightingPanelHost host);
    ~CLightingPanel() override;

    // The window's lighting set-up: the user lighting files on first run, the pictures, the
    // places and the texts of the controls.
    void SetUp(const std::filesystem::path& skinFolder, double pictureRatio);
    // The panel's pictures and the lighting view's legend layers again at another device pixel
    // ratio (the window's key pictures are already reloaded).
    void ReloadPictures(double pictureRatio);

    // Loads the shown profile's lighting and refreshes the panel; a profile button also turns the
    // lighting view off.
    void Load(lighting::LoadReason reason, int shownProfile);
    bool ViewOn() const;
    // The lighting view's key pictures were read (the view coloured a key).
    bool ColourPicturesLoaded() const;
    // A key, G, Fn or D button clicked while the view is on.
    void KeyClicked(int buttonId);
    void PreviewTick();
    // The lighting half of Default (the view is on).
    void RestoreDefaults();

    // Shows the model again (another program changed the lighting through it).
    void Refresh();

    QWidget* Control(int id) const { return controls_.Control(id); }
    lighting::LightingPanel& Model() { return model_; }

private:
    void Connect();
    // Shows the model's view on every control (not the report rate, which the window's own
    // buttons change behind the panel's back).
    void ApplyView();
    void ApplyVisibility(unsigned groups);
    void ShowEffects(const lighting::PanelView& v);
    void ShowUserModes(const lighting::PanelView& v);
    void ShowPicture(int id, std::string_view name);
    void ShowSliderPictures();

    void OnViewToggle();
    void OnRgbEntered();
    void ShowRgbNumbers(const std::array<int, 3>& numbers, bool evenWhileTyping);
    void OnColourPicked(int controlId, const QColor& colour);
    void TurnViewOff();

    QWidget& dialog_;
    lighting::LightingPanelConfig config_;
    LightingPanelHost host_;
    lighting::LightingPanel model_;
    LightingControls controls_;
    LightingPictures pictures_;
    std::filesystem::path skinFolder_;
    std::unique_ptr<KeyButtonLights> lights_;
};

}  // namespace qv::ui
