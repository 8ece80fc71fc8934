#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <thread>

#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "platform/process_search.h"
#include "support/temp_dir.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;

TEST(InstanceLock, SecondOpenSeesTheFirstAndTakesOverWhenItCloses) {
    test::TempDir dir;
    InstanceLock first;
    ASSERT_EQ(first.Open("QT27M04B", dir.path()), InstanceLock::State::kCreated);
    EXPECT_TRUE(fs::exists(dir.path() / "QT27M04B"));

    InstanceLock second;
    EXPECT_EQ(second.Open("QT27M04B", dir.path()), InstanceLock::State::kExists);
    EXPECT_FALSE(second.Held());

    first.Close();
    EXPECT_TRUE(second.TryTake());
    InstanceLock third;
    EXPECT_EQ(third.Open("QT27M04B", dir.path()), InstanceLock::State::kExists);
}

TEST(InstanceLock, UnwritableFolderFails) {
    InstanceLock lock;
    EXPECT_EQ(lock.Open("QT27M04B", "/nonexistent/folder"), InstanceLock::State::kFailed);
}

// A fake /proc: numbered folders with an exe link or only a command line.
class FakeProc {
public:
    void AddExe(pid_t pid, const std::string& target) {
        const auto d = Dir(pid);
        fs::create_symlink(target, d / "exe");
    }
    void AddCmdline(pid_t pid, const std::string& argv0) {
        const auto d = Dir(pid);
        std::ofstream(d / "cmdline", std::ios::binary) << argv0 << '\0' << "/Start" << '\0';
    }
    const fs::path& root() const { return dir_.path(); }

private:
    fs::path Dir(pid_t pid) {
        const auto d = dir_.path() / std::to_string(pid);
        fs::create_directories(d);
        return d;
    }
    test::TempDir dir_;
};

TEST(ProcessSearch, ComparesFileNamesWithoutCaseInPidOrder) {
    FakeProc proc;
    proc.AddExe(900, "/opt/q/QUORVANE");
    proc.AddExe(35, "/usr/bin/bash");
    proc.AddExe(120, "/home/u/build/bin/quorvane (deleted)");
    proc.AddCmdline(77, "/other/user/quorvane");
    fs::create_directories(proc.root() / "self");  // not a process id
    std::ofstream(proc.root() / "uptime") << "1 2";

    EXPECT_EQ(FindProcessesByName("Quorvane", proc.root()), (std::vector<pid_t>{77, 120, 900}));
    EXPECT_EQ(ProcessFileName(120, proc.root()), "quorvane");
    EXPECT_TRUE(FindProcessesByName("quorvanectl", proc.root()).empty());
}

TEST(ProcessSearch, PrefersAnotherInstanceAndFallsBackToItself) {
    FakeProc proc;
    proc.AddExe(50, "/b/quorvane");
    proc.AddExe(400, "/b/quorvane");
    EXPECT_EQ(FindInstance("quorvane", 50, proc.root()), 400);
    EXPECT_EQ(FindInstance("quorvane", 400, proc.root()), 50);

    FakeProc alone;
    alone.AddExe(50, "/b/quorvane");
    EXPECT_EQ(FindInstance("quorvane", 50, alone.root()), 50);
    EXPECT_EQ(FindInstance("quorvane", 50, "/nonexistent/proc"), 0);
}

TEST(ProcessSearch, FindsThisTestProgramInTheRealProcessList) {
    const std::string self = ProcessFileName(::getpid());
    ASSERT_FALSE(self.empty());
    EXPECT_EQ(FindInstance(self, ::getpid()) != 0, true);
}

TEST(InstanceChannel, RequestBytesAreLittleEndian) {
    const auto bytes = EncodeInstanceRequest({0x5350, 0x4F50454E});
    const std::array<std::uint8_t, 8> expected{0x50, 0x53, 0, 0, 0x4E, 0x45, 0x50, 0x4F};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(DecodeInstanceRequest(bytes), (InstanceRequest{0x5350, 0x4F50454E}));
}

TEST(InstanceChannel, SocketFolderMustBePrivate) {
    test::TempDir dir;
    const auto folder = InstanceSocketFolder(dir.path());
    ASSERT_FALSE(folder.empty());
    struct stat st {};
    ASSERT_EQ(::stat(folder.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ::chmod(folder.c_str(), 0755);
    EXPECT_TRUE(InstanceSocketFolder(dir.path()).empty());
    EXPECT_TRUE(InstanceSocketPath(InstanceSocketFolder(dir.path()), 42).empty());

    test::TempDir other;
    fs::create_directory(other.path() / "real");
    ::chmod((other.path() / "real").c_str(), 0700);
    fs::create_directory_symlink(other.path() / "real", other.path() / "quorvane-instances");
    EXPECT_TRUE(InstanceSocketFolder(other.path()).empty()) << "a symlink is refused";
}

TEST(InstanceChannel, SendsAndReadsTheAnswerOrNothingWithoutListener) {
    test::TempDir dir;
    const auto folder = InstanceSocketFolder(dir.path());
    const auto path = InstanceSocketPath(folder, 4242);
    EXPECT_FALSE(SendInstanceRequest(path, {0x5350, 1}, std::chrono::milliseconds(200)));

    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof(addr.sun_path) - 1);
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)), 0);
    ASSERT_EQ(::listen(server, 1), 0);
    InstanceRequest seen;
    std::thread peer([&] {
        const int c = ::accept(server, nullptr, nullptr);
        std::array<std::uint8_t, 8> in{};
        ASSERT_EQ(::recv(c, in.data(), in.size(), MSG_WAITALL), 8);
        seen = DecodeInstanceRequest(in);
        const auto out = EncodeInstanceAnswer(0);
        ::send(c, out.data(), out.size(), 0);
        ::close(c);
    });
    const auto answer = SendInstanceRequest(path, {0x4D4B, 0x4C4C494B}, std::chrono::seconds(5));
    peer.join();
    ::close(server);
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, 0);
    EXPECT_EQ(seen, (InstanceRequest{0x4D4B, 0x4C4C494B}));
}

}  // namespace
}  // namespace qv::platform

namespace qv::platform {
namespace {

TEST(InstanceChannel, SocketsOfEndedProcessesAreRemovedAtStart) {
    test::TempDir dir;
    const auto folder = InstanceSocketFolder(dir.path());
    ASSERT_FALSE(folder.empty());
    // A process that has certainly ended: a child that was waited for.
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    auto touch = [&](const std::string& name) { std::ofstream(folder / name) << ""; };
    touch("instance-" + std::to_string(ended) + ".sock");
    touch("instance-" + std::to_string(::getpid()) + ".sock");  // alive
    touch("instance-1.sock");                                   // alive, not ours to judge
    touch("instance-x.sock");
    touch("notes.txt");
    EXPECT_EQ(RemoveStaleInstanceSockets(folder), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / ("instance-" + std::to_string(ended) + ".sock")));
    for (const char* kept : {"instance-1.sock", "instance-x.sock", "notes.txt"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / kept)) << kept;
    }
    EXPECT_TRUE(std::filesystem::exists(folder / ("instance-" + std::to_string(::getpid()) + ".sock")));
    EXPECT_EQ(RemoveStaleInstanceSockets({}), 0);
}

}  // namespace
}  // namespace qv::platform
