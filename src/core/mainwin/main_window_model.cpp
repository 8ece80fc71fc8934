#include "core/mainwin/main_window_model.h"

#include <algorithm>
#include <array>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_record.h"
#include "core/lighting/lighting_panel.h"
#include "core/lighting/lighting_settings.h"
#include "core/mainwin/control_ids.h"
#include "core/profile/profile_file.h"
#include "platform/keyboard_write_lock.h"

namespace qv::mainwin {

namespace id = ui::id;

MainWindowModel::MainWindowModel(ProfileStore& working, ProfileStore& applied, UserPrompt& prompt,
                                 FileChooser& chooser, MainWindowView& view, KeyButtonsView& keys,
                                 OpenDialogs& dialogs, const KeyboardFacts& facts, MainWindowFiles files)
    : working_(working), applied_(applied), prompt_(prompt), chooser_(chooser), view_(view), keys_(keys),
      dialogs_(dialogs), facts_(facts), files_(std::move(files)) {}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::SetCommands(device::CommandSet* commands) {
    commands_ = commands;
    profiles_.reset();
    ownSettings_.reset();
    if (commands == nullptr) return;
    ProfileEnvironment env;
    env.userFolder = files_.userFolder;
    env.workingFile = files_.workingFile;
    env.macroCapacity = [this] { return facts_.MacroCapacity(); };
    env.setUpUserLighting = files_.setUpUserLighting;
    profiles_ = std::make_unique<ProfileOperations>(*commands, *this, prompt_, chooser_, env, working_, applied_);
}

lighting::LightingSettings& MainWindowModel::Lighting() {
    if (lighting_ != nullptr) return lighting_->Settings();
    if (!ownSettings_) ownSettings_ = std::make_unique<lighting::LightingSettings>(*commands_);
    return *ownSettings_;
}

// --- Editing and Apply ------------------------------------------------------------------------

void MainWindowModel::SetEditing(bool editing) {
    state_.editing = editing;
    view_.ShowEditing(editing);
}

void MainWindowModel::RefreshKeyButton(int) {
    // One button's tooltip follows from the same table as all of them.
    RefreshKeyButtons();
}

void MainWindowModel::RefreshKeyButtons() {
    auto lock = working_.Lock();
    keys_.RefreshKeyButtons();
}

bool MainWindowModel::HasUnappliedChanges() const {
    return IsEditing() || (dialogs_.ProfileManagerOpen() && dialogs_.ProfileManagerHasChanges());
}

ApplyResult MainWindowModel::Apply() {
    view_.ShowBusy();
    ApplyResult result;
    if (IsEditing() && commands_ != nullptr && !state_.contentsRead) {
        // Sending now would overwrite whatever the keyboard holds with contents never read.
        result.outcome = ApplyOutcome::NotRead;
        prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_NOT_READ));
    } else if (platform::KeyboardWriteLock keyboard; IsEditing() && commands_ != nullptr && HoldKeyboard(keyboard)) {
        const DownloadContext context{*commands_, facts_.MacroCapacity(), prompt_};
        auto lock = working_.Lock();
        // Macros are numbered by position on the keyboard: when the list changed, the macro keys
        // of the other profiles point elsewhere too, so every profile's matrix goes out.
        const bool macrosChanged = !(working_.Content().macros == sentMacros_);
        result = ApplyWorkingStore(macrosChanged, working_, applied_, files_.workingFile, context);
        if (result.outcome == ApplyOutcome::Applied) {
            sentMacros_ = working_.Content().macros;
            SetEditing(false);
        }
        lock.unlock();
        // A macro set that does not fit has been explained already; anything else the keyboard
        // refused would otherwise leave the user looking at an Apply that did nothing.
        if (result.outcome == ApplyOutcome::SendFailed) prompt_.ShowError(DownloadFailureText(result.download, FailedSend::Apply));
    }
    view_.HideBusy();
    return result;
}

bool MainWindowModel::HoldKeyboard(platform::KeyboardWriteLock& lock) {
    std::string error;
    if (lock.Take(platform::KeyboardLockName(), lockWait, &error)) return true;
    prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_KEYBOARD_BUSY));
    return false;
}

