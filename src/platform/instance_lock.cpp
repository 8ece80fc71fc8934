#include "platform/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace qv::platform {

std::filesystem::path RuntimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/') return xdg;
    std::error_code ec;
    auto folder = std::filesystem::temp_directory_path(ec);
    if (ec) folder = "/tmp";
    folder /= "quorvane-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);
    return folder;
}

InstanceLock::~InstanceLock() { Close(); }

InstanceLock::State InstanceLock::Open(std::string_view name, const std::filesystem::path& folder) {
    Close();
    const std::filesystem::path file = folder / std::string(name);
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return State::kFailed;
    return TryTake() ? State::kCreated : State::kExists;
}

bool InstanceLock::TryTake() {
    if (fd_ < 0) return false;
    if (held_) return true;
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    held_ = rc == 0;
    return held_;
}

void InstanceLock::Close() {
    if (fd_ >= 0) {
        if (held_) ::flock(fd_, LOCK_UN);
        ::close(fd_);
    }
    fd_ = -1;
    held_ = false;
}

}  // namespace qv::platform
