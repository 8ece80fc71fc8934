#include "cli/window_notice.h"

#include <unistd.h>

#include "platform/assignments_notice.h"
#include "platform/instance_lock.h"

namespace qv::cli {

void NotifyRunningWindow(std::uint32_t tag) {
    // The window answers before it acts, so this never waits for a question it asks its user.
    platform::NotifyAssignmentsChanged("quorvane", platform::RuntimeFolder(), ::getpid(),
                                       std::chrono::milliseconds(2000), "/proc", tag);
}

}  // namespace qv::cli
