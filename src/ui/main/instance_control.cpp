#include "ui/main/instance_control.h"

#include <QProcess>

#include "platform/instance_channel.h"
#include "platform/process_search.h"
#include "ui/common/window_messages.h"

namespace qv::ui {

namespace {

// The instance to talk to: the first other process of this name whose main window listens in
// this user's socket folder, else the first other one, else this process itself (0 when the
// process list cannot be read). Processes of other users or sessions cannot be reached, so they
// are passed over when a reachable one exists.
pid_t FindReachableInstance(const InstanceEnvironment& env) {
    const auto found = platform::FindProcessesByName(env.programFileName, env.procRoot);
    const auto folder = platform::InstanceSocketFolder(env.runtimeFolder);
    pid_t other = 0;
    for (pid_t pid : found) {
        if (pid == env.self) continue;
        std::error_code ec;
        const auto socket = platform::InstanceSocketPath(folder, pid);
        if (!socket.empty() && std::filesystem::exists(socket, ec)) return pid;
        if (other == 0) other = pid;
    }
    if (other != 0) return other;
    return found.empty() ? 0 : found.front();
}

}  // namespace

bool NotifyInstance(pid_t pid, int kind, const InstanceEnvironment& env) {
    const auto folder = platform::InstanceSocketFolder(env.runtimeFolder);
    const auto socket = platform::InstanceSocketPath(folder, pid);
    if (socket.empty()) return false;
    const platform::InstanceRequest request =
        kind == 1 ? platform::InstanceRequest{MSG_INSTANCE_KILL, kInstanceKillTag}
                  : platform::InstanceRequest{MSG_INSTANCE_OPEN, kInstanceOpenTag};
    return platform::SendInstanceRequest(socket, request, env.answerTimeout).has_value();
}

std::optional<int> EnforceSingleInstance(const QStringList& arguments, const InstanceEnvironment& env,
                                         platform::InstanceLock& lock, int& autoOpen) {
    autoOpen = 0;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments[i];
        if (arg.compare(QStringLiteral("/Kill"), Qt::CaseInsensitive) == 0) {
            const pid_t pid = FindReachableInstance(env);
            if (pid != 0) {
                NotifyInstance(pid, 1, env);
                return 0;
            }
        } else if (arg.compare(QStringLiteral("/Start"), Qt::CaseInsensitive) == 0) {
            autoOpen = 1;
        }
    }
    if (lock.Open(kInstanceLockName, env.runtimeFolder) == platform::InstanceLock::State::kExists) {
        const pid_t pid = FindReachableInstance(env);
        if (pid != 0) {
            NotifyInstance(pid, 0, env);
            return 0;
        }
    }
    return std::nullopt;
}

void StartCompanion(const std::filesystem::path& daemon) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(daemon, ec)) return;
    QProcess::startDetached(QString::fromStdString(daemon.string()), {},
                            QString::fromStdString(daemon.parent_path().string()));
}

}  // namespace qv::ui
