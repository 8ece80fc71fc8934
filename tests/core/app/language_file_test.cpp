// The language file that ships in Skins/: every text the program reads must be there in both
// languages, fit its buffer and keep the printf fields its caller fills.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/ini_file.h"
#include "core/app/text_table.h"

namespace qv {
namespace {

const std::filesystem::path kLanguageFile = QV_BIN_DIR "/Skins/language.ini";
constexpr std::array<std::string_view, 2> kSections{"ENGINSH", "CHINESE"};

// Keys read on demand by the about box, the two popup menus and the key editor.
constexpr std::array<std::string_view, 46> kOnDemandKeys{
    "GUANYU_JIESHAO", "GUANYU_BANQUAN", "MENU_1", "MENU_2", "MENU_3", "MENU_4", "CHINESE_5",
    "ENGINSH_6", "MENU_11", "MENU_22", "MENU_33", "SINGLE_KEY", "MACRO_SETTING", "MULTI_MEDIA",
    "FUNCTION_KEY", "A_TOP", "A_UP", "A_DOWN", "A_BOTTOM", "A_RECORD", "A_DELETE", "A_CLEAR",
    "MACRO_OK", "MACRO_CANCLE", "MACRO_CYCLES", "RECORD_DELAY", "SINGLE_STATIC",
    "MACRO_NAME_SETTING", "KEY_SETTING_TISHI", "MACRO_EDIT_TISHI", "MEDIA_EDIT_TISHI",
    "FUNCTION_TISHI", "COMPOSITE_PROMPT_CLEAR", "COMPOSITE_PROMPT_OSK",
    "PROFILE_LIST_ACTIVE", "PROFILE_LIST_NAME", "PROFILE_LIST_PATH", "PROFILE_BUTTON_NEW",
    "PROFILE_BUTTON_LOAD", "PROFILE_BUTTON_DELETE", "UPDATE_PROMPT", "UPDATE_BUTTON_CHOOSE",
    "UPDATE_BUTTON_UPDATE", "UPDATE_BUTTON_BACKUP", "UPDATE_FILTER_EXECUTABLES", "ABOUT_FIRMWARE_UPDATE"};

struct KeyInfo {
    std::string key;
    std::string initial;
    std::size_t capacity;
};

std::vector<KeyInfo> TableKeys() {
    std::vector<KeyInfo> keys;
    for (std::size_t i = 0; i < static_cast<std::size_t>(TextId::Count); ++i) {
        const TextEntry& e = TextEntryOf(static_cast<TextId>(i));
        keys.push_back({e.key, e.initial, e.capacity});
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(CaptionId::Count); ++i) {
        const TextEntry& e = CaptionEntryOf(static_cast<CaptionId>(i));
        keys.push_back({e.key, e.initial, e.capacity});
    }
    return keys;
}

// The printf conversions of a text in order ("%d", "%03x", ...); "%%" is none, and a '%' that
// starts no valid conversion is kept as "%?" so a broken field shows up as a difference.
std::vector<std::string> Conversions(std::string_view text) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        const auto isOneOf = [&](std::size_t at, std::string_view set) {
            return at < text.size() && set.find(text[at]) != std::string_view::npos;
        };
        std::size_t j = i + 1;
        while (isOneOf(j, "-+ #0")) ++j;
        while (isOneOf(j, "0123456789.")) ++j;
        while (isOneOf(j, "hlLqjzt")) ++j;
        if (isOneOf(j, "diouxXeEfgGcsp")) {
            out.emplace_back(text.substr(i, j - i + 1));
            i = j;
        } else {
            out.emplace_back("%?");
        }
    }
    return out;
}

