#include "core/profile/profile_operations.h"

#include <cstdio>
#include <system_error>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/macro/macro_image.h"
#include "core/profile/key_download.h"
#include "core/profile/keyboard_contents.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_rebuild.h"

namespace qv {

ProfileOperations::ProfileOperations(device::CommandSet& commands, ProfileHost& host,
                                     UserPrompt& prompt, FileChooser& chooser,
                                     ProfileEnvironment environment, ProfileStore& working,
                                     ProfileStore& applied)
    : commands_(commands),
      host_(host),
      prompt_(prompt),
      chooser_(chooser),
      env_(std::move(environment)),
      working_(working),
      applied_(applied) {}

int ProfileOperations::ReadActiveProfile() { return commands_.GetActiveProfile(); }

bool ProfileOperations::SetActiveProfile(int p) {
    if (p < 0) return true;
    // A block that cannot be read means nothing is written; only a refused write is a failure.
    device::GlobalBlock block;
    if (commands_.ReadGlobalBlock(block) != device::kSuccess) return true;
    return commands_.SetActiveProfile(block, p) == device::kSuccess;
}

void ProfileOperations::ReloadWorkingFile() {
    auto lock = working_.Lock();
    if (!ReadFileIntoStore(env_.workingFile, working_)) CreateDefaultFile(working_);
}

int ProfileOperations::SwitchProfile(int p) {
    const int q = p >= kOnBoardProfiles ? 0 : p;
    if (host_.CompositeEditorOpen()) {
        prompt_.ShowWarning(Text(TextId::PROFILE_SEELCT_PROMPT2));
        return 0;
    }
    if (host_.HasUnappliedChanges() && !questionOpen_) {
        questionOpen_ = true;
        const bool save = prompt_.AskYesNo(Text(TextId::PROFILE_SELECT_PROMPT));
        questionOpen_ = false;
        if (save) {
            host_.RunMainApply();
        } else {
            host_.SetMainApplyEnabled(false);
            if (ReadActiveProfile() != -1) {
                // After a download that did not finish, the working file holds what was meant
                // for the keyboard rather than what it has: letting the edits go shows the latter
                // (or the file, when the keyboard cannot be read).
                if (OwedProfiles(applied_).empty()) {
                    ReloadWorkingFile();
                } else {
                    LoadWorkingFromKeyboard(true);
                }
            }
        }
        if (!SetActiveProfile(q)) return 0;
    } else {
        if (!SetActiveProfile(q)) return 0;
        if (host_.ProfileManagerOpen()) host_.TickProfileManagerRow(q);
    }
    {
        auto lock = working_.Lock();
        host_.RefreshKeyButtons();
    }
    UpdateProfileCaption();
    return 1;
}

bool ProfileOperations::LoadWorkingFromKeyboard(bool keepApply) {
    EnsureUserFolder();
    // A read can fail once (a reply lost on a busy bus); a few tries before the user hears of it.
    std::optional<KeyboardContents> read;
    for (int attempt = 0; attempt < kKeyboardReadAttempts && !read; ++attempt) {
        read = ReadKeyboardContents(commands_, env_.workingFile, nullptr);
    }
    {
        auto lock = working_.Lock();
        if (read) {
            // The G keys, program and text keys live only in the working file; the read kept them.
            working_.Content() = std::move(read->content);
            WriteStoreToFile(working_, env_.workingFile);
        } else if (!ReadFileIntoStore(env_.workingFile, working_)) {
            // Never read: the store shows the last contents the file knew, or none.
            CreateDefaultFile(working_);
        }
        host_.RefreshKeyButtons();
    }
    if (!keepApply) host_.SetMainApplyEnabled(false);
    return read.has_value();
}

bool ProfileOperations::KeyboardReadable() {
    for (int attempt = 0; attempt < kKeyboardReadAttempts; ++attempt) {
        if (ReadKeyboardContents(commands_, env_.workingFile, nullptr)) return true;
    }
    return false;
}

bool ProfileOperations::EnsureUserFolder() {
    std::error_code ec;
    if (!std::filesystem::is_directory(env_.userFolder, ec)) {
        std::filesystem::create_directories(env_.userFolder, ec);
    }
    if (env_.setUpUserLighting) env_.setUpUserLighting();
    return std::filesystem::is_directory(env_.userFolder, ec);
}

FileDialogOptions ProfileOperations::ProfileFileDialog(bool save) {
    FileDialogOptions o;
    o.defaultExtension = std::string(kProfileFileExtension);
    o.initialName = "*." + std::string(kProfileFileExtension);
    o.filter = std::string(kProfileFileFilter);
    o.overwritePrompt = save;
    return o;
}

bool ProfileOperations::Import() {
    FileDialogOptions o = ProfileFileDialog(false);
    o.initialFolder = env_.userFolder;
    const auto file = chooser_.ChooseFileToOpen(o);
    return file ? ImportFile(*file) : false;
}

bool ProfileOperations::ImportFile(const std::filesystem::path& file) {
    // A file that cannot be opened says nothing about its format.
    if (!FileCanBeRead(file)) {
        prompt_.ShowError(FormatText(Text(TextId::MAIN_PROMPT_IMPORT_UNREADABLE), file.string()));
        return false;
    }
    if (!ValidateFile(file, prompt_)) {
        prompt_.ShowError(Text(TextId::MAIN_PROMPT_INPORT));
        return false;
    }
    // The file is read into a store of its own first, so a file that passes the header check
    // but cannot be read leaves the working store as it was.
    ProfileStore incoming;
    if (!ReadFileIntoStore(file, incoming)) {
        prompt_.ShowError(Text(TextId::MAIN_PROMPT_INPORT));
        return false;
    }
    const DownloadContext context{commands_, env_.macroCapacity ? env_.macroCapacity() : 0, prompt_};
    // Macros the keyboard can never take are refused before anything is changed: an import kept
    // for an Apply that can only refuse it again would leave the window and the working file
    // showing contents the keyboard never had.
    bool fits = false;
    {
        auto incomingLock = incoming.Lock();
        fits = MacroImageSizes(incoming.Content().macros).withoutNames <= context.macroCapacity;
    }
    if (!fits) {
        prompt_.ShowWarning(Text(TextId::EXTRA_MACRO_TOO_LONG));
        prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_IMPORT_NOT_DONE));
        return false;
    }
    ApplyResult result;
    {
        auto lock = working_.Lock();
        auto incomingLock = incoming.Lock();
        ProfileContent before = std::move(working_.Content());
        working_.Content() = std::move(incoming.Content());
        // The window's Apply: the working file gets the import first, then the keyboard. When the
        // keyboard does not take all of it, the window, the working file and Apply are left as
        // after any Apply that failed, and Apply (which sends what is still owed) finishes it.
        result = ApplyWorkingStore(true, working_, applied_, env_.workingFile, context);
        if (result.outcome == ApplyOutcome::NoRoom) working_.Content() = std::move(before);
        host_.RefreshKeyButtons();
    }
    switch (result.outcome) {
        case ApplyOutcome::Applied:
            host_.SetMainApplyEnabled(false);
            return true;
        case ApplyOutcome::SaveFailed:
            // The keyboard holds the import and the window shows it; only the file is behind.
            prompt_.ShowError(FormatText(Text(TextId::PROFILE_WRITE_FAILED), env_.workingFile.string()));
            host_.SetMainApplyEnabled(false);
            return true;
        case ApplyOutcome::SendFailed:
            prompt_.ShowError(DownloadFailureText(result.download, FailedSend::Import));
            host_.SetMainApplyEnabled(true);
            return false;
        case ApplyOutcome::NoRoom:
        case ApplyOutcome::NotRead:
            prompt_.ShowWarning(Text(TextId::MAIN_PROMPT_IMPORT_NOT_DONE));
            return false;
    }
    return false;
}

