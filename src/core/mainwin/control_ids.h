#pragma once
// Control ids of the main window (dialog 102) and its menu commands: the model decides what a
// click on each does, the window binds its widgets by them.

namespace qv::ui::id {

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

}  // namespace qv::ui::id
