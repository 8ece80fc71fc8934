// The main window's side of the lighting panel: setting it up over the keyboard link and the
// hooks through which the window routes lighting events to it.
#include "core/app/paths.h"
#include "core/lighting/lighting_panel.h"
#include "core/lighting/user_lighting_file.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/main_window_state.h"
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

}  // namespace

void CQuorvaneDlg::SeedUserLighting() { lighting::SeedUserLightingFiles(LightingConfig().userPaths); }

void CQuorvaneDlg::SetUpLighting() {
    // Without a keyboard link there is nothing the panel could read or write.
    if (services_.commands == nullptr) return;
    LightingPanelHost host;
    host.keyButton = [this](int id) { return Button(id); };
    host.showReportRate = [this](int k) {
        MainState().reportRate = k;
        LightReportButton(k);
    };
    host.showKeyAssignments = [this] { RefreshKeyButtons(); };
    host.switchToActiveProfile = [this] {
        return profiles_ != nullptr && profiles_->SwitchProfile(profiles_->ReadActiveProfile()) == 1;
    };
    host.prompt = &Prompt();
    host.colourCaps = &colour1_;
    host.legends = &colour0_;
    lighting_ = std::make_unique<CLightingPanel>(*this, *services_.commands, LightingConfig(), std::move(host));
    lighting_->SetUp(SkinFolder());

    // Hooks a test (or a later window part) has set stay as they are.
    CLightingPanel* panel = lighting_.get();
    if (!services_.lightingViewOn) services_.lightingViewOn = [panel] { return panel->ViewOn(); };
    if (!services_.perKeyColourClick) services_.perKeyColourClick = [panel](int id) { panel->KeyClicked(id); };
    if (!services_.reloadLighting) {
        services_.reloadLighting = [panel](lighting::LoadReason reason) { panel->Load(reason, MainState().shownProfile); };
    }
    if (!services_.previewTick) services_.previewTick = [panel] { panel->PreviewTick(); };
    if (!services_.restoreLightingDefaults) services_.restoreLightingDefaults = [panel] { panel->RestoreDefaults(); };
}

void CQuorvaneDlg::ReloadLighting(lighting::LoadReason reason) {
    if (services_.reloadLighting) {
        services_.reloadLighting(reason);
    } else {
        // No panel: the report-rate buttons still show the shown profile's rate.
        ShowReportRateOfShownProfile();
    }
}

}  // namespace qv::ui
