#include "ui/app/command_line.h"

#include <string_view>

#include "core/app/version.h"

namespace qv::ui {
namespace {

constexpr const char* kUsage =
    "Usage: quorvane [/Start] [/Kill]\n"
    "\n"
    "The configuration tool of the Quorvane gaming keyboard: key assignments, macros, lighting,\n"
    "profiles and report rate. It keeps itself in the system tray and opens its window when the\n"
    "keyboard is plugged in. Only one runs per user: starting it again opens the running one's\n"
    "window. quorvanectl does the same from a shell.\n"
    "\n"
    "Options:\n"
    "  /Start         start in the tray only, without opening the window for a keyboard that\n"
    "                 is already plugged in (what the autostart entry does)\n"
    "  /Kill          end the running instance and exit\n"
    "  -h, --help     print this help and exit\n"
    "  --version      print the version and exit\n"
    "\n"
    "Environment:\n"
    "  QUORVANE_SIMULATE=1   use the simulated keyboard instead of a real one\n"
    "  QUORVANE_TRACE=1      print diagnostic traces on standard error\n";

}  // namespace

std::optional<int> AnswerInformationOptions(int argc, const char* const argv[], std::FILE* out) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        bool answered = false;
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, out);
            answered = true;
        } else if (arg == "--version") {
            std::fprintf(out, "quorvane %s\n", kVersion);
            answered = true;
        }
        if (answered) return std::fflush(out) == 0 && !std::ferror(out) ? 0 : 1;
    }
    return std::nullopt;
}

}  // namespace qv::ui
