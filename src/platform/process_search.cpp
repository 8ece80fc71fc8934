#include "platform/process_search.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <iterator>
#include <system_error>

namespace qv::platform {
namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool ParsePid(const std::string& name, pid_t& pid) {
    if (name.empty()) return false;
    const char* end = name.data() + name.size();
    auto [ptr, ec] = std::from_chars(name.data(), end, pid);
    return ec == std::errc{} && ptr == end && pid > 0;
}

}  // namespace

std::string ProcessFileName(pid_t pid, const std::filesystem::path& procRoot) {
    const auto dir = procRoot / std::to_string(pid);
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink(dir / "exe", ec);
    if (!ec && !exe.empty()) {
        std::string name = exe.filename().string();
        constexpr std::string_view kDeleted = " (deleted)";
        if (name.ends_with(kDeleted)) name.resize(name.size() - kDeleted.size());
        return name;
    }
    // Processes of other users hide their exe link; their command line is still readable.
    std::ifstream in(dir / "cmdline", std::ios::binary);
    std::string argv0;
    std::getline(in, argv0, '\0');
    if (argv0.empty()) return {};
    return std::filesystem::path(argv0).filename().string();
}

std::vector<pid_t> FindProcessesByName(std::string_view fileName,
                                       const std::filesystem::path& procRoot) {
    std::vector<pid_t> pids;
    std::error_code ec;
    std::filesystem::directory_iterator it(procRoot, ec);
    if (ec) return {};
    for (const auto& entry : it) {
        pid_t pid = 0;
        if (ParsePid(entry.path().filename().string(), pid)) pids.push_back(pid);
    }
    std::sort(pids.begin(), pids.end());
    std::vector<pid_t> found;
    for (pid_t pid : pids) {
        if (EqualNoCase(ProcessFileName(pid, procRoot), fileName)) found.push_back(pid);
    }
    return found;
}

pid_t FindInstance(std::string_view fileName, pid_t self, const std::filesystem::path& procRoot) {
    const auto found = FindProcessesByName(fileName, procRoot);
    for (pid_t pid : found) {
        if (pid != self) return pid;
    }
    return found.empty() ? 0 : found.front();
}

}  // namespace qv::platform
