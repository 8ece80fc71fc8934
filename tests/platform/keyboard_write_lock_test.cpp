#include "platform/keyboard_write_lock.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace qv::platform {
namespace {

using ::testing::HasSubstr;
using namespace std::chrono_literals;

constexpr const char* kName = "quorvane-keyboard.lock";

TEST(KeyboardWriteLock, ASecondChangeWaitsForTheBoundThenSaysWhy) {
    test::TempDir dir;
    KeyboardWriteLock first;
    std::string error;
    ASSERT_TRUE(first.Take(kName, 0ms, &error, dir.path())) << error;
    EXPECT_TRUE(first.Held());

    KeyboardWriteLock second;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(second.Take(kName, 300ms, &error, dir.path()));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 300ms);
    EXPECT_FALSE(second.Held());
    EXPECT_THAT(error, HasSubstr("is changing the keyboard and did not finish within 300 ms; nothing was changed"));
    EXPECT_THAT(error, HasSubstr((dir.path() / kName).string()));

    // Another keyboard's lock is another lock.
    KeyboardWriteLock other;
    EXPECT_TRUE(other.Take("quorvane-simulated-keyboard.lock", 0ms, &error, dir.path())) << error;

    first.Release();
    EXPECT_TRUE(second.Take(kName, 0ms, &error, dir.path())) << error;
}

TEST(KeyboardWriteLock, AWaitingChangeGoesOnOnceTheOtherEnds) {
    test::TempDir dir;
    std::string error;
    auto holder = std::make_unique<KeyboardWriteLock>();
    ASSERT_TRUE(holder->Take(kName, 0ms, &error, dir.path())) << error;
    std::thread release([&holder] {
        std::this_thread::sleep_for(200ms);
        holder.reset();
    });
    KeyboardWriteLock waiting;
    EXPECT_TRUE(waiting.Take(kName, 10s, &error, dir.path())) << error;
    release.join();
}

TEST(KeyboardWriteLock, AHolderThatDiesLeavesNoLockBehind) {
    test::TempDir dir;
    const std::string file = (dir.path() / kName).string();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Only async-signal-safe calls in the child of a threaded test program.
        const int fd = ::open(file.c_str(), O_RDWR | O_CREAT, 0600);
        const char ok = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        for (;;) ::pause();
    }
    struct EndChild {
        pid_t pid;
        void Now() {
            if (pid <= 0) return;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
            pid = -1;
        }
        ~EndChild() { Now(); }
    } holder{child};
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, '1');

    KeyboardWriteLock lock;
    std::string error;
    EXPECT_FALSE(lock.Take(kName, 50ms, &error, dir.path()));
    holder.Now();
    EXPECT_TRUE(lock.Take(kName, 0ms, &error, dir.path())) << error;
}

TEST(KeyboardWriteLock, ALockFileThatCannotBeOpenedIsReported) {
    KeyboardWriteLock lock;
    std::string error;
    EXPECT_FALSE(lock.Take(kName, 10s, &error, "/nonexistent/folder"));
    EXPECT_THAT(error, HasSubstr("cannot open the keyboard's lock file /nonexistent/folder/" + std::string(kName)));
}

// Sets environment variables for one test and puts back what was there.
class ScopedEnvironment {
public:
    void Set(const char* name, const char* value) {
        if (!saved_.count(name)) {
            const char* old = std::getenv(name);
            saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        }
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

TEST(KeyboardWriteLock, EachKeyboardHasItsOwnName) {
    ScopedEnvironment env;
    env.Set("QUORVANE_SIMULATE", nullptr);
    env.Set("QUORVANE_SIM_STATE", "/tmp/one.state");
    EXPECT_EQ(KeyboardLockName(), "quorvane-keyboard.lock") << "the real keyboard ignores the simulator's state";
    env.Set("QUORVANE_SIMULATE", "1");
    const std::string one = KeyboardLockName();
    EXPECT_THAT(one, ::testing::MatchesRegex("quorvane-simulated-keyboard-[0-9a-f]{16}\\.lock"));
    env.Set("QUORVANE_SIMULATE", "detached");
    EXPECT_EQ(KeyboardLockName(), one) << "the same simulated keyboard, plugged in or not";
    env.Set("QUORVANE_SIM_STATE", "/tmp/two.state");
    EXPECT_NE(KeyboardLockName(), one);
    // A relative state file names the same keyboard as its absolute path.
    const std::string cwd = std::filesystem::current_path().string();
    env.Set("QUORVANE_SIM_STATE", "kb.state");
    const std::string relative = KeyboardLockName();
    env.Set("QUORVANE_SIM_STATE", (cwd + "/./kb.state").c_str());
    EXPECT_EQ(KeyboardLockName(), relative);
    env.Set("QUORVANE_SIM_STATE", nullptr);
    EXPECT_EQ(KeyboardLockName(), "quorvane-simulated-keyboard.lock");
}

}  // namespace
}  // namespace qv::platform
