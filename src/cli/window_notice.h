#pragma once
// Tells the running Quorvane window, if there is one, that quorvanectl changed the keyboard.

namespace qv::cli {

void NotifyRunningWindow();

}  // namespace qv::cli
