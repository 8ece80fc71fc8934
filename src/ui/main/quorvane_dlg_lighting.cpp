// The main window's side of the lighting panel: setting it up over the keyboard link and the
// host through which the window's model reaches it.
#include "core/app/paths.h"
#include "core/lighting/lighting_panel.h"
#include "core/lighting/user_lighting_file.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/main_window_skin.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::ui {
namespace {

lighting::LightingPanelConfig LightingConfig() {
    lighting::LightingPanelConfig c;
    c.mainSkin = Paths().mainSkin;
    c.languageFile = Paths().textTable;
    c.settingsFile = UserFiles().settingsFile;
    c.userPaths = {UserFiles().userLightingPrefix, Paths().userLightingTemplatePrefix, UserFiles().settingsFile};
    return c;
}

class PanelHost : public mainwin::LightingHost {
public:
    explicit PanelHost(CLightingPanel& panel) : panel_(panel) {}
    bool ViewOn() const override { return panel_.ViewOn(); }
    void Reload(lighting::LoadReason reason, int shownProfile) override { panel_.Load(reason, shownProfile); }
    void RestoreDefaults() override { panel_.RestoreDefaults(); }
    lighting::LightingSettings& Settings() override { return panel_.Model().Settings(); }

private:
    CLightingPanel& panel_;
};

}  // namespace

void SeedUserLighting() { lighting::SeedUserLightingFiles(LightingConfig().userPaths); }

void CQuorvaneDlg::SetUpLighting() {
    // Without a keyboard link there is nothing the panel could read or write.
    if (Commands() == nullptr) return;
    LightingPanelHost host;
    host.keyButton = [this](int id) { return Button(id); };
    host.showReportRate = [this](int k) {
        model_.State().reportRate = k;
        LightReportButton(k);
    };
    host.showKeyAssignments = [this] { RefreshKeyButtons(); };
    host.switchToActiveProfile = [this] {
        return Profiles() != nullptr && Profiles()->SwitchProfile(Profiles()->ReadActiveProfile()) == 1;
    };
    host.prompt = &Prompt();
    host.colourCaps = &faces_.colour1;
    host.legends = &faces_.colour0;
    host.loadColourPictures = [this] { LoadColourFaces(*this, faces_); };
    host.viewApplied = [this] { ResumePreview(); };
    lighting_ = std::make_unique<CLightingPanel>(*this, *Commands(), LightingConfig(), std::move(host));
    lighting_->SetUp(SkinFolder(), PictureRatio());
    lightingHost_ = std::make_unique<PanelHost>(*lighting_);
    model_.SetLighting(lightingHost_.get());
}

}  // namespace qv::ui
