#include "core/profile/firmware_update.h"

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/device/result_codes.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_operations.h"

namespace qv {

std::string& SelectedUpdaterPath() {
    static std::string path;
    return path;
}

FirmwareUpdate::FirmwareUpdate(device::CommandSet& commands, UpdaterLauncher& launcher, UserPrompt& prompt,
                               FileChooser& chooser, std::filesystem::path packageFolder,
                               std::string executablesFilter)
    : commands_(commands),
      launcher_(launcher),
      prompt_(prompt),
      chooser_(chooser),
      packageFolder_(std::move(packageFolder)),
      executablesFilter_(std::move(executablesFilter)) {}

FileDialogOptions FirmwareUpdate::UpdaterDialog() const {
    FileDialogOptions o;
    o.defaultExtension = "exe";
    o.initialName = "*.exe";
    o.filter = "MyType Files (*.exe)|*.exe||";
    o.initialFolder = packageFolder_;
    o.overwritePrompt = true;
    o.executablesFilter = executablesFilter_;
    return o;
}

const std::string& FirmwareUpdate::Choose() {
    const auto file = chooser_.ChooseFileToOpen(UpdaterDialog());
    SelectedUpdaterPath() = file ? file->string() : std::string();
    return SelectedUpdaterPath();
}

UpdateOutcome FirmwareUpdate::Update() {
    const std::filesystem::path updater = SelectedUpdaterPath();
    // Checked before the mode switch: a keyboard sent into its loader for an updater that can
    // never start stays there.
    if (updater.empty() || !launcher_.CanStart(updater)) {
        prompt_.ShowError(Text(TextId::MAIN_UPDATE_ERROR_TEXT));
        return UpdateOutcome::NoUpdater;
    }
    if (commands_.EnterUpdateMode() != device::kSuccess) {
        prompt_.ShowError(Text(TextId::MAIN_BOOT_ERROR_TEXT));
        return UpdateOutcome::LoaderFailed;
    }
    // The updater runs in the package folder, where it and its firmware files are kept.
    const bool started = launcher_.Start(updater, packageFolder_);
    SelectedUpdaterPath().clear();
    if (started) return UpdateOutcome::Started;
    prompt_.ShowError(Text(TextId::MAIN_SHELL_ERROR_TEXT));
    return UpdateOutcome::StartFailed;
}

bool FirmwareUpdate::Backup(ProfileStore& working) {
    const auto file = chooser_.ChooseFileToSave(ProfileOperations::ProfileFileDialog(true));
    if (!file) return false;
    bool written = false;
    {
        auto lock = working.Lock();
        written = WriteStoreToFile(working, *file);
    }
    if (written) {
        prompt_.ShowMessage(Text(TextId::MAIN_UPDATE_BACKUP_OK));
    } else {
        prompt_.ShowError(Text(TextId::MAIN_UPDATE_BACKUP_NG));
    }
    return written;
}

}  // namespace qv
