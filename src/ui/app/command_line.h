#pragma once
// The options that only inform (--help, --version): answered on standard output before any
// window, display or keyboard is touched, so they work from a terminal, a script or a man-page
// generator without a desktop session.

#include <cstdio>
#include <optional>

namespace qv::ui {

// The exit code when argv asks for help or the version (printed to `out`), nothing otherwise.
std::optional<int> AnswerInformationOptions(int argc, const char* const argv[], std::FILE* out);

}  // namespace qv::ui
