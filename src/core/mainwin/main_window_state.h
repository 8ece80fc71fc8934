#pragma once
// The state of the main window, read by the device threads as well as the window's own. The
// keyboard count, the macro capacity and the status report stay with the presence worker and the
// listener that own them (KeyboardFacts); there is no second copy here.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qv::mainwin {

// Set once, by the window's deferred initialisation. A presence worker that waits for it is woken
// the moment it is set: the window opens as soon as it can, not at the next look.
class ReadyFlag {
public:
    void Set() {
        {
            std::lock_guard lock(mutex_);
            set_.store(true);
        }
        changed_.notify_all();
    }
    bool IsSet() const { return set_.load(); }
    // True once set; waits at most `atMost` for it.
    bool WaitFor(std::chrono::milliseconds atMost) const {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, atMost, [this] { return set_.load(); });
    }

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::atomic<bool> set_{false};
};

struct MainWindowState {
    std::atomic<int> autoOpen{0};
    // The keyboard's active on-board profile; -1 until read and after the keyboard leaves.
    std::atomic<int> activeProfile{-1};
    // The profile whose lighting and report rate the window shows (the lit profile button).
    std::atomic<int> shownProfile{0};
    std::atomic<int> reportRate{0};
    // Something changed that is not applied yet; the Apply button mirrors it.
    std::atomic<bool> editing{false};
    // The keyboard's assignments and macros were read since it arrived: until then no Apply may
    // send contents that were never read.
    std::atomic<bool> contentsRead{false};
    // Set by the deferred initialisation; the presence workers wait for it.
    ReadyFlag ready;
};

}  // namespace qv::mainwin
