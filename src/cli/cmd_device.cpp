// quorvanectl info / profile / paths: the keyboard's basic facts, its active on-board profile and
// where the program keeps its files.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/keyboard_change.h"
#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "core/lighting/effect_table.h"

namespace qv::cli {
namespace {

using Json = nlohmann::ordered_json;

int RunInfo(bool json) {
    std::string error;
    auto session = OpenKeyboardSession(&error);
    if (!session) return Fail(kExitFailed, error);
    device::GlobalBlock block;
    if (const int r = session->Commands().ReadGlobalBlock(block); r != device::kSuccess) {
        return Fail(kExitFailed, "cannot read the keyboard's global block: " + DescribeResult(r));
    }
    const auto table = lighting::EffectTable::FromGlobalBlock(block);
    const auto names = lighting::EffectNames(table, Paths().mainSkin, lighting::ReadLanguageValue(Paths().textTable));
    if (json) {
        Json j;
        j["keyboards"] = session->KeyboardCount();
        j["active_profile"] = block.ActiveProfile() + 1;
        j["macro_capacity_bytes"] = block.MacroCapacityBytes();
        j["effects"] = Json::array();
        for (std::size_t i = 0; i < table.Size(); ++i) {
            j["effects"].push_back({{"code", table.Entries()[i].code}, {"name", names[i]}});
        }
        Out() << j.dump(2) << '\n';
        return kExitOk;
    }
    Print(Out(), "keyboards: %d\n", session->KeyboardCount());
    Print(Out(), "active profile: %d\n", block.ActiveProfile() + 1);
    Print(Out(), "macro capacity: %zu bytes\n", block.MacroCapacityBytes());
    std::string codes;
    for (const lighting::EffectEntry& e : table.Entries()) codes += (codes.empty() ? "" : " ") + std::to_string(e.code);
    Print(Out(), "effects: %s\n", codes.c_str());
    return kExitOk;
}

int RunProfile(int wanted, bool json) {
    std::unique_ptr<platform::KeyboardWriteLock> lock;
    if (wanted > 0 && !HoldKeyboardForChange(lock)) return kExitFailed;
    std::string error;
    auto session = OpenKeyboardSession(&error);
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
    if (json) {
        Out() << Json{{"active_profile", active + 1}}.dump(2) << '\n';
        return kExitOk;
    }
    Print(Out(), "%d\n", active + 1);
    return kExitOk;
}

struct PathLine {
    const char* label;
    const char* key;
    std::filesystem::path path;
};

int RunPaths(bool json) {
    const ProgramPaths& p = Paths();
    const UserPaths& u = UserFiles();
    const PathLine lines[] = {
        {"program folder", "program_folder", p.programFolder},
        {"main skin", "main_skin", p.mainSkin},
        {"text table", "text_table", p.textTable},
        {"user folder", "user_folder", u.userFolder},
        {"settings file", "settings_file", u.settingsFile},
        {"working profile file", "working_profile_file", u.workingProfileFile},
        {"settings store", "settings_store", SettingsStore(SettingsStore::DefaultFile()).File()},
    };
    const std::string language = LanguageSection(p.textTable);
    Json j;
    for (const PathLine& line : lines) {
        std::error_code ec;
        const bool found = std::filesystem::exists(line.path, ec);
        if (json) {
            j[line.key] = {{"path", line.path.string()}, {"found", found}};
        } else {
            Print(Out(), "%-22s %s (%s)\n", line.label, line.path.c_str(), found ? "found" : "missing");
        }
        if (line.key == std::string_view("text_table")) {
            if (json) {
                j["language"] = language;
            } else {
                Print(Out(), "%-22s %s\n", "language", language.c_str());
            }
        }
    }
    if (json) Out() << j.dump(2) << '\n';
    return kExitOk;
}

}  // namespace

void AddDeviceCommands(CLI::App& app, int& exitCode) {
    auto infoJson = std::make_shared<bool>(false);
    auto* info = app.add_subcommand("info", "Keyboard count, active profile, macro capacity, effects");
    info->add_flag("--json", *infoJson, "print as JSON");
    info->callback([&exitCode, infoJson] { exitCode = RunInfo(*infoJson); });

    auto* profile = app.add_subcommand("profile", "Print the active on-board profile, or make N active");
    auto wanted = std::make_shared<int>(0);
    auto profileJson = std::make_shared<bool>(false);
    auto* number = profile->add_option("N", *wanted, "the profile to make active")
                       ->type_name("1-3")
                       ->check(CLI::Validator(CheckProfileNumber, "", "profile"));
    profile->add_flag("--json", *profileJson, "print the active profile as JSON")->excludes(number);
    profile->callback([&exitCode, wanted, profileJson] { exitCode = RunProfile(*wanted, *profileJson); });

    auto pathsJson = std::make_shared<bool>(false);
    auto* paths = app.add_subcommand("paths", "Where the skin and the user's files are");
    paths->add_flag("--json", *pathsJson, "print as JSON");
    paths->callback([&exitCode, pathsJson] { exitCode = RunPaths(*pathsJson); });
}

}  // namespace qv::cli
