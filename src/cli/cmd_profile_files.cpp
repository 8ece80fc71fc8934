// quorvanectl export / validate / import / show: profile files from a shell.
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/cmd_profile_files.h"
#include "cli/device_session.h"
#include "core/app/ini_file.h"
#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_operations.h"
#include "core/profile/profile_rebuild.h"
#include "core/profile/profile_report.h"
#include "platform/user_folders.h"

namespace qv::cli {
namespace {

// Messages of the core go to standard error; questions are answered No.
class StderrPrompt : public UserPrompt {
public:
    void ShowMessage(std::string_view text) override { Fail(0, text); }
    bool AskYesNo(std::string_view) override { return false; }
};

// The profile operations without windows: nothing is open, nothing waits for Apply.
class NoWindows : public ProfileHost, public FileChooser {
public:
    bool CompositeEditorOpen() const override { return false; }
    bool ProfileManagerOpen() const override { return false; }
    bool HasUnappliedChanges() const override { return false; }
    void RunMainApply() override {}
    void SetMainApplyEnabled(bool) override {}
    void TickProfileManagerRow(int) override {}
    void RefreshKeyButtons() override {}
    void SetProfileCaption(const std::string&, const std::string&) override {}
    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions&) override { return {}; }
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions&) override { return {}; }
};

// The keyboard with its factory layout read, as the program does when the keyboard arrives.
std::unique_ptr<DeviceSession> OpenKeyboardWithLayout(int* exitCode) {
    std::string error;
    auto session = OpenKeyboard(&error);
    if (!session) {
        *exitCode = Fail(1, error);
        return nullptr;
    }
    KeyMatrix factory{};
    if (session->Commands().ReadDefaultKeyMatrix(factory) == device::kSuccess) SetDefaultKeyMatrix(factory);
    return session;
}

}  // namespace

int RunExport(std::span<char* const> args) {
    if (args.size() != 1) return Fail(2, "usage: export FILE");
    int code = 0;
    auto session = OpenKeyboardWithLayout(&code);
    if (!session) return code;
    if (!RebuildFromKeyboard(args[0], session->Commands())) {
        return Fail(1, std::string("cannot read the keyboard into ") + args[0]);
    }
    return 0;
}

int RunImport(std::span<char* const> args) {
    if (args.size() != 1) return Fail(2, "usage: import FILE");
    LoadProgramTexts();
    const std::filesystem::path file = args[0];
    StderrPrompt prompt;
    if (!ValidateFile(file, prompt)) return Fail(1, Text(TextId::MAIN_PROMPT_INPORT) + file.string());
    int code = 0;
    auto session = OpenKeyboardWithLayout(&code);
    if (!session) return code;
    device::GlobalBlock global;
    if (session->Commands().ReadGlobalBlock(global) != device::kSuccess) {
        return Fail(1, "cannot read the keyboard's global block");
    }
    NoWindows windows;
    ProfileEnvironment env;  // no working file: the program's own is rebuilt when it sees the keyboard
    env.macroCapacity = [&global] { return global.MacroCapacityBytes(); };
    ProfileOperations ops(session->Commands(), windows, prompt, windows, env);
    if (!ops.ImportFile(file)) return Fail(1, "the keyboard did not take all of " + file.string());
    return 0;
}

void LoadProgramTexts() {
    const ProgramPaths paths = BuildProgramPaths(platform::ExecutablePath());
    const auto& file = paths.textTable;
    // A language file without the profile texts would blank them; keep the built-in ones then.
    const auto doc = ini::IniDocument::Load(file);
    if (doc.Find(LanguageSection(file), "PROFILE_FORMAT_ERROR")) LoadTextTable(file);
}

int RunValidate(std::span<char* const> args) {
    if (args.size() != 1) return Fail(2, "usage: validate FILE");
    LoadProgramTexts();
    const std::filesystem::path file = args[0];
    StderrPrompt prompt;
    if (ValidateFile(file, prompt)) return 0;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) return Fail(1, "cannot read " + file.string());
    if (std::filesystem::file_size(file, ec) < kProfileBlockSize) {
        return Fail(1, file.string() + " is too short to be a profile file");
    }
    return 1;
}

int RunShow(std::span<char* const> args) {
    bool json = false;
    std::filesystem::path file;
    for (char* a : args) {
        const std::string_view arg = a;
        if (arg == "--json") {
            json = true;
        } else if (file.empty()) {
            file = a;
        } else {
            return Fail(2, "usage: show FILE [--json]");
        }
    }
    if (file.empty()) return Fail(2, "usage: show FILE [--json]");
    LoadProgramTexts();
    ProfileStore store;
    if (!ReadFileIntoStore(file, store)) return Fail(1, "cannot read a profile from " + file.string());
    auto lock = store.Lock();
    const std::string text =
        json ? ProfileReportJson(store.Content()) : ProfileReportText(store.Content());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

}  // namespace qv::cli