std::size_t CharCount(std::string_view text) {
    // UTF-8 continuation bytes do not start a character.
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

bool IsPlaceholder(std::string value) {
    std::transform(value.begin(), value.end(), value.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return value == "hello world" || value == "hello" || value == "no use!";
}

std::string Upper(std::string_view s) {
    std::string u(s);
    std::transform(u.begin(), u.end(), u.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return u;
}

class LanguageFile : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(std::filesystem::exists(kLanguageFile)) << kLanguageFile;
        doc_ = ini::IniDocument::Load(kLanguageFile);
    }
    void TearDown() override { ResetTextTable(); }

    ini::IniDocument doc_;
};

TEST_F(LanguageFile, SelectsEnglishAndLoadsItsTexts) {
    EXPECT_EQ(doc_.GetInt("LANGUAGE", "language", 0), 1);
    EXPECT_EQ(LanguageSection(kLanguageFile), "ENGINSH");

    LoadTextTable(kLanguageFile);
    LoadCaptionSet(kLanguageFile);
    EXPECT_EQ(Text(TextId::MAIN_CAPTION), doc_.Get("ENGINSH", "MAIN_CAPTION", ""));
    EXPECT_EQ(Text(TextId::MEDIA_MAIL_18), doc_.Get("ENGINSH", "MEDIA_MAIL_18", ""));
    EXPECT_EQ(Caption(CaptionId::PROFILE_APPLY), doc_.Get("ENGINSH", "PROFILE_APPLY", ""));
    EXPECT_EQ(ReadLanguageText(kLanguageFile, "MENU_33"), doc_.Get("ENGINSH", "MENU_33", ""));
}

TEST_F(LanguageFile, EveryTableTextIsRealAndFitsItsBuffer) {
    for (const auto section : kSections) {
        for (const KeyInfo& k : TableKeys()) {
            SCOPED_TRACE(std::string(section) + "/" + k.key);
            const auto value = doc_.Find(section, k.key);
            ASSERT_TRUE(value.has_value());
            EXPECT_NE(value->find_first_not_of(" \t"), std::string::npos) << "blank";
            EXPECT_FALSE(IsPlaceholder(*value)) << *value;
            EXPECT_LE(CharCount(*value), k.capacity - 1) << *value;
        }
    }
}

TEST_F(LanguageFile, TextsKeepThePrintfFieldsTheirCallersFill) {
    for (const auto section : kSections) {
        for (const KeyInfo& k : TableKeys()) {
            SCOPED_TRACE(std::string(section) + "/" + k.key);
            EXPECT_EQ(Conversions(doc_.Get(section, k.key, "")), Conversions(k.initial));
        }
    }
    // The check itself must see the fields it compares.
    EXPECT_EQ(Conversions("Unknown Key: %03x"), std::vector<std::string>{"%03x"});
    EXPECT_EQ(Conversions("100%% %d%"), (std::vector<std::string>{"%d", "%?"}));
}

TEST_F(LanguageFile, TextsReadOnDemandArePresentInBothLanguages) {
    for (const auto section : kSections) {
        for (const auto key : kOnDemandKeys) {
            SCOPED_TRACE(std::string(section) + "/" + std::string(key));
            const auto value = doc_.Find(section, key);
            ASSERT_TRUE(value.has_value());
            EXPECT_NE(value->find_first_not_of(" \t"), std::string::npos) << "blank";
            EXPECT_LE(CharCount(*value), ini::kReadBufferChars - 1);
            EXPECT_TRUE(Conversions(*value).empty()) << *value;
        }
    }
}

TEST_F(LanguageFile, ValuesThatAreNamesRatherThanWordsStayUsable) {
    for (const auto section : kSections) {
        SCOPED_TRACE(section);
        // The record-delay option is stored under this name; a translation would lose the
        // user's choice whenever the language changes.
        EXPECT_EQ(doc_.Get(section, "MACRO_ACTION_RECORD_DELAY", ""),
                  TextEntryOf(TextId::MACRO_ACTION_RECORD_DELAY).initial);
        // Joined straight to a folder as the suggested file name of a new profile.
        const std::string newName = doc_.Get(section, "PROFILE_NEW", "");
        ASSERT_FALSE(newName.empty());
        EXPECT_EQ(newName.front(), '\\');
        EXPECT_EQ(newName.find_first_of("<>:\"/|?*", 1), std::string::npos) << newName;
        EXPECT_EQ(newName.find('\\', 1), std::string::npos) << newName;
    }
}

// A key written twice in a section silently hides the second text from every reader.
TEST_F(LanguageFile, NoKeyIsWrittenTwiceInASection) {
    std::ifstream in(kLanguageFile, std::ios::binary);
    std::string line;
    std::string section;
    std::map<std::string, int> seen;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == ';') continue;
        if (line[first] == '[') {
            section = Upper(line.substr(first + 1, line.find(']') - first - 1));
            continue;
        }
        const auto eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(first, eq - first);
        key.erase(key.find_last_not_of(" \t") + 1);
        EXPECT_EQ(++seen[section + "/" + Upper(key)], 1) << section << "/" << key;
    }
}

}  // namespace
}  // namespace qv
