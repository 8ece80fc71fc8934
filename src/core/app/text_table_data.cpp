// Keys, compiled-in texts and capacities of the text table and the caption set.
#include "core/app/text_table.h"

#include <array>

namespace qv {
namespace {

constexpr std::size_t kText = 260;

constexpr std::array<TextEntry, static_cast<std::size_t>(TextId::Count)> kTextEntries{{
    {"MACRO_ACTION_RECORD_DELAY", "RecordDelay", kText},
    {"MACRO_NEW_PREFIX", "Macro", kText},
    {"MACRO_ERR_MAX", "The maximum number of macro: %d   ", kText},
    {"MACRO_ERR_SAME", "Same macro name!   ", kText},
    {"MACRO_ERR_NAME_SYSTEM", "This macro is used in the system! ", kText},
    {"MACRO_DEFAULT_NAME", "Empty Macro", kText},
    {"MACRO_ERR_RECORD", "Please stop the macro record first! ", kText},
    {"MACRO_KEYS_TISHI", "hello world", kText},
    {"MACRO_ACTION_TISHI", "hello world", kText},
    {"MACRO_DELAY_MS", "hello world", kText},
    {"MACRO_ACTION_CLEAR_CONFIRM", "Really need to clear the macro action? ", kText},
    {"MACRO_ACTION_ERR_MODIFY", "You can not edit, use the macro record button. ", kText},
    {"MACRO_ACTION_ERR_DELAY_MIN", "Minimum delay time is: %d(ms) ", kText},
    {"MACRO_ACTION_ERR_DELAY_MAX", "Maximum delay time is: %d(ms) ", kText},
    {"MACRO_ACTION_RECORD", "Record", kText},
    {"MACRO_ACTION_STOP_RECORD", "Stop Record", kText},
    {"EXTRA_MACRO_TOO_LONG", "Macro space exceeds the hardware space.\r\n Please reduce the number of macros or macro action number，and then download.", kText},
    {"UNKNOWN_KEY", "Unknown Key: %03x", kText},
    {"MEDIA_PALYER_1", "Hello world", kText},
    {"MEDIA_PALY_PAUSE_2", "Hello world", kText},
    {"MEDIA_STOP_PALY_3", "Hello world", kText},
    {"MEDIA_PREV_TRACK_4", "Hello world", kText},
    {"MEDIA_Next_TRACK_5", "Hello world", kText},
    {"MEDIA_V_LOW_6", "Hello world", kText},
    {"MEDIA_V_ADD_7", "Hello world", kText},
    {"MEDIA_MUTE_8", "Hello world", kText},
    {"MEDIA_WWW_HOME_9", "Hello world", kText},
    {"MEDIA_WWW_REFRESH_10", "Hello world", kText},
    {"MEDIA_WWW_STOP_11", "Hello world", kText},
    {"MEDIA_WWW_BACK_12", "Hello world", kText},
    {"MEDIA_WWW_FORWARD_13", "Hello world", kText},
    {"MEDIA_WWW_FAVORITE_14", "Hello world", kText},
    {"MEDIA_WWW_SEARCH_15", "Hello world", kText},
    {"MEDIA_MY_PC_16", "Hello world", kText},
    {"MEDIA_CALC_17", "Hello world", kText},
    {"MEDIA_MAIL_18", "Hello world", kText},
    {"FUNC_KEY_DESC1", "Open", kText},
    {"FUNC_KEY_DESC2", "New", kText},
    {"FUNC_KEY_DESC3", "Undo", kText},
    {"FUNC_KEY_DESC4", "Save", kText},
    {"FUNC_KEY_DESC5", "Copy", kText},
    {"FUNC_KEY_DESC6", "Cut", kText},
    {"FUNC_KEY_DESC7", "Paste", kText},
    {"FUNC_KEY_DESC8", "Find", kText},
    {"FUNC_KEY_DESC9", "Select All", kText},
    {"FUNC_KEY_DESC10", "Zoom-", kText},
    {"FUNC_KEY_DESC11", "Zoom+", kText},
    {"APPLY_PROMPT", "No Use!", kText},
    {"MACRO_DELETE_CONFIRM_OF_KEYS", "Detect some key points to set this macro, \n  really need to remove this macro?  ", kText},
    {"KEY_PROMPT", "No Use!", kText},
    {"KEY_PROMPT_SET", "Keys, Set: ", kText},
    {"KEY_PROMPT_SINGLE", "Key(", kText},
    {"KEY_PROMPT_MACRO", "Macro(", kText},
    {"KEY_PROMPT_MEDIA", "Media(", kText},
    {"KEY_PROMPT_FUNCTION", "Function(", kText},
    {"DEFAULT_PROFILE_NAME", "<Default Profile>", kText},
    {"PROFILE_SELECT_PROMPT", "Whether to save the profile settings made?", kText},
    {"PROFILE_SEELCT_PROMPT2", "When fast switch scene mode, you must first close the editor dialog box.", kText},
    {"PROFILE_SELECT_PROMPT3", "Scene mode are editing, whether to give up the modification and change its mode?", kText},
    {"PROFILE_LOAD_PROMPT", "Switch scene mode will automatically stop the macro play!", kText},
    {"PROFILE_CHECK_PROMPT", "Scene mode file does not exist, load the default Settings!", kText},
    {"PROFILE_FORMAT_ERROR", "wrong file format, revert to the default values: \n  %s", kText},
    {"PROFILE_NEW", "\\The new contextual  mode", kText},
    {"PROFILE_TIP", "The current contextual  mode: ", kText},
    {"PROFILE_EDITING", "You are editing, set not applications, can't change its mode", kText},
    {"EXTRA_PROFILE_SPACE_TIGHT", "shortage of hardware space, cancelled the macro name of storage.", kText},
    {"MAIN_UPDATE_ERROR_TEXT", "请选择正确的更新文件! ", 14},
    {"MAIN_BOOT_ERROR_TEXT", "无法进入Boot模式! ", 14},
    {"MAIN_SHELL_ERROR_TEXT", "无法执行更新文件! ", 12},
    {"MAIN_UPDATE_BACKUP_OK", "备份成功!", 6},
    {"MAIN_UPDATE_BACKUP_NG", "备份失败,请重新备份!", 12},
    {"KEYBOARD_TRAY_DESC", "Velmorak", kText},
    {"MAIN_CAPTION", "Gaming Keyboard Settings", kText},
    {"MAIN_HELP_PROMPT", "Help", kText},
    {"MAIN_MINIMIZE_PROMPT", "Minimize", kText},
    {"MAIN_MENU_PROMPT", "Menu", kText},
    {"MAIN_CLOSE_PROMPT", "Close", kText},
    {"MAIN_BUTTON_ZERVAL_VER", "", kText},
    {"MAIN_PROMPT_DEFAULT", "Do you want to restore the default settings?", kText},
    {"MAIN_PROMPT_INPORT", "File format error, import failed! ", kText},
    {"MAIN_PROMPT_DRIVER_TEXT", "Detects that the driver is not installed keyboard, \r\npress [OK] to start the driver installation!", kText},
    {"MAIN_PROMPT_DRIVER_TITLE", "Velmorak", kText},
    {"MAIN_SWITCH_FUNCTION_TEXT", "Switch to the color keys mode", kText},
    {"MAIN_SWITCH_COLOR_TEXT", "Switch to the function keys mode", kText},
    {"MAIN_DEFAULT_MATRIX_PROMPT", "Reads the default keyboard layout failure", kText},
    {"MAIN_NO_DEVICE_PROMPT", "Device is not detected，the key settings can not be displayed! ", kText},
    {"EXTRA_NO_ON_SCREEN_KEYBOARD", "No on-screen keyboard is installed. ", kText},
    {"MAIN_PROMPT_CHANGED_ELSEWHERE", "The key assignments or macros in the keyboard were changed by quorvanectl, and changes made here are not applied yet.\n\nLoad what the keyboard holds now and discard the changes made here? No keeps them; Apply then sends them to the keyboard.", kText},
    {"MAIN_PROMPT_NO_ACCESS", "The keyboard is plugged in, but access to it was refused. Install the udev rule that comes with Quorvane:%sIf the rule is installed already, unplug the keyboard and plug it in again.", kText},
}};

constexpr std::array<TextEntry, static_cast<std::size_t>(CaptionId::Count)> kCaptionEntries{{
    {"PROFILE_1", "hello", kText},
    {"PROFILE_2", "hello", kText},
    {"PROFILE_3", "hello", kText},
    {"PROFILE_MACRO", "hello", kText},
    {"PROFILE_DEFAULT", "hello", kText},
    {"PROFILE_OK", "hello", kText},
    {"PROFILE_CANCLE", "hello", kText},
    {"PROFILE_APPLY", "hello", kText},
    {"MAIN_MINIMIZE_PROMPT", "Minimize", kText},
    {"MAIN_MENU_PROMPT", "Menu", kText},
    {"MAIN_CLOSE_PROMPT", "Close", kText},
}};

}  // namespace

const TextEntry& TextEntryOf(TextId id) { return kTextEntries.at(static_cast<std::size_t>(id)); }
const TextEntry& CaptionEntryOf(CaptionId id) {
    return kCaptionEntries.at(static_cast<std::size_t>(id));
}

}  // namespace qv
