#pragma once
// What the profile operations ask of the windows: the state of the editors and Apply buttons,
// the key-button redraw, the profile button's caption and the file dialogs. The UI implements
// these; tests fake them.

#include <filesystem>
#include <optional>
#include <string>

namespace qv {

class ProfileHost {
public:
    virtual ~ProfileHost() = default;

    virtual bool CompositeEditorOpen() const = 0;
    virtual bool ProfileManagerOpen() const = 0;
    // The main window's or the profile manager's Apply button is enabled.
    virtual bool HasUnappliedChanges() const = 0;
    // Runs the command of the main window's Apply button (1006).
    virtual void RunMainApply() = 0;
    virtual void SetMainApplyEnabled(bool enabled) = 0;
    // Ticks the row of the profile manager's list and disables the dialog's Apply.
    virtual void TickProfileManagerRow(int row) = 0;
    // Assigned flags and tooltips of the key buttons from the working store (caller holds its lock).
    virtual void RefreshKeyButtons() = 0;
    virtual void SetProfileCaption(const std::string& caption, const std::string& tooltip) = 0;
};

struct FileDialogOptions {
    std::string defaultExtension;  // "qvn"
    std::string initialName;       // "*.qvn"
    std::string filter;            // "(*.qvn)|*.qvn|(*.*)|*.*||"
    std::filesystem::path initialFolder;
    bool overwritePrompt = false;  // save dialogs
    // When set, the name of a further filter that shows every file this user may run: updaters
    // here need not end in ".exe".
    std::string executablesFilter;
};

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // Nothing when the user cancels.
    virtual std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& options) = 0;
    virtual std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& options) = 0;
};

}  // namespace qv
