#pragma once
// The notice another program (quorvanectl) gives the running window after it changed the
// keyboard's key assignments or macros: one instance-channel request to every tagged window of
// the user, which then shows what the keyboard now holds.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace qv::platform {

inline constexpr std::uint32_t kMsgAssignmentsChanged = 0x4B43;
inline constexpr std::uint32_t kAssignmentsChangedTag = 0x4B455953;

// Sends the notice to every process named `programFileName` (other than `self`) whose window
// listens in this user's socket folder; returns how many took it.
int NotifyAssignmentsChanged(std::string_view programFileName, const std::filesystem::path& runtimeFolder,
                             pid_t self, std::chrono::milliseconds timeout,
                             const std::filesystem::path& procRoot = "/proc");

}  // namespace qv::platform
