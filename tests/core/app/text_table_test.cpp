#include "core/app/text_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/app/user_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

class TextTableTest : public ::testing::Test {
protected:
    void TearDown() override { ResetTextTable(); }
    std::filesystem::path Write(const std::string& text) {
        const auto f = dir_.path() / "language.ini";
        std::ofstream(f, std::ios::binary) << text;
        return f;
    }
    test::TempDir dir_;
};

TEST_F(TextTableTest, CompiledInTextsHoldUntilLoaded) {
    ResetTextTable();
    EXPECT_EQ(Text(TextId::MACRO_ACTION_RECORD_DELAY), "RecordDelay");
    EXPECT_EQ(Text(TextId::UNKNOWN_KEY), "Unknown Key: %03x");
    EXPECT_EQ(Text(TextId::FUNC_KEY_DESC11), "Zoom+");
    EXPECT_EQ(Text(TextId::PROFILE_NEW), "\\The new contextual  mode");
    EXPECT_EQ(Caption(CaptionId::MAIN_CLOSE_PROMPT), "Close");
    // The short Chinese update texts are cut to their small buffers from the start.
    EXPECT_EQ(Text(TextId::MAIN_UPDATE_BACKUP_OK), "备份成功!");
}

TEST_F(TextTableTest, LanguageOneSelectsEnglishAnythingElseChinese) {
    EXPECT_EQ(LanguageSection(Write("[LANGUAGE]\nlanguage=1\n")), "ENGINSH");
    EXPECT_EQ(LanguageSection(Write("[LANGUAGE]\nlanguage=2\n")), "CHINESE");
    EXPECT_EQ(LanguageSection(Write("[LANGUAGE]\nlanguage=abc\n")), "CHINESE");
    EXPECT_EQ(LanguageSection(dir_.path() / "missing.ini"), "CHINESE");
}

TEST_F(TextTableTest, LoadReadsTheChosenSection) {
    const auto f = Write(
        "[LANGUAGE]\nlanguage=2\n[ENGINSH]\nMAIN_CAPTION=English\n[CHINESE]\nMAIN_CAPTION=中文\n");
    LoadTextTable(f);
    EXPECT_EQ(Text(TextId::MAIN_CAPTION), "中文");
}

TEST_F(TextTableTest, MissingKeyOrFileGivesASingleSpace) {
    LoadTextTable(Write("[LANGUAGE]\nlanguage=1\n[ENGINSH]\nMAIN_HELP_PROMPT=Help\n"));
    EXPECT_EQ(Text(TextId::MAIN_CAPTION), " ");
    EXPECT_EQ(Text(TextId::MAIN_HELP_PROMPT), "Help");

    LoadTextTable(dir_.path() / "missing.ini");
    LoadCaptionSet(dir_.path() / "missing.ini");
    EXPECT_EQ(Text(TextId::MACRO_ACTION_RECORD_DELAY), " ");
    EXPECT_EQ(Caption(CaptionId::PROFILE_1), " ");
}

TEST_F(TextTableTest, ValuesAreCutAtTheirCapacity) {
    LoadTextTable(Write("[LANGUAGE]\nlanguage=1\n[ENGINSH]\n"
                        "MAIN_UPDATE_BACKUP_OK=Backup succeeded\n"
                        "MAIN_SHELL_ERROR_TEXT=Cannot run the updater\n"
                        "MAIN_CAPTION=" + std::string(300, 'c') + "\n"));
    EXPECT_EQ(Text(TextId::MAIN_UPDATE_BACKUP_OK), "Backu");
    EXPECT_EQ(Text(TextId::MAIN_SHELL_ERROR_TEXT), "Cannot run ");
    EXPECT_EQ(Text(TextId::MAIN_CAPTION).size(), 259u);
}

TEST_F(TextTableTest, CaptionSetIsReadSeparately) {
    const auto f = Write("[LANGUAGE]\nlanguage=1\n[ENGINSH]\nPROFILE_1=Profile 1\n");
    LoadTextTable(f);
    EXPECT_EQ(Caption(CaptionId::PROFILE_1), "hello");
    LoadCaptionSet(f);
    EXPECT_EQ(Caption(CaptionId::PROFILE_1), "Profile 1");
}

TEST(FormatTextTest, FillsOnlyTheFirstMatchingConversion) {
    EXPECT_EQ(FormatText("Unknown Key: %03x", 0x1f), "Unknown Key: 01f");
    EXPECT_EQ(FormatText("The maximum number of macro: %d   ", 100),
              "The maximum number of macro: 100   ");
    EXPECT_EQ(FormatText("wrong file: %s", "/tmp/a.qvn"), "wrong file: /tmp/a.qvn");
    // Conversions the caller did not supply stay as text instead of reading garbage.
    EXPECT_EQ(FormatText("%s and %d", 5), "%s and 5");
    EXPECT_EQ(FormatText("%d %d %%", 7), "7 %d %");
    EXPECT_EQ(FormatText("trailing %", 1), "trailing %");
}

}  // namespace
}  // namespace qv
