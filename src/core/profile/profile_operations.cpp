#include "core/profile/profile_operations.h"

#include <cstdio>
#include <system_error>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_download.h"
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
        prompt_.ShowMessage(Text(TextId::PROFILE_SEELCT_PROMPT2));
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
            if (ReadActiveProfile() != -1) ReloadWorkingFile();
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

void ProfileOperations::LoadWorkingFromKeyboard(bool keepApply) {
    EnsureUserFolder();
    const bool rebuilt =
        ReadActiveProfile() != -1 && RebuildFromKeyboard(env_.workingFile, commands_);
    {
        auto lock = working_.Lock();
        if (rebuilt) {
            ReloadWorkingFile();
        } else {
            CreateDefaultFile(working_);
        }
        host_.RefreshKeyButtons();
    }
    if (!keepApply) host_.SetMainApplyEnabled(false);
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
    const auto file = chooser_.ChooseFileToOpen(ProfileFileDialog(false));
    return file ? ImportFile(*file) : false;
}

bool ProfileOperations::ImportFile(const std::filesystem::path& file) {
    if (!ValidateFile(file, prompt_)) {
        prompt_.ShowMessage(Text(TextId::MAIN_PROMPT_INPORT));
        return false;
    }
    bool sent = false;
    {
        auto lock = working_.Lock();
        // The file is read into a store of its own first, so a file that passes the header check
        // but cannot be read leaves the working store as it was.
        ProfileStore incoming;
        if (!ReadFileIntoStore(file, incoming)) {
            prompt_.ShowMessage(Text(TextId::MAIN_PROMPT_INPORT));
            return false;
        }
        {
            auto incomingLock = incoming.Lock();
            working_.Content() = std::move(incoming.Content());
        }
        WriteStoreToWorkingFile(working_, env_.workingFile);
        const std::size_t capacity = env_.macroCapacity ? env_.macroCapacity() : 0;
        sent = CommitWorkingToApplied(true, working_, applied_, {commands_, capacity, prompt_});
        host_.RefreshKeyButtons();
    }
    // A download that did not go through leaves Apply enabled, so the imported content (already
    // in the working store and file) can still be sent.
    host_.SetMainApplyEnabled(!sent);
    return sent;
}

bool ProfileOperations::Export() {
    const auto file = chooser_.ChooseFileToSave(ProfileFileDialog(true));
    return file ? ExportFile(*file) : false;
}

bool ProfileOperations::ExportFile(const std::filesystem::path& file) {
    auto lock = working_.Lock();
    return WriteStoreToFile(working_, file);
}

ProfileCaption ProfileOperations::UpdateProfileCaption() {
    ProfileCaption c;
    c.caption = ReadActiveProfile() == -1 ? Text(TextId::DEFAULT_PROFILE_NAME)
                                          : env_.workingFile.stem().string();
    c.tooltip = Text(TextId::PROFILE_TIP) + c.caption;
    host_.SetProfileCaption(c.caption, c.tooltip);
    return c;
}

std::vector<ProfileListRow> ProfileOperations::InitialProfileRows() {
    std::vector<ProfileListRow> rows;
    const int active = ReadActiveProfile();
    std::string folder = env_.workingFile.parent_path().string();
    folder += std::filesystem::path::preferred_separator;
    for (int i = 0; i < kOnBoardProfiles; ++i) {
        rows.push_back({env_.workingFile.stem().string(), folder, i == active});
    }
    return rows;
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