bool MainWindowModel::Import() {
    if (!profiles_) return false;
    FileDialogOptions options = ProfileOperations::ProfileFileDialog(false);
    options.initialFolder = files_.userFolder;
    const auto file = chooser_.ChooseFileToOpen(options);
    if (!file) return false;
    platform::KeyboardWriteLock keyboard;
    return HoldKeyboard(keyboard) && profiles_->ImportFile(*file);
}

void MainWindowModel::Default() {
    if (!prompt_.AskYesNo(Text(TextId::MAIN_PROMPT_DEFAULT))) return;
    {
        auto lock = working_.Lock();
        ResetProfileKeys(working_, state_.activeProfile, Bank() == 1);
        keys_.RefreshKeyButtons();
    }
    SetEditing(true);
    if (lighting_ != nullptr && lighting_->ViewOn()) lighting_->RestoreDefaults();
    Apply();
}

// --- Profiles, report rate, lighting ----------------------------------------------------------

void MainWindowModel::ProfileButton(int p) {
    state_.shownProfile = p;
    ReloadLighting(lighting::LoadReason::ProfileButton);
    if (!profiles_) return;
    if (p == profiles_->ReadActiveProfile()) return;
    if (profiles_->SwitchProfile(p) == 1) {
        state_.activeProfile = p;
        view_.LightProfileButton(p);
        RefreshKeyButtons();
    }
}

void MainWindowModel::SettingsChangedElsewhere() {
    if (!profiles_) return;
    // The other program switched behind the cached value.
    commands_->ForgetActiveProfile();
    const int before = state_.activeProfile;
    state_.activeProfile = profiles_->ReadActiveProfile();
    const int active = state_.activeProfile;
    if (active < 0 || active >= kOnBoardProfiles) return;
    if (active != before) {
        view_.LightProfileButton(active);
        state_.shownProfile = active;
        profiles_->UpdateProfileCaption();
        RefreshKeyButtons();
    }
    ReloadLighting(lighting::LoadReason::Reload);
}

void MainWindowModel::ShowActiveProfile() {
    if (!profiles_) return;
    const int active = profiles_->ReadActiveProfile();
    state_.activeProfile = active;
    if (active < 0 || active >= kOnBoardProfiles) return;
    view_.LightProfileButton(active);
    if (state_.shownProfile != active) {
        state_.shownProfile = active;
        ReloadLighting(lighting::LoadReason::ProfileButton);
    }
}

void MainWindowModel::ReportRate(int k) {
    view_.LightReportButton(k);
    state_.reportRate = k;
    if (commands_ == nullptr) return;
    lighting::LightingSettings& settings = Lighting();
    settings.SetShownProfile(state_.shownProfile);
    settings.SetReportRate(k);
}

void MainWindowModel::ReloadLighting(lighting::LoadReason reason) {
    if (lighting_ != nullptr) {
        lighting_->Reload(reason, state_.shownProfile);
    } else {
        ReadReportRateOfShownProfile();
    }
}

void MainWindowModel::ReadReportRateOfShownProfile() {
    // Without a lighting panel the report-rate buttons still show the shown profile's rate.
    if (commands_ == nullptr) return;
    std::array<std::uint8_t, 56> answer{};
    if (commands_->ReadSettingsMemory(answer, static_cast<int>(device::ProfileSettingsRecord::kSize),
                                      device::SettingsAddress(state_.shownProfile)) != device::kSuccess) {
        return;
    }
    device::ProfileSettingsRecord record;
    std::copy_n(answer.begin(), record.bytes.size(), record.bytes.begin());
    state_.reportRate = record.ReportRateIndex();
    view_.LightReportButton(record.ReportRateIndex());
}

// --- Key clicks -------------------------------------------------------------------------------

