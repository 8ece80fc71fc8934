#pragma once
// Everything around the three on-board profiles except the profile manager's window: the active
// profile, the switch routine all profile choices go through, loading the keyboard's contents
// into the working store, import and export of profile files, and the profile button's caption.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"
#include "core/profile/profile_host.h"

namespace qv::device {
class CommandSet;
}

namespace qv {

struct ProfileEnvironment {
    std::filesystem::path userFolder;   // documents + "Quorvane"
    std::filesystem::path workingFile;  // "$Profile0": the same for every profile
    // The keyboard's macro capacity in bytes, as last read from its global block.
    std::function<std::size_t()> macroCapacity;
    // The first-run setup of the user lighting files, run by EnsureUserFolder.
    std::function<void()> setUpUserLighting;
};

// One row of the profile manager's list: the file's title (column 1) and its folder with the
// trailing separator (column 2), and whether its check box is ticked.
struct ProfileListRow {
    std::string title;
    std::string folder;
    bool ticked = false;
};

struct ProfileCaption {
    std::string caption;
    std::string tooltip;
};

class ProfileOperations {
public:
    ProfileOperations(device::CommandSet& commands, ProfileHost& host, UserPrompt& prompt,
                      FileChooser& chooser, ProfileEnvironment environment,
                      ProfileStore& working = WorkingStore(), ProfileStore& applied = AppliedStore());

    // 0..2, or -1 when the keyboard's global block cannot be read.
    int ReadActiveProfile();
    // Read-modify-write of the global block. False only when the write itself failed.
    bool SetActiveProfile(int p);
    // 1 when done, 0 when refused (the composite editor is open, or the keyboard refused the
    // new active profile).
    int SwitchProfile(int p);
    // Reads the keyboard's assignments and macros (a few attempts) into the working store and
    // file, keeping what only the working file holds (G keys, program and text keys). False when
    // the keyboard could not be read: the store then shows the working file as it was.
    bool LoadWorkingFromKeyboard(bool keepApply);
    // The same read without touching the store or the file.
    bool KeyboardReadable();
    static constexpr int kKeyboardReadAttempts = 3;
    bool EnsureUserFolder();

    // The popup menu's Import and Export: a file dialog, then the file operation.
    bool Import();
    // All three profiles through the window's Apply; true when the keyboard took them. A file
    // that cannot be read or has the wrong format, and macros the keyboard can never hold, change
    // nothing. A keyboard that does not take all of it leaves the import shown and in the working
    // file with Apply enabled (which sends what is still owed), and the user is told how far it got.
    bool ImportFile(const std::filesystem::path& file);
    bool Export();
    // False, told with the file's name, when the file cannot be written.
    bool ExportFile(const std::filesystem::path& file);

    ProfileCaption UpdateProfileCaption();

    // The profile manager's rows when it opens: the working file once per on-board profile, the
    // active profile's row ticked.
    std::vector<ProfileListRow> InitialProfileRows();
    // The profile manager's Apply without its window: the rows go to the settings store
    // ("PROFILE00" = row count, "PROFILE01".. = folder + title + ".qvn"), the first ticked row
    // becomes the active profile (-1 when none), the keyboard is loaded again and the caption
    // refreshed; the main window's Apply is disabled.
    void ApplyProfileRows(const std::vector<ProfileListRow>& rows, const SettingsStore& settings);
    // The profile manager's New: a save dialog in the per-user folder, then a default file; the
    // row of the created file, nothing when cancelled or when the file cannot be written (told).
    std::optional<ProfileListRow> NewProfileFile();
    // The profile manager's Load: an open dialog in the per-user folder; the chosen file's row.
    std::optional<ProfileListRow> LoadProfileFile();
    static ProfileListRow RowOf(const std::filesystem::path& file);

    static FileDialogOptions ProfileFileDialog(bool save);

private:
    // Reads the working file into the working store; a default block when it cannot be read.
    void ReloadWorkingFile();

    device::CommandSet& commands_;
    ProfileHost& host_;
    UserPrompt& prompt_;
    FileChooser& chooser_;
    ProfileEnvironment env_;
    ProfileStore& working_;
    ProfileStore& applied_;
    bool questionOpen_ = false;
};

}  // namespace qv
