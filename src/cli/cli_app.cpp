// The command line of quorvanectl: one CLI11 application, each command group adding its own
// sub-commands (cmd_*.cpp).
#include <CLI/CLI.hpp>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "core/app/ini_file.h"
#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_names.h"
#include "core/app/version.h"

namespace qv::cli {
namespace {

Environment gEnvironment;
bool gQuiet = false;
bool gVerbose = false;

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
    "usage error. Run 'quorvanectl COMMAND --help' for a command's options. -q and -v go before\n"
    "or after the command.";

const std::string kVersionText = std::string("quorvanectl ") + kVersion;

// "; did you mean keycolours?" for the nearest of `names`, or nothing when none is near.
std::string DidYouMean(std::string_view typed, const std::vector<std::string>& names, std::string_view prefix = "") {
    const auto near = ClosestNames(typed, names);
    if (near.empty()) return {};
    std::string text = "; did you mean ";
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (i > 0) text += i + 1 == near.size() ? " or " : ", ";
        text += std::string(prefix) + near[i];
    }
    return text + "?";
}

std::vector<std::string> CommandNames(const CLI::App& app) {
    std::vector<std::string> names;
    for (const CLI::App* sub : app.get_subcommands([](const CLI::App*) { return true; })) names.push_back(sub->get_name());
    return names;
}

// A mistyped command is named with the nearest ones, as a shell user expects, before CLI11
// reports only that a command is missing. Global options take no values, so the first word that
// is not an option is the command; a command with commands of its own checks its next word too.
std::string CheckCommandWords(CLI::App& app, int argc, const char* const* argv) {
    CLI::App* level = &app;
    std::string path;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") return {};
        if (word.starts_with('-')) continue;
        const auto names = CommandNames(*level);
        if (names.empty()) return {};
        CLI::App* sub = nullptr;
        try {
            sub = level->get_subcommand(std::string(word));
        } catch (const CLI::OptionNotFound&) {
            sub = nullptr;
        }
        if (sub == nullptr) {
            return "'" + std::string(word) + "' is not a " + path + "command" + DidYouMean(word, names);
        }
        level = sub;
        path += sub->get_name() + " ";
        if (CommandNames(*level).empty()) return {};
    }
    return {};
}

// The deepest command given on the line.
CLI::App* GivenCommand(CLI::App& app) {
    CLI::App* level = &app;
    for (;;) {
        const auto given = level->get_subcommands();
        if (given.empty()) return level;
        level = given.front();
    }
}

// An unknown option named with the nearest ones of the command it was given to.
std::string DescribeExtras(CLI::App& app) {
    CLI::App* command = GivenCommand(app);
    // With fallthrough the command hands words it does not know to the top level.
    for (const std::string& word : app.remaining(true)) {
        if (!word.starts_with("--")) continue;
        const std::string name = word.substr(2, word.find('=') == std::string::npos ? std::string::npos : word.find('=') - 2);
        std::vector<std::string> names;
        for (const CLI::App* level = command; level != nullptr; level = level->get_parent()) {
            for (const CLI::Option* o : level->get_options()) {
                // Aliases (--color) are not offered beside their option.
                if (!o->get_lnames().empty()) names.push_back(o->get_lnames().front());
            }
        }
        const std::string where = command == &app ? std::string("quorvanectl") : command->get_name();
        return where + " has no option '--" + name + "'" + DidYouMean(name, names, "--");
    }
    return {};
}

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

void Note(std::string_view text) {
    if (!gQuiet) Fail(0, text);
}

bool Quiet() { return gQuiet; }

std::unique_ptr<DeviceSession> OpenKeyboardSession(std::string* error) {
    auto session = gEnvironment.openKeyboard(error);
    if (session && gVerbose) {
        session->TraceFrames([](std::string_view line) { Err() << "quorvanectl: " << line << '\n'; });
    }
    return session;
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

CLI::Option* InRange(CLI::Option* option, int low, int high) {
    // The validator's own description would repeat the range beside the type name.
    return option->type_name(std::to_string(low) + "-" + std::to_string(high))->check(CLI::Range(low, high).description(""));
}

CLI::Option* OneOf(CLI::Option* option, std::vector<std::string> words, bool ignoreCase) {
    std::string shown;
    for (const std::string& w : words) shown += (shown.empty() ? "" : "|") + w;
    option->type_name(shown);
    return ignoreCase ? option->check(CLI::IsMember(std::move(words), CLI::ignore_case).description(""))
                      : option->check(CLI::IsMember(std::move(words)).description(""));
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
    // -q and -v are taken after the command too.
    app.fallthrough();
    gQuiet = false;
    gVerbose = false;
    app.add_flag("-q,--quiet", gQuiet, "print nothing but what was asked for and errors");
    app.add_flag("-v,--verbose", gVerbose, "print every frame sent to the keyboard and its answer on standard error");
    app.set_version_flag("--version", kVersionText, "print the program's version and exit");
    int exitCode = kExitOk;
    // The output stream fails for good once a write fails; start from a clean one.
    Out().clear();
    AddDeviceCommands(app, exitCode);
    AddKeyCommands(app, exitCode);
    AddMacroCommands(app, exitCode);
    AddProfileFileCommands(app, exitCode);
    AddLightingCommands(app, exitCode);
    AddNamesCommand(app, exitCode);
    app.add_subcommand("version", "Print the program's version")->callback([] { Out() << kVersionText << '\n'; });
    // Asked by the shell completions, never typed; so not in --help.
    if (argc >= 2 && std::string_view(argv[1]) == "__complete") {
        for (const std::string& w : CompletionsFor(app, std::vector<std::string>(argv + 2, argv + argc))) Out() << w << '\n';
        return CheckOutputWritten(kExitOk);
    }
    // Checked before the commands run, which they do inside parse.
    bool quietGiven = false, verboseGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--") break;
        // Short flags may come together ("-qv").
        const bool shortFlags = word.size() > 1 && word[0] == '-' && word[1] != '-';
        quietGiven |= word == "--quiet" || (shortFlags && word.find('q') != std::string_view::npos);
        verboseGiven |= word == "--verbose" || (shortFlags && word.find('v') != std::string_view::npos);
    }
    if (quietGiven && verboseGiven) return Fail(kExitUsage, "-q/--quiet and -v/--verbose ask for opposite things");
    if (const std::string bad = CheckCommandWords(app, argc, argv); !bad.empty()) {
        Fail(kExitUsage, bad);
        Err() << "Run 'quorvanectl --help' for the commands.\n";
        return kExitUsage;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) {
            app.exit(e, Out(), Err());  // --help
            return CheckOutputWritten(kExitOk);
        }
        const std::string extras = dynamic_cast<const CLI::ExtrasError*>(&e) != nullptr ? DescribeExtras(app) : "";
        Fail(kExitUsage, extras.empty() ? std::string(e.what()) : extras);
        Err() << "Run 'quorvanectl --help' or 'quorvanectl COMMAND --help' for the options.\n";
        return kExitUsage;
    } catch (const std::exception& e) {
        return CheckOutputWritten(Fail(kExitFailed, e.what()));
    }
    return CheckOutputWritten(exitCode);
}

}  // namespace qv::cli
