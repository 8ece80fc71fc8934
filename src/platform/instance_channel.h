#pragma once
// The channel through which a starting instance talks to the running one's main window: each
// tagged main window listens on a local socket named after its process id, in a folder only the
// user can reach. A request is the message number and its wParam tag; the answer is the
// handler's result.

#include <sys/types.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace qv::platform {

struct InstanceRequest {
    std::uint32_t message = 0;
    std::uint32_t wParam = 0;
    bool operator==(const InstanceRequest&) const = default;
};

inline constexpr std::size_t kInstanceRequestBytes = 8;
inline constexpr std::size_t kInstanceAnswerBytes = 4;

// Little-endian: message, then wParam.
std::array<std::uint8_t, kInstanceRequestBytes> EncodeInstanceRequest(const InstanceRequest& r);
InstanceRequest DecodeInstanceRequest(const std::array<std::uint8_t, kInstanceRequestBytes>& bytes);
std::array<std::uint8_t, kInstanceAnswerBytes> EncodeInstanceAnswer(std::int32_t result);

// <runtime folder>/quorvane-instances, created 0700 when missing. Empty when the folder is not
// a real directory owned by this user with no access for group or others: a folder someone else
// prepared could let them impersonate the running instance.
std::filesystem::path InstanceSocketFolder(const std::filesystem::path& runtimeFolder);
bool IsPrivateFolder(const std::filesystem::path& folder);

// The socket path of process `pid` (empty when the folder is refused).
std::filesystem::path InstanceSocketPath(const std::filesystem::path& socketFolder, pid_t pid);

// Removes the sockets in `socketFolder` of processes that no longer exist (ended without
// cleaning up), so the folder does not fill up. The number removed.
int RemoveStaleInstanceSockets(const std::filesystem::path& socketFolder);

// Sends one request to the process's socket and waits for the answer. Nothing is sent when the
// socket does not exist or does not accept (no tagged window): std::nullopt.
std::optional<std::int32_t> SendInstanceRequest(const std::filesystem::path& socketPath,
                                                const InstanceRequest& request,
                                                std::chrono::milliseconds timeout);

}  // namespace qv::platform
