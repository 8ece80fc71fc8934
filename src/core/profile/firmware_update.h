#pragma once
// The firmware update dialog's rules without its window: choosing the updater, sending the
// keyboard into its firmware loader and starting the updater, and the backup of the settings
// into a profile file first.

#include <filesystem>
#include <string>

#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"
#include "core/profile/profile_host.h"

namespace qv::device {
class CommandSet;
}

namespace qv {

// Starting the updater is the platform's business; tests fake it.
class UpdaterLauncher {
public:
    virtual ~UpdaterLauncher() = default;
    // The file exists and this user may run it.
    virtual bool CanStart(const std::filesystem::path& file) const = 0;
    // False when the program could not be started.
    virtual bool Start(const std::filesystem::path& file, const std::filesystem::path& workingFolder) = 0;
};

// The chosen updater: one per process, kept across openings of the dialog.
std::string& SelectedUpdaterPath();

enum class UpdateOutcome {
    Started,      // the dialog closes
    NoUpdater,    // MAIN_UPDATE_ERROR_TEXT: no file, or one that cannot be run
    LoaderFailed, // MAIN_BOOT_ERROR_TEXT: the mode switch was not written
    StartFailed,  // MAIN_SHELL_ERROR_TEXT: the keyboard is in its loader, the updater did not start
};

class FirmwareUpdate {
public:
    FirmwareUpdate(device::CommandSet& commands, UpdaterLauncher& launcher, UserPrompt& prompt,
                   FileChooser& chooser, std::filesystem::path packageFolder,
                   std::string executablesFilter = "All executable files");

    FileDialogOptions UpdaterDialog() const;
    // The chosen file becomes the selected path, or empty when the dialog was cancelled.
    const std::string& Choose();
    UpdateOutcome Update();
    // The working store as held in memory into a chosen profile file; true when written.
    bool Backup(ProfileStore& working = WorkingStore());
    void Cancel() { SelectedUpdaterPath().clear(); }

private:
    device::CommandSet& commands_;
    UpdaterLauncher& launcher_;
    UserPrompt& prompt_;
    FileChooser& chooser_;
    std::filesystem::path packageFolder_;
    std::string executablesFilter_;
};

}  // namespace qv
