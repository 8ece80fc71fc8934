#include "platform/instance_channel.h"

#include <signal.h>

#include <charconv>
#include <string_view>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace qv::platform {
namespace {

void PutLe32(std::uint8_t* out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetLe32(const std::uint8_t* in) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | in[i];
    return v;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Waits for `events` on fd until the deadline; false on timeout or error.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, static_cast<int>(left.count()));
        if (rc > 0) return (p.revents & events) != 0;
        if (rc == 0) return false;
        if (errno != EINTR) return false;
    }
}

}  // namespace

std::array<std::uint8_t, kInstanceRequestBytes> EncodeInstanceRequest(const InstanceRequest& r) {
    std::array<std::uint8_t, kInstanceRequestBytes> out{};
    PutLe32(out.data(), r.message);
    PutLe32(out.data() + 4, r.wParam);
    return out;
}

InstanceRequest DecodeInstanceRequest(const std::array<std::uint8_t, kInstanceRequestBytes>& b) {
    return {GetLe32(b.data()), GetLe32(b.data() + 4)};
}

std::array<std::uint8_t, kInstanceAnswerBytes> EncodeInstanceAnswer(std::int32_t result) {
    std::array<std::uint8_t, kInstanceAnswerBytes> out{};
    PutLe32(out.data(), static_cast<std::uint32_t>(result));
    return out;
}

bool IsPrivateFolder(const std::filesystem::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

std::filesystem::path InstanceSocketFolder(const std::filesystem::path& runtimeFolder) {
    const auto folder = runtimeFolder / "quorvane-instances";
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return IsPrivateFolder(folder) ? folder : std::filesystem::path{};
}

std::filesystem::path InstanceSocketPath(const std::filesystem::path& socketFolder, pid_t pid) {
    if (socketFolder.empty()) return {};
    return socketFolder / ("instance-" + std::to_string(pid) + ".sock");
}

int RemoveStaleInstanceSockets(const std::filesystem::path& socketFolder) {
    if (socketFolder.empty()) return 0;
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(socketFolder, ec)) {
        const std::string name = entry.path().filename().string();
        constexpr std::string_view kPrefix = "instance-";
        constexpr std::string_view kSuffix = ".sock";
        if (name.size() <= kPrefix.size() + kSuffix.size() || name.rfind(kPrefix, 0) != 0 ||
            name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0) {
            continue;
        }
        const std::string digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
        pid_t pid = 0;
        const auto [end, parsed] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
        if (parsed != std::errc() || end != digits.data() + digits.size() || pid <= 0) continue;
        // Only a process that is certainly gone; one we may not signal still owns its socket.
        if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
        std::error_code removeError;
        if (std::filesystem::remove(entry.path(), removeError)) ++removed;
    }
    return removed;
}

std::optional<std::int32_t> SendInstanceRequest(const std::filesystem::path& socketPath,
                                                const InstanceRequest& request,
                                                std::chrono::milliseconds timeout) {
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.empty() || path.size() >= sizeof(addr.sun_path)) return std::nullopt;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);

    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0) return std::nullopt;
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        return std::nullopt;
    }
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    const auto bytes = EncodeInstanceRequest(request);
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (!WaitFor(fd.get(), POLLOUT, deadline)) return std::nullopt;
        const ssize_t n = ::send(fd.get(), bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        sent += static_cast<std::size_t>(n);
    }
    std::array<std::uint8_t, kInstanceAnswerBytes> answer{};
    std::size_t got = 0;
    while (got < answer.size()) {
        if (!WaitFor(fd.get(), POLLIN, deadline)) return std::nullopt;
        const ssize_t n = ::recv(fd.get(), answer.data() + got, answer.size() - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<std::int32_t>(GetLe32(answer.data()));
}

}  // namespace qv::platform
