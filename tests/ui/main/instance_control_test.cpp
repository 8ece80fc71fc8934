#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "support/temp_dir.h"
#include "ui/main/instance_control.h"

namespace qv::ui {
namespace {

namespace fs = std::filesystem;

// A process list holding only the given processes, all running "quorvane".
struct Environment {
    test::TempDir dir;
    InstanceEnvironment env;
    explicit Environment(std::initializer_list<pid_t> pids) {
        env.programFileName = "quorvane";
        env.runtimeFolder = dir.path() / "runtime";
        env.procRoot = dir.path() / "proc";
        env.self = 500;
        env.answerTimeout = std::chrono::milliseconds(200);
        fs::create_directories(env.runtimeFolder);
        for (pid_t pid : pids) {
            fs::create_directories(env.procRoot / std::to_string(pid));
            fs::create_symlink("/opt/q/quorvane", env.procRoot / std::to_string(pid) / "exe");
        }
    }
};

TEST(SingleInstance, FirstStartTakesTheLockAndReadsStartInAnyCase) {
    Environment e({500});
    platform::InstanceLock lock;
    int autoOpen = 7;
    EXPECT_FALSE(EnforceSingleInstance({"quorvane", "/sTaRt", "--other"}, e.env, lock, autoOpen).has_value());
    EXPECT_TRUE(lock.Held());
    EXPECT_EQ(autoOpen, 1);
    EXPECT_TRUE(fs::exists(e.env.runtimeFolder / kInstanceLockName));

    platform::InstanceLock again;
    EnforceSingleInstance({"quorvane"}, e.env, again, autoOpen);
    EXPECT_EQ(autoOpen, 0) << "cleared when no /Start is given";
}

TEST(SingleInstance, LockHeldElsewhereEndsTheStartEvenWhenOnlyItselfRuns) {
    Environment e({500});
    platform::InstanceLock holder;
    ASSERT_EQ(holder.Open(kInstanceLockName, e.env.runtimeFolder), platform::InstanceLock::State::kCreated);
    platform::InstanceLock lock;
    int autoOpen = 0;
    const auto exit = EnforceSingleInstance({"quorvane"}, e.env, lock, autoOpen);
    ASSERT_TRUE(exit.has_value());
    EXPECT_EQ(*exit, 0);
}

TEST(SingleInstance, UnreadableProcessListLetsTheStartGoOn) {
    Environment e({});
    e.env.procRoot = e.dir.path() / "missing";
    platform::InstanceLock holder;
    ASSERT_EQ(holder.Open(kInstanceLockName, e.env.runtimeFolder), platform::InstanceLock::State::kCreated);
    platform::InstanceLock lock;
    int autoOpen = 0;
    EXPECT_FALSE(EnforceSingleInstance({"quorvane", "/Kill"}, e.env, lock, autoOpen).has_value())
        << "/Kill is ignored and the existing lock does not stop the start";
    EXPECT_FALSE(lock.Held());
}

TEST(SingleInstance, KillComesBeforeTheLock) {
    Environment e({500});
    platform::InstanceLock lock;
    int autoOpen = 0;
    const auto exit = EnforceSingleInstance({"quorvane", "/Start", "/KILL"}, e.env, lock, autoOpen);
    ASSERT_TRUE(exit.has_value());
    EXPECT_FALSE(lock.Held()) << "the process ends before it looks at the lock";
}

}  // namespace
}  // namespace qv::ui
