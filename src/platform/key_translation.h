#pragma once
// Linux input key codes (evdev KEY_*) to what a Windows keyboard hook would have been given for
// the same physical key: virtual-key code, scan-code-set-1 make code and the extended flag.
// The table is positional: it names the key by where it sits on a standard 104/105-key board,
// whatever layout the user has chosen, as the keyboard itself reports it.

#include <cstdint>
#include <optional>

namespace qv::platform {

// X11 and Wayland hand out the Linux key code plus this as the native scan code.
inline constexpr std::uint32_t kXkbKeycodeOffset = 8;

struct WindowsKey {
    std::uint8_t vk = 0;
    std::uint8_t scanCode = 0;  // make code without the E0 prefix
    bool extended = false;      // E0-prefixed; lParam bit 24
    // Windows hands Print Screen, Sys Req, KL and KR to the hooks only on release.
    bool releaseOnly = false;
    bool operator==(const WindowsKey&) const = default;
};

// The part of the keyboard state that changes what Windows reports for a key.
struct KeyTranslationState {
    bool numLockOff = false;  // the numeric pad reports its navigation codes
    bool ctrl = false;        // Pause reports as Break
    bool alt = false;         // Print Screen reports as Sys Req
};

// nullopt for codes no catalogue key stands for (mouse buttons, brightness, ...).
std::optional<WindowsKey> WindowsKeyFromLinuxKey(std::uint16_t linuxKeyCode,
                                                 const KeyTranslationState& state = {});

// The hook lParam: repeat count 1, scan code, extended bit, previous-state bit 30 (set for
// auto-repeats and every release) and transition bit 31 (release).
std::uint32_t KeyEventLParam(const WindowsKey& key, bool release, bool autoRepeat);

}  // namespace qv::platform
