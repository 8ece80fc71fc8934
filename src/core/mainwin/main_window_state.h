#pragma once
// The state of the main window, read by the device threads as well as the window's own. The
// keyboard count, the macro capacity and the status report stay with the presence worker and the
// listener that own them (KeyboardFacts); there is no second copy here.

#include <atomic>

namespace qv::mainwin {

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
    std::atomic<bool> ready{false};
};

}  // namespace qv::mainwin
