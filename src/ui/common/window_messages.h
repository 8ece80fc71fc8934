#pragma once
// Message numbers and wParam tags of the main window, its timers and tray icons; its control
// ids are the model's (core/mainwin/control_ids.h). A handler acts only when
// the wParam carries its tag.

#include <cstdint>

#include "core/mainwin/control_ids.h"
#include "platform/assignments_notice.h"

namespace qv::ui {

inline constexpr std::uint32_t kWindowTag = 0x4D41494E;

inline constexpr std::uint32_t MSG_INSTANCE_KILL = 0x4D4B;
inline constexpr std::uint32_t kInstanceKillTag = 0x4C4C494B;
inline constexpr std::uint32_t MSG_INSTANCE_OPEN = 0x5350;
inline constexpr std::uint32_t kInstanceOpenTag = 0x4F50454E;
inline constexpr std::uint32_t MSG_DEFERRED_INIT = 0x4D4E;
inline constexpr std::uint32_t kDeferredInitTag = 0x494E4954;
inline constexpr std::uint32_t MSG_PROFILE_RELOAD = 0x5452;
inline constexpr std::uint32_t kProfileReloadTag = 0x50524F46;
inline constexpr std::uint32_t MSG_DEVICE_GONE = 0x4753;
inline constexpr std::uint32_t MSG_STATUS_CHANGED = 0x5045;
inline constexpr std::uint32_t kStatusChangedTag = 0x004C4544;
// quorvanectl changed the keyboard's assignments or macros (sent through the instance channel).
inline constexpr std::uint32_t MSG_ASSIGNMENTS_CHANGED = platform::kMsgAssignmentsChanged;
inline constexpr std::uint32_t kAssignmentsChangedTag = platform::kAssignmentsChangedTag;
// Posted to the window, it runs Apply (nothing on this platform posts it by itself).
inline constexpr std::uint32_t WM_TIMECHANGE_MSG = 0x001E;

inline constexpr int kTimerBusy = 1050;
inline constexpr int kTimerLightingReload = 1051;
inline constexpr int kTimerPreview = 1052;

inline constexpr std::uint32_t kTrayCallbackMessage = 0x06BD;
inline constexpr int kTrayIconId = 140;
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconMacro = 142;


}  // namespace qv::ui
