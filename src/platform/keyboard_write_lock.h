#pragma once
// One change of a keyboard's memory at a time. Every read-modify-write of the keyboard (each
// changing quorvanectl command, the window's Apply) holds this lock from before its first read
// until its last frame is answered: two changes started together then both land, where without
// it the later one would write back what it read before the earlier one was sent.
//
// An advisory lock (flock) on a file in the user's runtime folder, like the instance lock: the
// kernel drops it when its holder ends, so a crashed holder never blocks the next change.
//
//     qv::platform::KeyboardWriteLock lock;
//     std::string error;
//     if (!lock.Take(qv::platform::KeyboardLockName(), qv::platform::kKeyboardWriteLockWait, &error)) {
//         ...tell the user `error`; nothing was read or sent...
//     }
//     ...open the HID service, read, change, send...
//     // released by Release() or when `lock` goes
//
// The simulated keyboard reads its state file when the HID service starts: take the lock before
// the service is opened, or the change starts from what the keyboard held before the last one.

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/instance_lock.h"

namespace qv::platform {

// How long a change waits for another one to finish before it gives up.
inline constexpr std::chrono::milliseconds kKeyboardWriteLockWait{10000};

// The lock's name for the keyboard QUORVANE_SIMULATE chooses: one name for the real keyboard
// (the tool supports one), one per state file of the simulated keyboard.
std::string KeyboardLockName();

class KeyboardWriteLock {
public:
    KeyboardWriteLock() = default;
    ~KeyboardWriteLock();
    KeyboardWriteLock(const KeyboardWriteLock&) = delete;
    KeyboardWriteLock& operator=(const KeyboardWriteLock&) = delete;

    // Waits up to `wait` for the lock file `name` in `folder`. False, with a one-line reason in
    // `error`, when another holder keeps it all that time or the file cannot be opened.
    bool Take(std::string_view name, std::chrono::milliseconds wait, std::string* error,
              const std::filesystem::path& folder = RuntimeFolder());
    void Release();
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace qv::platform
