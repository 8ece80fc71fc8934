#pragma once
// The main window's messages under the names its handlers use, its timers and tray icons; its
// control ids are the model's (core/mainwin/control_ids.h). The numbers and wParam tags are
// defined once, in protocol/window_messages.h, and the icons in core/device/main_window_link.h;
// the names here refer to those. A handler acts only when the wParam carries its tag.

#include <cstdint>

#include "core/device/main_window_link.h"
#include "core/mainwin/control_ids.h"
#include "protocol/window_messages.h"

namespace qv::ui {

using protocol::kWindowTag;

inline constexpr const std::uint32_t& MSG_INSTANCE_KILL = protocol::kMsgInstanceKill;
using protocol::kInstanceKillTag;
inline constexpr const std::uint32_t& MSG_INSTANCE_OPEN = protocol::kMsgInstanceOpen;
using protocol::kInstanceOpenTag;
inline constexpr const std::uint32_t& MSG_DEFERRED_INIT = protocol::kMsgDeferredInit;
using protocol::kDeferredInitTag;
inline constexpr const std::uint32_t& MSG_PROFILE_RELOAD = protocol::kMsgProfileReload;
using protocol::kProfileReloadTag;
inline constexpr const std::uint32_t& MSG_DEVICE_GONE = protocol::kMsgDeviceGone;
inline constexpr const std::uint32_t& MSG_STATUS_CHANGED = protocol::kMsgStatusChanged;
using protocol::kStatusChangedTag;
// quorvanectl changed the keyboard's assignments or macros (sent through the instance channel).
inline constexpr const std::uint32_t& MSG_ASSIGNMENTS_CHANGED = protocol::kMsgAssignmentsChanged;
using protocol::kAssignmentsChangedTag;
using protocol::kSettingsChangedTag;
// Posted to the window, it runs Apply (nothing on this platform posts it by itself).
inline constexpr const std::uint32_t& WM_TIMECHANGE_MSG = protocol::kMsgTimeChange;

inline constexpr int kTimerBusy = 1050;
using device::kTimerLightingReload;
inline constexpr int kTimerPreview = 1052;

inline constexpr std::uint32_t kTrayCallbackMessage = 0x06BD;
inline constexpr int kTrayIconId = 140;
using device::kIconKeyboard;
using device::kIconNoKeyboard;
// The keyboard's alternate icon.
inline constexpr const int& kIconMacro = device::kIconAlternate;

}  // namespace qv::ui
