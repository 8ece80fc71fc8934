#pragma once
// The tool's own words: every message, prompt and caption, read once at start from the language
// section of Skins/language.ini, with compiled-in texts until then.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace qv {

// Keys of the text table, in load order.
enum class TextId : std::size_t {
    MACRO_ACTION_RECORD_DELAY,
    MACRO_NEW_PREFIX,
    MACRO_ERR_MAX,
    MACRO_ERR_SAME,
    MACRO_ERR_NAME_SYSTEM,
    MACRO_DEFAULT_NAME,
    MACRO_ERR_RECORD,
    MACRO_KEYS_TISHI,
    MACRO_ACTION_TISHI,
    MACRO_DELAY_MS,
    MACRO_ACTION_CLEAR_CONFIRM,
    MACRO_ACTION_ERR_MODIFY,
    MACRO_ACTION_ERR_DELAY_MIN,
    MACRO_ACTION_ERR_DELAY_MAX,
    MACRO_ACTION_RECORD,
    MACRO_ACTION_STOP_RECORD,
    EXTRA_MACRO_TOO_LONG,
    UNKNOWN_KEY,
    MEDIA_PALYER_1,
    MEDIA_PALY_PAUSE_2,
    MEDIA_STOP_PALY_3,
    MEDIA_PREV_TRACK_4,
    MEDIA_Next_TRACK_5,
    MEDIA_V_LOW_6,
    MEDIA_V_ADD_7,
    MEDIA_MUTE_8,
    MEDIA_WWW_HOME_9,
    MEDIA_WWW_REFRESH_10,
    MEDIA_WWW_STOP_11,
    MEDIA_WWW_BACK_12,
    MEDIA_WWW_FORWARD_13,
    MEDIA_WWW_FAVORITE_14,
    MEDIA_WWW_SEARCH_15,
    MEDIA_MY_PC_16,
    MEDIA_CALC_17,
    MEDIA_MAIL_18,
    FUNC_KEY_DESC1,
    FUNC_KEY_DESC2,
    FUNC_KEY_DESC3,
    FUNC_KEY_DESC4,
    FUNC_KEY_DESC5,
    FUNC_KEY_DESC6,
    FUNC_KEY_DESC7,
    FUNC_KEY_DESC8,
    FUNC_KEY_DESC9,
    FUNC_KEY_DESC10,
    FUNC_KEY_DESC11,
    APPLY_PROMPT,
    MACRO_DELETE_CONFIRM_OF_KEYS,
    KEY_PROMPT,
    KEY_PROMPT_SET,
    KEY_PROMPT_SINGLE,
    KEY_PROMPT_MACRO,
    KEY_PROMPT_MEDIA,
    KEY_PROMPT_FUNCTION,
    DEFAULT_PROFILE_NAME,
    PROFILE_SELECT_PROMPT,
    PROFILE_SEELCT_PROMPT2,
    PROFILE_SELECT_PROMPT3,
    PROFILE_LOAD_PROMPT,
    PROFILE_CHECK_PROMPT,
    PROFILE_FORMAT_ERROR,
    PROFILE_NEW,
    PROFILE_TIP,
    PROFILE_EDITING,
    EXTRA_PROFILE_SPACE_TIGHT,
    MAIN_UPDATE_ERROR_TEXT,
    MAIN_BOOT_ERROR_TEXT,
    MAIN_SHELL_ERROR_TEXT,
    MAIN_UPDATE_BACKUP_OK,
    MAIN_UPDATE_BACKUP_NG,
    KEYBOARD_TRAY_DESC,
    MAIN_CAPTION,
    MAIN_HELP_PROMPT,
    MAIN_MINIMIZE_PROMPT,
    MAIN_MENU_PROMPT,
    MAIN_CLOSE_PROMPT,
    MAIN_BUTTON_ZERVAL_VER,
    MAIN_PROMPT_DEFAULT,
    MAIN_PROMPT_INPORT,
    MAIN_PROMPT_DRIVER_TEXT,
    MAIN_PROMPT_DRIVER_TITLE,
    MAIN_SWITCH_FUNCTION_TEXT,
    MAIN_SWITCH_COLOR_TEXT,
    MAIN_DEFAULT_MATRIX_PROMPT,
    MAIN_NO_DEVICE_PROMPT,
    EXTRA_NO_ON_SCREEN_KEYBOARD,
    MAIN_PROMPT_CHANGED_ELSEWHERE,
    MAIN_PROMPT_NO_ACCESS,
    MAIN_PROMPT_APPLY_FAILED,
    MAIN_PROMPT_NOT_READ,
    MAIN_PROMPT_KEEP_EDITS,
    MAIN_PROMPT_EDITOR_CLOSED,
    MAIN_PROMPT_KEYBOARD_BUSY,
    MAIN_PROMPT_HELP_PAGE,
    MAIN_PROMPT_APPLY_PARTIAL,
    MAIN_PROMPT_IMPORT_NOT_SENT,
    MAIN_PROMPT_IMPORT_PARTIAL,
    MAIN_PROMPT_IMPORT_NOT_DONE,
    MAIN_PROMPT_IMPORT_UNREADABLE,
    PROFILE_WRITE_FAILED,
    PROFILE_SEND_NOT_TAKEN,
    PROFILE_SEND_PARTIAL,
    PROFILE_SEND_NOT_SAVED,
    DOWNLOAD_TOOK_MACROS,
    DOWNLOAD_TOOK_PROFILE,
    DOWNLOAD_TOOK_NOTHING,
    DOWNLOAD_TOOK_SEPARATOR,
    Count
};

// The main window's caption set, read separately when the main window is built.
enum class CaptionId : std::size_t {
    PROFILE_1,
    PROFILE_2,
    PROFILE_3,
    PROFILE_MACRO,
    PROFILE_DEFAULT,
    PROFILE_OK,
    PROFILE_CANCLE,
    PROFILE_APPLY,
    MAIN_MINIMIZE_PROMPT,
    MAIN_MENU_PROMPT,
    MAIN_CLOSE_PROMPT,
    Count
};

struct TextEntry {
    const char* key;
    const char* initial;
    std::size_t capacity;  // characters, terminator included
};

const TextEntry& TextEntryOf(TextId id);
const TextEntry& CaptionEntryOf(CaptionId id);

inline constexpr std::string_view kLanguageSection = "LANGUAGE";
inline constexpr std::string_view kLanguageKey = "language";

// "ENGINSH" when the file's language value is 1, "CHINESE" for anything else (a missing file too).
std::string LanguageSection(const std::filesystem::path& languageFile);

void LoadTextTable(const std::filesystem::path& languageFile);
void LoadCaptionSet(const std::filesystem::path& languageFile);
// Back to the compiled-in texts (tests).
void ResetTextTable();

const std::string& Text(TextId id);
const std::string& Caption(CaptionId id);

// Texts read on demand by the about box, the menus and the editors: language rule, default " ".
std::string ReadLanguageText(const std::filesystem::path& languageFile, std::string_view key);

}  // namespace qv
