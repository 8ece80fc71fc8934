#include "platform/user_folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>

namespace qv::platform {
namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return std::filesystem::temp_directory_path();
}

std::filesystem::path ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') return xdg;
    return HomeFolder() / ".config";
}

// user-dirs.dirs lines look like XDG_DOCUMENTS_DIR="$HOME/Documents".
std::filesystem::path DocumentsFromUserDirs(const std::filesystem::path& home) {
    std::ifstream in(ConfigHome() / "user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
        if (!line.starts_with(kKey)) continue;
        std::string value = line.substr(kKey.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.starts_with("$HOME")) return home.string() + value.substr(5);
        if (!value.empty() && value.front() == '/') return value;
    }
    return {};
}

}  // namespace

std::filesystem::path DocumentsFolder() {
    const std::filesystem::path home = HomeFolder();
    std::error_code ec;
    std::filesystem::path docs = DocumentsFromUserDirs(home);
    // xdg-user-dirs points the documents folder at $HOME itself when it is switched off.
    if (!docs.empty() && std::filesystem::is_directory(docs, ec)) return docs;
    if (std::filesystem::is_directory(home / "Documents", ec)) return home / "Documents";
    return home;
}

std::filesystem::path ExecutablePath(const char* argv0) {
    std::error_code ec;
    auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !self.empty()) return self;
    if (argv0 != nullptr) return std::filesystem::absolute(argv0, ec);
    return {};
}

}  // namespace qv::platform
