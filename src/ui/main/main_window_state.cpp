#include "ui/main/main_window_state.h"

namespace qv::ui {

MainWindowState& MainState() {
    static MainWindowState state;
    return state;
}

void ResetMainState() {
    MainWindowState& s = MainState();
    s.window = nullptr;
    s.autoOpen = 0;
    s.keyboardCount = 0;
    s.activeProfile = -1;
    s.macroCapacity = 0;
    s.shownProfile = 0;
    s.reportRate = 0;
    s.editing = false;
    s.ready = false;
}

}  // namespace qv::ui
