#pragma once
// Keyboard arrival and removal: one short worker thread per change of the keyboard count. On
// arrival it reads the factory key layout and the global block, then has the main window reload
// the profile; on removal it forgets the active profile and has the window close its dialogs and
// hide. Workers run one after another, so the last known count always decides whether a later
// one has anything to do.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <mutex>

#include "core/device/command_set.h"
#include "core/device/main_window_link.h"
#include "core/device/thread_group.h"
#include "protocol/key_matrix.h"

namespace qv::device {

class PresenceWorker {
public:
    PresenceWorker(CommandSet& commands, MainWindowLink& window);
    // Stops waiting for the window and joins the workers.
    ~PresenceWorker();
    PresenceWorker(const PresenceWorker&) = delete;
    PresenceWorker& operator=(const PresenceWorker&) = delete;

    // Starts a worker thread for this keyboard count.
    void Launch(int count);
    // The worker's body, on the calling thread.
    void Run(int count);
    void WaitForWorkers() { workers_.JoinAll(); }
    // Workers stop waiting for the window and new ones do nothing.
    void RequestStop() { stopping_.store(true); }

    int LastKnownCount() const { return lastKnownCount_.load(); }
    // The keyboard's factory key matrix as last read (the built-in copy until then).
    KeyMatrix FactoryLayout() const;
    // GlobalBlock byte 11 x 128 as last read; 0 until then.
    std::size_t MacroCapacityBytes() const { return macroCapacity_.load(); }

    // How often a worker waiting for the window's deferred initialisation looks whether it is
    // asked to stop.
    std::chrono::milliseconds stopPoll{50};

private:
    CommandSet& commands_;
    MainWindowLink& window_;
    std::mutex runMutex_;  // one worker body at a time
    std::atomic<int> lastKnownCount_{0};
    std::atomic<std::size_t> macroCapacity_{0};
    std::atomic<bool> stopping_{false};
    ThreadGroup workers_;
};

}  // namespace qv::device