KeyClick MainWindowModel::KeyClicked(int buttonId) const {
    KeyClick click;
    const bool dKey = buttonId >= id::kFirstD && buttonId < id::kFirstD + 6;
    if (buttonId != id::kMacro && lighting_ != nullptr && lighting_->ViewOn()) {
        if (FindKeyButton(buttonId) != nullptr || GKeyIndexOfButton(buttonId) || buttonId == id::kFn || dKey) {
            click.target = KeyClick::Target::PerKeyColour;
        }
        return click;
    }
    // The Macro button opens the editor of G9, in the lighting view too: it paints no key.
    const int button = buttonId == id::kMacro ? id::kG9 : buttonId;
    EditorRequest& r = click.edit;
    r.buttonId = button;
    if (const auto g = GKeyIndexOfButton(button)) {
        r.recordIndex = kGKeyRecordFirst + *g + (Bank() == 1 ? 9 : 0);
        r.macroOnly = button == id::kG9;
    } else if (const KeyButton* k = FindKeyButton(button)) {
        r.recordIndex = KeyCodeToSlot(k->code);
    } else {
        return click;  // D buttons and Fn do nothing outside the lighting view
    }
    r.activeProfile = state_.activeProfile;
    r.bankB = r.recordIndex >= kGKeyRecordFirst + 9;
    click.target = KeyClick::Target::Editor;
    return click;
}

// --- The keyboard arriving, leaving, changed elsewhere ----------------------------------------

void MainWindowModel::KeyboardArrival() {
    int active = state_.activeProfile;
    // A brief unplug must not lose edits not applied yet: the user chooses.
    const bool keepEdits = IsEditing() && prompt_.AskYesNo(Text(TextId::MAIN_PROMPT_KEEP_EDITS));
    if (profiles_) {
        state_.contentsRead = keepEdits ? profiles_->KeyboardReadable() : profiles_->LoadWorkingFromKeyboard(false);
        if (!state_.contentsRead) prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_NOT_READ));
        active = profiles_->ReadActiveProfile();
        state_.activeProfile = active;
        // A keyboard that arrives after the start still gets its profile named on the button.
        profiles_->UpdateProfileCaption();
    }
    if (active >= 0 && active < kOnBoardProfiles) {
        view_.LightProfileButton(active);
        state_.shownProfile = active;
    }
    if (!keepEdits) {
        auto lock = working_.Lock();
        sentMacros_ = working_.Content().macros;
    }
    ReloadLighting(lighting::LoadReason::Arrival);
    RefreshKeyButtons();
    SetEditing(keepEdits);
}

void MainWindowModel::KeyboardRemoval() {
    state_.activeProfile = -1;
    state_.contentsRead = false;
    const bool editorWasOpen = dialogs_.CompositeEditorOpen();
    dialogs_.CloseAll();
    if (!dialogs_.UpdateDialogOpen()) view_.Minimise();
    if (editorWasOpen) prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_EDITOR_CLOSED));
}

// The other program has sent the change and rewritten the working file with it. Without edits of
// its own the window shows the working file as it does after an arrival. Edits not yet applied
// (in the window or an open editor) are never dropped silently: the user is asked, and No keeps
// them, Apply enabled, to be sent over the other change on the next Apply.
void MainWindowModel::AssignmentsChangedElsewhere() {
    if (IsEditing() || dialogs_.CompositeEditorOpen()) {
        if (!prompt_.AskYesNo(Text(TextId::MAIN_PROMPT_CHANGED_ELSEWHERE))) return;
        dialogs_.CloseAll();
    }
    bool loaded = false;
    {
        auto lock = working_.Lock();
        ProfileStore incoming;
        if (ReadFileIntoStore(files_.workingFile, incoming)) {
            auto incomingLock = incoming.Lock();
            working_.Content() = std::move(incoming.Content());
            sentMacros_ = working_.Content().macros;
            loaded = true;
        }
    }
    if (!loaded) {
        // No working file to show: read the keyboard itself, as on arrival (the user has let
        // the edits go already).
        SetEditing(false);
        KeyboardArrival();
        return;
    }
    RefreshKeyButtons();
    SetEditing(false);
}

}  // namespace qv::mainwin
