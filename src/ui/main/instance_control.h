#pragma once
// The command line and the single-instance rule, run before the main window is built.

#include <sys/types.h>

#include <QStringList>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "platform/instance_lock.h"

namespace qv::ui {

inline constexpr const char* kInstanceLockName = "QT27M04B";

struct InstanceEnvironment {
    std::string programFileName;               // compared with running processes
    std::filesystem::path runtimeFolder;       // lock file and instance sockets
    std::filesystem::path procRoot = "/proc";
    pid_t self = 0;
    std::chrono::milliseconds answerTimeout{5000};
};

// Walks the arguments and the instance lock. Returns the exit code when this process must end
// now (a running instance was told to open or to end), or nothing to go on as the first instance
// with `lock` open. `autoOpen` is cleared, then set by "/Start".
std::optional<int> EnforceSingleInstance(const QStringList& arguments, const InstanceEnvironment& env,
                                         platform::InstanceLock& lock, int& autoOpen);

// Sends MSG_INSTANCE_OPEN (kind 0) or MSG_INSTANCE_KILL (kind 1) to the tagged main window of
// process `pid`; false when nothing was delivered.
bool NotifyInstance(pid_t pid, int kind, const InstanceEnvironment& env);

// Starts the companion daemon hidden; a missing one is ignored.
void StartCompanion(const std::filesystem::path& daemon);

}  // namespace qv::ui
