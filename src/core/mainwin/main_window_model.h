#pragma once
// The rules of the main window without its widgets: Apply and OK, Default, the profile and
// report-rate buttons, key clicks, the keyboard arriving and leaving, and assignments changed by
// another program. CQuorvaneDlg binds its buttons to it.

#include <chrono>
#include <filesystem>
#include <memory>

#include "core/app/user_prompt.h"
#include "core/editor/composite_editor.h"
#include "core/editor/editor_host.h"
#include "core/keyboard/profile_store.h"
#include "core/mainwin/main_window_state.h"
#include "core/mainwin/main_window_view.h"
#include "core/profile/key_download.h"
#include "core/profile/profile_host.h"
#include "core/profile/profile_operations.h"
#include "platform/keyboard_write_lock.h"

namespace qv::device {
class CommandSet;
}
namespace qv::lighting {
class LightingSettings;
}


namespace qv::mainwin {

// Where a click on a key, G, Fn or D button goes.
struct KeyClick {
    enum class Target { Nothing, PerKeyColour, Editor };
    Target target = Target::Nothing;
    EditorRequest edit;  // for Target::Editor
};

struct MainWindowFiles {
    std::filesystem::path userFolder;
    std::filesystem::path workingFile;
    // The first-run setup of the user lighting files (run when the user folder is made).
    std::function<void()> setUpUserLighting;
};

class MainWindowModel : public EditorHost, public ProfileHost {
public:
    MainWindowModel(ProfileStore& working, ProfileStore& applied, UserPrompt& prompt, FileChooser& chooser,
                    MainWindowView& view, KeyButtonsView& keys, OpenDialogs& dialogs, const KeyboardFacts& facts,
                    MainWindowFiles files);
    ~MainWindowModel() override;

    // The keyboard link; none (tests, no library) leaves the device rules idle.
    void SetCommands(device::CommandSet* commands);
    device::CommandSet* Commands() const { return commands_; }
    ProfileOperations* Profiles() { return profiles_.get(); }
    void SetLighting(LightingHost* lighting) { lighting_ = lighting; }

    // How long a change waits for another program's change of the keyboard to finish.
    std::chrono::milliseconds lockWait = platform::kKeyboardWriteLockWait;

    MainWindowState& State() { return state_; }
    const MainWindowState& State() const { return state_; }

    // Apply (button 1006, OK, the posted time change, Default): with edits, saves and sends the
    // working store; editing ends only when both succeeded.
    ApplyResult Apply();
    bool IsEditing() const { return state_.editing; }
    // Default: after Yes, the active profile's key buttons and the shown bank's G keys go back to
    // their factory function (and the lighting too while the lighting view is on), then Apply.
    void Default();
    // Profile button p (0..2): shows p's lighting, then switches the keyboard to p.
    void ProfileButton(int p);
    // Report-rate button k (0..3): written at once to the shown profile's record.
    void ReportRate(int k);
    KeyClick KeyClicked(int buttonId) const;
    // The menu's Import: the file dialog, then the file sent while the keyboard is held.
    bool Import();
    // The keyboard arrived (or the window starts over one): the working store from the keyboard.
    void KeyboardArrival();
    // The keyboard left: every open dialog is cancelled and the window minimised.
    void KeyboardRemoval();
    // Another program sent new assignments and rewrote the working file.
    void AssignmentsChangedElsewhere();
    // Another program switched the active profile or changed the lighting: the window shows the
    // keyboard's active profile and reads the lighting again (no question: nothing here is lost).
    void SettingsChangedElsewhere();
    // Lights the active profile's button and shows it (after the profile manager).
    void ShowActiveProfile();
    // Loads the shown profile's lighting; without a panel, just its report rate.
    void ReloadLighting(lighting::LoadReason reason);
    int Bank() const { return facts_.Bank(); }
    int KeyboardCount() const { return facts_.KeyboardCount(); }

    // EditorHost and ProfileHost: what the editors and the profile operations change here.
    void SetEditing(bool editing) override;
    void RefreshKeyButton(int recordIndex) override;
    void RefreshKeyButtons() override;
    bool CompositeEditorOpen() const override { return dialogs_.CompositeEditorOpen(); }
    bool ProfileManagerOpen() const override { return dialogs_.ProfileManagerOpen(); }
    bool HasUnappliedChanges() const override;
    void RunMainApply() override { Apply(); }
    void SetMainApplyEnabled(bool enabled) override { SetEditing(enabled); }
    void TickProfileManagerRow(int row) override { dialogs_.TickProfileManagerRow(row); }
    void SetProfileCaption(const std::string& caption, const std::string& tooltip) override {
        view_.SetProfileCaption(caption, tooltip);
    }

private:
    void ReadReportRateOfShownProfile();
    // One change of the keyboard at a time, shared with quorvanectl; false (told) when another
    // program keeps it past the bound.
    bool HoldKeyboard(platform::KeyboardWriteLock& lock);
    lighting::LightingSettings& Lighting();

    ProfileStore& working_;
    ProfileStore& applied_;
    UserPrompt& prompt_;
    FileChooser& chooser_;
    MainWindowView& view_;
    KeyButtonsView& keys_;
    OpenDialogs& dialogs_;
    const KeyboardFacts& facts_;
    MainWindowFiles files_;
    MainWindowState state_;
    device::CommandSet* commands_ = nullptr;
    std::unique_ptr<ProfileOperations> profiles_;
    LightingHost* lighting_ = nullptr;
    // The macro list as the keyboard holds it (last read or sent).
    MacroList sentMacros_;
    // The report rate's writer when there is no lighting panel.
    std::unique_ptr<lighting::LightingSettings> ownSettings_;
};

}  // namespace qv::mainwin
