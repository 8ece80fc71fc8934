#pragma once
// quorvanectl's commands: one table, one function per command group (cmd_*.cpp).

#include <span>
#include <string_view>

namespace qv::cli {

struct Command {
    std::string_view name;
    std::string_view usage;    // "profile [N]"
    std::string_view summary;  // one line for --help
    // Arguments after the command name; returns the exit code.
    int (*run)(std::span<char* const> args);
};

// Every command of the program, in the order --help lists them.
std::span<const Command> Commands();

// "quorvanectl: <text>" on standard error; returns `code`.
int Fail(int code, std::string_view text);

}  // namespace qv::cli
