// quorvanectl export / validate / import / show: profile files from a shell.
#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/cli.h"
#include "cli/cmd_profile_files.h"
#include "core/app/ini_file.h"
#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/profile/profile_file.h"
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

}  // namespace

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