bool ProfileOperations::Export() {
    FileDialogOptions o = ProfileFileDialog(true);
    o.initialFolder = env_.userFolder;
    const auto file = chooser_.ChooseFileToSave(o);
    return file ? ExportFile(*file) : false;
}

bool ProfileOperations::ExportFile(const std::filesystem::path& file) {
    bool written = false;
    {
        auto lock = working_.Lock();
        written = WriteStoreToFile(working_, file);
    }
    // A read-only folder or a full disk must not pass for a saved export.
    if (!written) prompt_.ShowError(FormatText(Text(TextId::PROFILE_WRITE_FAILED), file.string()));
    return written;
}

ProfileCaption ProfileOperations::UpdateProfileCaption() {
    ProfileCaption c;
    c.caption = ReadActiveProfile() == -1 ? Text(TextId::DEFAULT_PROFILE_NAME)
                                          : env_.workingFile.stem().string();
    c.tooltip = Text(TextId::PROFILE_TIP) + c.caption;
    host_.SetProfileCaption(c.caption, c.tooltip);
    return c;
}

ProfileListRow ProfileOperations::RowOf(const std::filesystem::path& file) {
    std::string folder = file.parent_path().string();
    folder += std::filesystem::path::preferred_separator;
    return {file.stem().string(), folder, false};
}

std::vector<ProfileListRow> ProfileOperations::InitialProfileRows() {
    std::vector<ProfileListRow> rows;
    const int active = ReadActiveProfile();
    for (int i = 0; i < kOnBoardProfiles; ++i) {
        ProfileListRow row = RowOf(env_.workingFile);
        row.ticked = i == active;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::optional<ProfileListRow> ProfileOperations::NewProfileFile() {
    EnsureUserFolder();
    FileDialogOptions o = ProfileFileDialog(true);
    o.initialFolder = env_.userFolder;
    // The text starts with a separator: it is meant to be appended to the folder.
    o.initialName = JoinRelative(env_.userFolder, Text(TextId::PROFILE_NEW)).filename().string();
    const auto file = chooser_.ChooseFileToSave(o);
    if (!file) return std::nullopt;
    if (!CreateDefaultFile(*file)) {
        prompt_.ShowError(FormatText(Text(TextId::PROFILE_WRITE_FAILED), file->string()));
        return std::nullopt;
    }
    return RowOf(*file);
}

std::optional<ProfileListRow> ProfileOperations::LoadProfileFile() {
    EnsureUserFolder();
    FileDialogOptions o = ProfileFileDialog(false);
    o.initialFolder = env_.userFolder;
    const auto file = chooser_.ChooseFileToOpen(o);
    if (!file) return std::nullopt;
    return RowOf(*file);
}

void ProfileOperations::ApplyProfileRows(const std::vector<ProfileListRow>& rows,
                                         const SettingsStore& settings) {
    auto name = [](std::size_t n) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s%02zu", "PROFILE", n);
        return std::string(buf);
    };
    int firstTicked = -1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        settings.WriteValue(name(r + 1), rows[r].folder + rows[r].title + ".qvn");
        if (rows[r].ticked && firstTicked < 0) firstTicked = static_cast<int>(r);
    }
    settings.WriteValue(name(0), std::to_string(rows.size()));
    SetActiveProfile(firstTicked);
    LoadWorkingFromKeyboard(false);
    UpdateProfileCaption();
    host_.SetMainApplyEnabled(false);
}

}  // namespace qv
