#pragma once
// The process-wide state of the main window, shared with the device threads.

#include <array>
#include <atomic>
#include <cstdint>

namespace qv::ui {

class CQuorvaneDlg;

struct MainWindowState {
    std::atomic<CQuorvaneDlg*> window{nullptr};
    std::atomic<int> autoOpen{0};
    std::atomic<int> keyboardCount{0};
    std::atomic<int> activeProfile{-1};
    std::atomic<int> macroCapacity{0};
    std::atomic<int> shownProfile{0};
    std::atomic<int> reportRate{0};
    std::atomic<bool> editing{false};
    std::atomic<bool> ready{false};
};

MainWindowState& MainState();
// Back to the start values (tests).
void ResetMainState();

}  // namespace qv::ui
