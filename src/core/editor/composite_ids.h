#pragma once
// Control ids of the key editor (dialog 134), shared by its models and its dialog.

namespace qv::composite_id {

inline constexpr int kDialog = 134;
inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kApply = 1015;
inline constexpr int kAddMacro = 1017;
inline constexpr int kDeleteMacro = 1018;
inline constexpr int kActionList = 1019;
inline constexpr int kRecord = 1020;
inline constexpr int kDeleteAction = 1021;
inline constexpr int kClearActions = 1022;
inline constexpr int kActionToTop = 1023;
inline constexpr int kActionUp = 1024;
inline constexpr int kActionDown = 1025;
inline constexpr int kActionToBottom = 1026;
inline constexpr int kRecordDelay = 1027;
inline constexpr int kPageSingleKey = 1028;
inline constexpr int kPageMacro = 1029;
inline constexpr int kPageMedia = 1030;
inline constexpr int kPageFunction = 1031;
inline constexpr int kClear = 1032;
inline constexpr int kPagePicture = 1033;
inline constexpr int kRepeatCount = 1125;
inline constexpr int kMacroSelector = 1126;
inline constexpr int kKeyEdit = 1127;
inline constexpr int kMediaList = 1128;
inline constexpr int kFunctionList = 1129;
inline constexpr int kRepeatCountLabel = 1130;
inline constexpr int kTitle = 1131;
inline constexpr int kOnScreenKeyboard = 1132;
inline constexpr int kRecordDelayLabel = 1133;
inline constexpr int kKeySettingLabel = 1199;
inline constexpr int kMacroNameLabel = 1200;
inline constexpr int kSingleKeyLabel = 1201;
inline constexpr int kMediaLabel = 1202;
inline constexpr int kFunctionLabel = 1203;

}  // namespace qv::composite_id
