#pragma once
// Messages of the main window: each number and the wParam tag its handler checks (a handler acts
// only when the wParam carries its tag). The instance messages come from other processes through
// the instance channel (a second start, quorvanectl), so a running window and those programs must
// agree on these values; the device threads post the others.

#include <cstdint>

namespace qv::protocol {

// The tag a main window carries so that another process can tell it is ours.
inline constexpr std::uint32_t kWindowTag = 0x4D41494E;

// From another process.
inline constexpr std::uint32_t kMsgInstanceKill = 0x4D4B;  // "/Kill": the running window ends
inline constexpr std::uint32_t kInstanceKillTag = 0x4C4C494B;
inline constexpr std::uint32_t kMsgInstanceOpen = 0x5350;  // a second start: show the window
inline constexpr std::uint32_t kInstanceOpenTag = 0x4F50454E;
// quorvanectl changed the keyboard's assignments or macros.
inline constexpr std::uint32_t kMsgAssignmentsChanged = 0x4B43;
inline constexpr std::uint32_t kAssignmentsChangedTag = 0x4B455953;
// The same message when quorvanectl changed the active profile or the lighting only.
inline constexpr std::uint32_t kSettingsChangedTag = 0x53455454;

// From the window itself and the device threads.
inline constexpr std::uint32_t kMsgDeferredInit = 0x4D4E;
inline constexpr std::uint32_t kDeferredInitTag = 0x494E4954;
inline constexpr std::uint32_t kMsgProfileReload = 0x5452;
inline constexpr std::uint32_t kProfileReloadTag = 0x50524F46;
inline constexpr std::uint32_t kMsgDeviceGone = 0x4753;
inline constexpr std::uint32_t kDeviceGoneTag = 0;
inline constexpr std::uint32_t kMsgStatusChanged = 0x5045;
inline constexpr std::uint32_t kStatusChangedTag = 0x004C4544;
// The system's time-change message; posted to the window it runs Apply (nothing on this platform
// posts it by itself).
inline constexpr std::uint32_t kMsgTimeChange = 0x001E;

}  // namespace qv::protocol
