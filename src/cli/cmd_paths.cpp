// quorvanectl paths: where the program finds its skin and keeps the user's files.
#include <cstdio>
#include <filesystem>

#include "cli/cli.h"
#include "cli/cli_context.h"
#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"

namespace qv::cli {
namespace {

void PrintPath(const char* label, const std::filesystem::path& p) {
    std::error_code ec;
    const bool found = std::filesystem::exists(p, ec);
    std::printf("%-22s %s (%s)\n", label, p.c_str(), found ? "found" : "missing");
}

}  // namespace

int RunPaths(std::span<char* const> args) {
    if (!args.empty()) return Fail(2, "paths takes no arguments");
    const ProgramPaths& p = Paths();
    const UserPaths& u = UserFiles();
    PrintPath("program folder", p.programFolder);
    PrintPath("main skin", p.mainSkin);
    PrintPath("text table", p.textTable);
    std::printf("%-22s %s\n", "language", LanguageSection(p.textTable).c_str());
    PrintPath("user folder", u.userFolder);
    PrintPath("settings file", u.settingsFile);
    PrintPath("working profile file", u.workingProfileFile);
    PrintPath("settings store", SettingsStore(SettingsStore::DefaultFile()).File());
    return 0;
}

}  // namespace qv::cli
