#pragma once
// Which keyboard a process talks to, from QUORVANE_SIMULATE. Only the values below choose the
// simulated keyboard; unset or empty means the real one. Any other value is refused rather than
// read as "on": QUORVANE_SIMULATE=0 meant as "off" must not quietly change the simulator's memory
// while the user believes the real keyboard took the change.
//
// Header-only: the HID service library reads it without linking the platform layer.

#include <cstdlib>
#include <string>
#include <string_view>

namespace qv::platform {

inline constexpr const char* kSimulateVariable = "QUORVANE_SIMULATE";

enum class SimulateSetting {
    RealKeyboard,  // unset or empty
    Attached,      // "1": the simulated keyboard, plugged in
    Detached,      // "detached": the simulated keyboard, not plugged in at the start
    Inaccessible,  // "inaccessible": plugged in, but its nodes refuse to open
    Invalid,       // anything else
};

inline SimulateSetting ParseSimulateSetting(const char* value) {
    if (value == nullptr || *value == '\0') return SimulateSetting::RealKeyboard;
    const std::string_view v(value);
    if (v == "1") return SimulateSetting::Attached;
    if (v == "detached") return SimulateSetting::Detached;
    if (v == "inaccessible") return SimulateSetting::Inaccessible;
    return SimulateSetting::Invalid;
}

inline SimulateSetting SimulateSettingFromEnvironment() {
    return ParseSimulateSetting(std::getenv(kSimulateVariable));
}

// The one-line message for a value that is refused.
inline std::string InvalidSimulateMessage(const char* value) {
    return std::string(kSimulateVariable) + "='" + (value != nullptr ? value : "") +
           "' is not understood: 1 chooses the simulated keyboard (detached: not plugged in, inaccessible: "
           "without access), unset or empty the real keyboard";
}

}  // namespace qv::platform
