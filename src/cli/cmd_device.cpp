// quorvanectl info / profile / paths: the keyboard's basic facts, its active on-board profile and
// where the program keeps its files.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <string>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/keyboard_change.h"
#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"

namespace qv::cli {
namespace {

int RunInfo() {
    std::string error;
    auto session = Env().openKeyboard(&error);
    if (!session) return Fail(kExitFailed, error);
    device::GlobalBlock block;
    if (const int r = session->Commands().ReadGlobalBlock(block); r != device::kSuccess) {
        return Fail(kExitFailed, "cannot read the keyboard's global block: " + DescribeResult(r));
    }
    Print(Out(), "keyboards: %d\n", session->KeyboardCount());
    Print(Out(), "active profile: %d\n", block.ActiveProfile() + 1);
    Print(Out(), "macro capacity: %zu bytes\n", block.MacroCapacityBytes());
    std::string effects;
    for (const int code : block.EffectCodes()) {
        if (!effects.empty()) effects += ' ';
        effects += std::to_string(code);
    }
    Print(Out(), "effects: %s\n", effects.c_str());
    return kExitOk;
}

int RunProfile(int wanted) {
    std::unique_ptr<platform::KeyboardWriteLock> lock;
    if (wanted > 0 && !HoldKeyboardForChange(lock)) return kExitFailed;
    std::string error;
    auto session = Env().openKeyboard(&error);
    if (!session) return Fail(kExitFailed, error);
    device::CommandSet& commands = session->Commands();
    if (wanted > 0) {
        if (const int r = commands.SetActiveProfile(wanted - 1); r != device::kSuccess) {
            return Fail(kExitFailed, "cannot set the active profile: " + DescribeResult(r));
        }
        session.reset();
        lock.reset();
        NotifyWindowOfSettings();
        return kExitOk;
    }
    const int active = commands.GetActiveProfile();
    if (active < 0) return Fail(kExitFailed, "cannot read the active profile");
    Print(Out(), "%d\n", active + 1);
    return kExitOk;
}

void PrintPath(const char* label, const std::filesystem::path& p) {
    std::error_code ec;
    const bool found = std::filesystem::exists(p, ec);
    Print(Out(), "%-22s %s (%s)\n", label, p.c_str(), found ? "found" : "missing");
}

int RunPaths() {
    const ProgramPaths& p = Paths();
    const UserPaths& u = UserFiles();
    PrintPath("program folder", p.programFolder);
    PrintPath("main skin", p.mainSkin);
    PrintPath("text table", p.textTable);
    Print(Out(), "%-22s %s\n", "language", LanguageSection(p.textTable).c_str());
    PrintPath("user folder", u.userFolder);
    PrintPath("settings file", u.settingsFile);
    PrintPath("working profile file", u.workingProfileFile);
    PrintPath("settings store", SettingsStore(SettingsStore::DefaultFile()).File());
    return kExitOk;
}

}  // namespace

void AddDeviceCommands(CLI::App& app, int& exitCode) {
    app.add_subcommand("info", "Keyboard count, active profile, macro capacity, effects")
        ->callback([&exitCode] { exitCode = RunInfo(); });

    auto* profile = app.add_subcommand("profile", "Print the active on-board profile, or make N active");
    auto wanted = std::make_shared<int>(0);
    profile->add_option("N", *wanted, "the profile to make active")
        ->type_name("1-3")
        ->check(CLI::Validator(CheckProfileNumber, "", "profile"));
    profile->callback([&exitCode, wanted] { exitCode = RunProfile(*wanted); });

    app.add_subcommand("paths", "Where the skin and the user's files are")
        ->callback([&exitCode] { exitCode = RunPaths(); });
}

}  // namespace qv::cli
