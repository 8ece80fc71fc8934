#pragma once
// What every quorvanectl command works with: where it prints, how it reaches the keyboard and the
// running window, and the exit codes (0 done, 1 the keyboard or a file refused, 2 usage error).

#include <cstdarg>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace CLI {
class App;
class Option;
}

namespace qv::platform {
class KeyboardWriteLock;
}

namespace qv::cli {

class DeviceSession;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Environment {
    std::ostream* out = nullptr;
    std::ostream* err = nullptr;
    // The program folder (libHidServ.so, Skins/) and the documents folder of the user's files.
    std::filesystem::path programFolder;
    std::filesystem::path documentsFolder;
    // A started session with a keyboard present; nullptr with a one-line reason otherwise.
    std::function<std::unique_ptr<DeviceSession>(std::string* error)> openKeyboard;
    // The same, also when no keyboard is present.
    std::function<std::unique_ptr<DeviceSession>(std::string* error)> openService;
    // Tells a running window that the keyboard's assignments were changed.
    std::function<void()> notifyWindow;
    // Tells it that the active profile or the lighting was changed.
    std::function<void()> notifyWindowSettings;
    // The keyboard's write lock, held by every change from before the keyboard is opened until
    // its last frame (keyboard_change.h); nullptr with a one-line reason when it cannot
    // be had in time. Unset: changes take no lock.
    std::function<std::unique_ptr<platform::KeyboardWriteLock>(std::string* error)> lockKeyboard;
    // Standard output is a terminal: binary data is not written there.
    bool outputIsTerminal = false;
};

// The environment of the command being run.
Environment& Env();
std::ostream& Out();
std::ostream& Err();

// "quorvanectl: <text>" on standard error; returns `code`.
int Fail(int code, std::string_view text);
// The same for what is worth knowing but no failure; -q/--quiet leaves it out.
void Note(std::string_view text);
// -q/--quiet: a change prints nothing when it succeeds.
bool Quiet();

// The keyboard for a command (Env().openKeyboard); with -v/--verbose the session prints every
// frame it sends and every answer on standard error.
std::unique_ptr<DeviceSession> OpenKeyboardSession(std::string* error);
// printf into a stream.
void Print(std::ostream& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Parses and runs one command line (argv[0] is the program's name); returns the exit code.
int RunQuorvanectl(int argc, const char* const* argv, Environment environment);

// A value checked to lie in low..high, shown as "low-high" in --help.
CLI::Option* InRange(CLI::Option* option, int low, int high);
// A value that is one of `words` (without regard to case when asked), shown as "a|b".
CLI::Option* OneOf(CLI::Option* option, std::vector<std::string> words, bool ignoreCase = false);

// --profile N / profile N: 1..3, with the message for 0 and other numbers.
CLI::Option* AddProfileOption(CLI::App& app, int& profile, const char* help);
// The validator behind it, for positional profile numbers.
std::string CheckProfileNumber(const std::string& text);

// Every effect the tool knows, by the names the window shows.
std::vector<std::string> KnownEffectNames();

// What a shell completes the last of `words` (the words after the program's name) to: commands,
// options not given yet, or the values of the option or argument before it; kFilesWord alone
// or at the end when a file name fits there.
inline constexpr const char* kFilesWord = ":files";
std::vector<std::string> CompletionsFor(CLI::App& app, const std::vector<std::string>& words);

// Each command group adds its sub-commands; the callbacks set `exitCode`.
void AddDeviceCommands(CLI::App& app, int& exitCode);
void AddLightingCommands(CLI::App& app, int& exitCode);
void AddProfileFileCommands(CLI::App& app, int& exitCode);
void AddKeyCommands(CLI::App& app, int& exitCode);
void AddMacroCommands(CLI::App& app, int& exitCode);
void AddNamesCommand(CLI::App& app, int& exitCode);

}  // namespace qv::cli
