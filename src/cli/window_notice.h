#pragma once
// Tells the running Quorvane window, if there is one, that quorvanectl changed the keyboard.

#include <cstdint>

namespace qv::cli {

void NotifyRunningWindow(std::uint32_t tag);

}  // namespace qv::cli
