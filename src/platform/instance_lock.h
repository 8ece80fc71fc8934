#pragma once
// The single-instance lock: an advisory lock on a file named after the instance name in the
// user's runtime folder. The kernel drops the lock when its holder ends, so a crashed instance
// never blocks the next start.

#include <filesystem>
#include <string_view>

namespace qv::platform {

// $XDG_RUNTIME_DIR when it is an absolute path, else a per-user folder under the temp folder
// (created 0700 on demand).
std::filesystem::path RuntimeFolder();

class InstanceLock {
public:
    enum class State { kCreated, kExists, kFailed };

    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // kCreated: this process now holds the lock. kExists: another process holds it (the handle
    // is kept open, as the named object would be). kFailed: the lock file cannot be opened.
    State Open(std::string_view name, const std::filesystem::path& folder = RuntimeFolder());
    // Tries again to take an existing lock (the holder may have ended since Open).
    bool TryTake();
    void Close();
    bool Held() const { return held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

}  // namespace qv::platform
