#include "ui/main/instance_control.h"

#include <QProcess>

#include "platform/instance_channel.h"
#include "platform/process_search.h"
#include "ui/main/window_messages.h"

namespace qv::ui {

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
            const pid_t pid = platform::FindInstance(env.programFileName, env.self, env.procRoot);
            if (pid != 0) {
                NotifyInstance(pid, 1, env);
                return 0;
            }
        } else if (arg.compare(QStringLiteral("/Start"), Qt::CaseInsensitive) == 0) {
            autoOpen = 1;
        }
    }
    if (lock.Open(kInstanceLockName, env.runtimeFolder) == platform::InstanceLock::State::kExists) {
        const pid_t pid = platform::FindInstance(env.programFileName, env.self, env.procRoot);
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
