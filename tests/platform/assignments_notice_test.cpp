// quorvanectl's notice reaches every listening window of the program, and nothing else.
#include "platform/assignments_notice.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <fstream>
#include <thread>

#include "platform/instance_channel.h"
#include "protocol/window_messages.h"
#include "support/temp_dir.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

// A process of the fake process list whose window answers one request.
class ListeningWindow {
public:
    ListeningWindow(const fs::path& proc, const fs::path& sockets, pid_t pid, const char* name) {
        fs::create_directories(proc / std::to_string(pid));
        std::ofstream(proc / std::to_string(pid) / "cmdline", std::ios::binary) << name << '\0';
        const auto path = InstanceSocketPath(sockets, pid);
        server_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
        EXPECT_EQ(::bind(server_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
        EXPECT_EQ(::listen(server_, 1), 0);
        peer_ = std::thread([this] {
            const int c = ::accept(server_, nullptr, nullptr);
            if (c < 0) return;
            std::array<std::uint8_t, kInstanceRequestBytes> in{};
            if (::recv(c, in.data(), in.size(), MSG_WAITALL) == static_cast<ssize_t>(in.size())) {
                seen = DecodeInstanceRequest(in);
                const auto out = EncodeInstanceAnswer(0);
                ::send(c, out.data(), out.size(), 0);
            }
            ::close(c);
        });
    }
    ~ListeningWindow() { Stop(); }
    void Stop() {
        if (server_ >= 0) ::shutdown(server_, SHUT_RDWR);
        if (peer_.joinable()) peer_.join();
        if (server_ >= 0) ::close(server_);
        server_ = -1;
    }
    InstanceRequest seen;

private:
    int server_ = -1;
    std::thread peer_;
};

TEST(AssignmentsNotice, EveryListeningWindowOfTheProgramIsTold) {
    test::TempDir proc, runtime;
    const auto sockets = InstanceSocketFolder(runtime.path());
    ListeningWindow window(proc.path(), sockets, 4100, "/opt/quorvane/quorvane");
    ListeningWindow other(proc.path(), sockets, 4200, "/usr/bin/something-else");
    fs::create_directories(proc.path() / "4300");  // a quorvane without a window
    std::ofstream(proc.path() / "4300" / "cmdline", std::ios::binary) << "quorvane" << '\0';

    EXPECT_EQ(NotifyAssignmentsChanged("quorvane", runtime.path(), 1, std::chrono::seconds(5), proc.path()), 1);
    window.Stop();
    EXPECT_EQ(window.seen, (InstanceRequest{protocol::kMsgAssignmentsChanged, protocol::kAssignmentsChangedTag}));
    other.Stop();
    EXPECT_EQ(other.seen, InstanceRequest{});
    EXPECT_EQ(NotifyAssignmentsChanged("quorvane", runtime.path() / "none", 1, std::chrono::seconds(1), proc.path()), 0);
}

}  // namespace
}  // namespace qv::platform
