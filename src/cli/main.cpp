// quorvanectl: the keyboard from a shell.
#include <cstdio>
#include <string>
#include <string_view>

#include "cli/cli.h"
#include "cli/cli_context.h"
#include "cli/cmd_device.h"
#include "cli/cmd_profile_files.h"
#include "cli/cmd_lighting.h"

namespace qv::cli {

int Fail(int code, std::string_view text) {
    std::fprintf(stderr, "quorvanectl: %.*s\n", static_cast<int>(text.size()), text.data());
    return code;
}

namespace {

// One line per command group; each group lives in its own cmd_*.cpp.
constexpr Command kCommands[] = {
    {"info", "info", "keyboard count, active profile, macro capacity, effects", RunInfo},
    {"profile", "profile [N]", "print the active profile, or make N (0, 1, 2) active", RunProfile},
    {"export", "export FILE", "write the keyboard's assignments and macros as a profile file", RunExport},
    {"validate", "validate FILE", "check a profile file the way import does", RunValidate},
    {"import", "import FILE", "send a profile file's three profiles and macros to the keyboard", RunImport},
    {"show", "show FILE [--json]", "the assignments and macros of a profile file", RunShow},
    {"paths", "paths", "show where the skin and the user's files are", RunPaths},
    {"lighting", "lighting [--profile N] [--json] [FIELDS]",
     "show a profile's lighting, or change the FIELDS given", RunLighting},
    {"keycolours", "keycolours [--profile N] [--mode M]", "send a user mode of the profile's user lighting file to the keyboard", RunKeyColours},
};

void PrintUsage(std::FILE* out) {
    std::fputs(
        "usage: quorvanectl COMMAND [ARGS]\n"
        "\n"
        "Configures the keyboard from a shell. Set QUORVANE_SIMULATE=1 to talk to the\n"
        "simulated keyboard instead of a real one.\n"
        "\n"
        "commands:\n",
        out);
    for (const Command& c : Commands()) {
        std::fprintf(out, "  %-40.*s %.*s\n", static_cast<int>(c.usage.size()), c.usage.data(),
                     static_cast<int>(c.summary.size()), c.summary.data());
    }
    std::fputs(
        "\n"
        "lighting FIELDS: --effect CODE, --brightness 0-5, --speed 0-5, --direction first|second,\n"
        "  --colour RRGGBB, --colourful on|off, --colour-choice 0-3, --report-rate 0-3, or --defaults\n"
        "\n"
        "Profiles are numbered 0, 1 and 2. Exit code 0 on success, 1 when no keyboard is present or\n"
        "the keyboard refused, 2 for a usage error.\n",
        out);
}

}  // namespace

std::span<const Command> Commands() { return kCommands; }

}  // namespace qv::cli

int main(int argc, char* argv[]) {
    using namespace qv::cli;
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    SetUpProgram(argv[0]);
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(stdout);
        return 0;
    }
    for (const Command& c : Commands()) {
        if (c.name == name && c.run != nullptr) {
            return c.run(std::span<char* const>(argv + 2, static_cast<std::size_t>(argc - 2)));
        }
    }
    return Fail(2, "unknown command '" + std::string(name) + "' (see --help)");
}
