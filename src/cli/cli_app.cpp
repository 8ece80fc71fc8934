// The command line of quorvanectl: one CLI11 application, each command group adding its own
// sub-commands (cmd_*.cpp).
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include "cli/cli.h"
#include "core/app/ini_file.h"
#include "core/app/paths.h"
#include "core/app/text_table.h"

namespace qv::cli {
namespace {

Environment gEnvironment;

// The program's text table from Skins/language.ini, when it is complete; a language file without
// the profile texts would blank them, so the built-in ones stay then.
void LoadProgramTexts() {
    const auto& file = Paths().textTable;
    const auto doc = ini::IniDocument::Load(file);
    if (doc.Find(LanguageSection(file), "PROFILE_FORMAT_ERROR")) LoadTextTable(file);
}

constexpr const char* kFooter =
    "Profiles are numbered 1 to 3, as the window labels them. Set QUORVANE_SIMULATE=1 to talk to\n"
    "the simulated keyboard (unset or empty: the real one; other values are refused). Changes run\n"
    "one at a time: one waits up to 10 s for another to finish. Exit code 0 on success, 1 when no\n"
    "keyboard is present, the keyboard or a file refused or the output cannot be written, 2 for a\n"
    "usage error. Run 'quorvanectl COMMAND --help' for a command's options.";

// Data a script reads from standard output that never got there (a full disk, a closed pipe end)
// must not pass for success: the script would go on with an empty or cut file.
int CheckOutputWritten(int code) {
    errno = 0;
    Out().flush();
    if (Out().good()) return code;
    const int error = errno;
    Fail(0, std::string("cannot write to standard output") + (error != 0 ? std::string(": ") + std::strerror(error) : ""));
    return code == kExitOk ? kExitFailed : code;
}

}  // namespace

Environment& Env() { return gEnvironment; }
std::ostream& Out() { return gEnvironment.out != nullptr ? *gEnvironment.out : std::cout; }
std::ostream& Err() { return gEnvironment.err != nullptr ? *gEnvironment.err : std::cerr; }

int Fail(int code, std::string_view text) {
    Err() << "quorvanectl: " << text << '\n';
    return code;
}

void Print(std::ostream& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.write(buffer.data(), n);
    }
    va_end(args);
}

std::string CheckProfileNumber(const std::string& text) {
    int n = 0;
    try {
        std::size_t used = 0;
        n = std::stoi(text, &used);
        if (used != text.size()) n = -1;
    } catch (const std::exception&) {
        n = -1;
    }
    if (n >= 1 && n <= 3) return {};
    return "profiles are numbered 1 to 3, not '" + text + "'";
}

CLI::Option* AddProfileOption(CLI::App& app, int& profile, const char* help) {
    return app.add_option("--profile", profile, help)
        ->type_name("1-3")
        ->check(CLI::Validator(CheckProfileNumber, "", "profile"));
}

int RunQuorvanectl(int argc, const char* const* argv, Environment environment) {
    gEnvironment = std::move(environment);
    SetProgramPaths(BuildProgramPaths(gEnvironment.programFolder / "quorvanectl"));
    SetUserPaths(BuildUserPaths(gEnvironment.documentsFolder));
    LoadProgramTexts();

    CLI::App app("Configures the Quorvane keyboard from a shell: key assignments, macros, lighting,\n"
                 "on-board profiles and profile files.",
                 "quorvanectl");
    app.require_subcommand(1, 1);
    app.footer(kFooter);
    int exitCode = kExitOk;
    // The output stream fails for good once a write fails; start from a clean one.
    Out().clear();
    AddDeviceCommands(app, exitCode);
    AddKeyCommands(app, exitCode);
    AddMacroCommands(app, exitCode);
    AddProfileFileCommands(app, exitCode);
    AddLightingCommands(app, exitCode);
    AddNamesCommand(app, exitCode);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(e, Out(), Err());  // --help
            return CheckOutputWritten(kExitOk);
        }
        Fail(kExitUsage, e.what());
        Err() << "Run 'quorvanectl --help' or 'quorvanectl COMMAND --help' for the options.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        return CheckOutputWritten(Fail(kExitFailed, e.what()));
    }
    return CheckOutputWritten(exitCode);
}

}  // namespace qv::cli
