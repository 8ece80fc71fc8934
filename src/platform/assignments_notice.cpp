#include "platform/assignments_notice.h"

#include "platform/instance_channel.h"
#include "platform/process_search.h"

namespace qv::platform {

int NotifyAssignmentsChanged(std::string_view programFileName, const std::filesystem::path& runtimeFolder,
                             pid_t self, std::chrono::milliseconds timeout,
                             const std::filesystem::path& procRoot, std::uint32_t tag) {
    const auto folder = InstanceSocketFolder(runtimeFolder);
    if (folder.empty()) return 0;
    int told = 0;
    for (const pid_t pid : FindProcessesByName(programFileName, procRoot)) {
        if (pid == self) continue;
        const auto socket = InstanceSocketPath(folder, pid);
        std::error_code ec;
        if (socket.empty() || !std::filesystem::exists(socket, ec)) continue;
        const InstanceRequest notice{protocol::kMsgAssignmentsChanged, tag};
        if (SendInstanceRequest(socket, notice, timeout)) ++told;
    }
    return told;
}

}  // namespace qv::platform
