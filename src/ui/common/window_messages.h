#pragma once
// Message numbers and wParam tags of the main window, and its timers. A handler acts only when
// the wParam carries its tag.

#include <cstdint>

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

// Control ids of dialog 102.
namespace id {
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kProfiles = 1005;
inline constexpr int kApply = 1006;
inline constexpr int kMacro = 1007;
inline constexpr int kLink = 1121;
inline constexpr int kHelp = 1122;
inline constexpr int kMinimize = 1123;
inline constexpr int kClose = 1124;
inline constexpr int kLockCaps = 1125;
inline constexpr int kLockNum = 1126;
inline constexpr int kLockScroll = 1127;
inline constexpr int kBankAB = 1128;
inline constexpr int kFlip0 = 1129;
inline constexpr int kFlip1 = 1130;
inline constexpr int kFlip2 = 1131;
inline constexpr int kLeftArrow = 1132;
inline constexpr int kRightArrow = 1133;
inline constexpr int kVersion = 1134;
inline constexpr int kProfile1 = 1135;
inline constexpr int kProfile2 = 1136;
inline constexpr int kProfile3 = 1137;
inline constexpr int kDefault = 1138;
inline constexpr int kMenu = 1139;
inline constexpr int kSwitch = 1144;
inline constexpr int kReport1 = 1147;
inline constexpr int kReport2 = 1168;
inline constexpr int kReport3 = 1169;
inline constexpr int kReport4 = 1170;
inline constexpr int kFn = 1174;
inline constexpr int kBusyPicture = 1177;
inline constexpr int kEffectList = 1146;
inline constexpr int kUsbLabel = 1204;
inline constexpr int kFirstD = 1016;  // D1..D6 = 1016..1021
inline constexpr int kEnterKey = 1070;
inline constexpr int kBracketKey = 1055;
inline constexpr int kF1 = 1010;      // F1..F5 = 1010..1014
inline constexpr int kG9 = 1143;

// Menu commands.
inline constexpr int kCmdOpen = 32771;
inline constexpr int kCmdAbout = 32773;
inline constexpr int kCmdExit = 32774;
inline constexpr int kCmdImport = 32776;
inline constexpr int kCmdExport = 32777;
inline constexpr int kCmdUpdate = 32780;
inline constexpr int kSysAbout = 16;
}  // namespace id

}  // namespace qv::ui
