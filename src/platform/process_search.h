#pragma once
// Instance search over the running processes, by the executable's file name.

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qv::platform {

// File name of a process's executable: /proc/<pid>/exe when readable (a replaced binary's
// " (deleted)" mark removed), else the first word of its command line. Empty when neither can
// be read.
std::string ProcessFileName(pid_t pid, const std::filesystem::path& procRoot = "/proc");

// Every process whose executable name equals `fileName` without regard to case, in ascending
// process id order. Empty when the process list cannot be read.
std::vector<pid_t> FindProcessesByName(std::string_view fileName,
                                       const std::filesystem::path& procRoot = "/proc");

// The instance to talk to: the first match that is not `self`, else `self` when it matches
// itself, else 0. Preferring another process keeps a wrapped-around process id from making a
// second start talk to itself while the real instance runs.
pid_t FindInstance(std::string_view fileName, pid_t self,
                   const std::filesystem::path& procRoot = "/proc");

}  // namespace qv::platform
