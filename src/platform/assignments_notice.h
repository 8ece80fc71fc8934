#pragma once
// The notice another program (quorvanectl) gives the running window after it changed the
// keyboard's key assignments or macros: one instance-channel request to every tagged window of
// the user, which then shows what the keyboard now holds.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string_view>

#include "protocol/window_messages.h"

namespace qv::platform {

// Sends the notice (protocol::kMsgAssignmentsChanged with `tag`: kAssignmentsChangedTag, or
// kSettingsChangedTag for the active profile or the lighting) to every process named
// `programFileName` (other than `self`) whose window listens in this user's socket folder;
// returns how many took it.
int NotifyAssignmentsChanged(std::string_view programFileName, const std::filesystem::path& runtimeFolder,
                             pid_t self, std::chrono::milliseconds timeout,
                             const std::filesystem::path& procRoot = "/proc",
                             std::uint32_t tag = protocol::kAssignmentsChangedTag);

}  // namespace qv::platform
