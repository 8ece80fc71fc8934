#include "ui/editor/on_screen_keyboard.h"

#include <QProcess>
#include <QString>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

namespace qv::ui {
namespace {

// In order of preference: the ones made for full desktops first.
constexpr std::array<std::string_view, 7> kKeyboards{"onboard",  "florence", "squeekboard", "matchbox-keyboard",
                                                     "kvkbd",    "xvkbd",    "cellwriter"};

bool Executable(const std::filesystem::path& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec) && ::access(file.c_str(), X_OK) == 0;
}

}  // namespace

std::optional<std::filesystem::path> FindOnScreenKeyboard(std::string_view pathList) {
    for (std::string_view name : kKeyboards) {
        std::size_t start = 0;
        while (start <= pathList.size()) {
            const std::size_t end = std::min(pathList.find(':', start), pathList.size());
            const std::string_view folder = pathList.substr(start, end - start);
            // An empty entry would mean the current folder; nothing is started from there.
            if (!folder.empty() && folder.front() == '/') {
                const std::filesystem::path candidate = std::filesystem::path(folder) / name;
                if (Executable(candidate)) return candidate;
            }
            start = end + 1;
        }
    }
    return std::nullopt;
}

bool StartOnScreenKeyboard() {
    const char* path = std::getenv("PATH");
    const auto program = FindOnScreenKeyboard(path != nullptr ? path : "");
    if (!program) return false;
    return QProcess::startDetached(QString::fromStdString(program->string()), {});
}

}  // namespace qv::ui
