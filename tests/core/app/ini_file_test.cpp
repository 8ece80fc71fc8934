#include "core/app/ini_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/temp_dir.h"

namespace qv::ini {
namespace {

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

TEST(IniRead, SectionsAndKeysCompareWithoutCase) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    Spit(f, "[Buttons]\nKey_One = hello \n[other]\nkey_one=no\n");
    EXPECT_EQ(GetString(f, "BUTTONS", "KEY_ONE", "d"), "hello");
    EXPECT_EQ(GetString(f, "OTHER", "Key_One", "d"), "no");
}

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    EXPECT_EQ(GetString(f, "s", "k", "1,1,1,1,x"), "1,1,1,1,x");
    Spit(f, "[s]\nk=v\n");
    EXPECT_EQ(GetString(f, "t", "k", "dflt"), "dflt");
    EXPECT_EQ(GetString(f, "s", "q", "dflt"), "dflt");
    EXPECT_EQ(GetInt(f, "s", "q", 7), 7);
}

TEST(IniRead, ValuesAreCutAt259Characters) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    Spit(f, "[s]\nk=" + std::string(300, 'x') + "\nu=" + std::string(300, '\xE4') + "\n");
    EXPECT_EQ(GetString(f, "s", "k", "").size(), 259u);
    // Multi-byte characters count as one and are never split.
    std::string wide;
    for (int i = 0; i < 300; ++i) wide += "\xE4\xB8\xAD";
    Spit(f, "[s]\nk=" + wide + "\n");
    EXPECT_EQ(GetString(f, "s", "k", "").size(), 259u * 3);
    EXPECT_EQ(GetString(f, "s", "missing", std::string(400, 'd')).size(), 259u);
}

TEST(IniRead, ByteOrderMarkAndQuotedValues) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    Spit(f, "\xEF\xBB\xBF[LANGUAGE]\r\nlanguage=1\r\ntext=\"Same name!   \"\r\n");
    EXPECT_EQ(GetInt(f, "language", "LANGUAGE", 0), 1);
    EXPECT_EQ(GetString(f, "language", "text", ""), "Same name!   ");
}

TEST(IniWrite, CreatesFileAndSectionAndKeepsOtherLines) {
    test::TempDir dir;
    const auto f = dir.path() / "w.ini";
    ASSERT_TRUE(WriteString(f, "KEYCOLOR", "DengCheck", "1"));
    EXPECT_EQ(GetString(f, "keycolor", "dengcheck", "0"), "1");

    Spit(f, "; comment stays\r\n[A]\r\nx = 1\r\n\r\n[B]\r\ny=2\r\n");
    ASSERT_TRUE(WriteString(f, "a", "z", "3"));
    ASSERT_TRUE(WriteString(f, "B", "Y", "4"));
    ASSERT_TRUE(WriteString(f, "C", "w", "5"));
    EXPECT_EQ(Slurp(f), "; comment stays\r\n[A]\r\nx = 1\r\nz=3\r\n\r\n[B]\r\nY=4\r\n\r\n[C]\r\nw=5\r\n");
}

TEST(IniWrite, FailsWithoutTheFolderAndLeavesNoTemporaryFiles) {
    test::TempDir dir;
    EXPECT_FALSE(WriteString(dir.path() / "missing" / "w.ini", "s", "k", "v"));
    ASSERT_TRUE(WriteString(dir.path() / "w.ini", "s", "k", "v"));
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
}

TEST(IniNumbers, ReadLikeWcstol) {
    EXPECT_EQ(ParseLong("  42abc"), 42);
    EXPECT_EQ(ParseLong("-7"), -7);
    EXPECT_EQ(ParseLong("+3"), 3);
    EXPECT_EQ(ParseLong("abc"), 0);
    EXPECT_EQ(ParseLong(""), 0);
    EXPECT_EQ(ParseLong("- 5"), 0);
    EXPECT_EQ(ParseLong("0x1F"), 0);
    EXPECT_EQ(ParseLong("99999999999"), INT32_MAX);
    EXPECT_EQ(ParseLong("-99999999999"), INT32_MIN);
}

TEST(IniNumbers, LayoutValuesFillMissingNumbersWithZero) {
    EXPECT_EQ(ParseLayout("10,20,30,40"), (LayoutValue{10, 20, 30, 40}));
    EXPECT_EQ(ParseLayout("1,1,1,1,x"), (LayoutValue{1, 1, 1, 1}));
    EXPECT_EQ(ParseLayout("5, -6"), (LayoutValue{5, -6, 0, 0}));
    EXPECT_EQ(ParseLayout("5 ,6,7,8"), (LayoutValue{5, 0, 0, 0}));
    EXPECT_EQ(ParseLayout("x"), (LayoutValue{}));
}

TEST(CIniFileTest, ReadGivesNothingForEmptyAndPathIsBounded) {
    test::TempDir dir;
    CIniFile ini;
    ASSERT_TRUE(ini.SetPath(dir.path() / "c.ini"));
    ASSERT_TRUE(ini.Write("s", "long", std::string(3000, 'v')));
    EXPECT_EQ(ini.Read("s", "long")->size(), 2047u);
    EXPECT_EQ(ini.Read("s", "absent", "1,1,1,1,x"), "1,1,1,1,x");
    EXPECT_FALSE(ini.Read("s", "k").has_value());
    ASSERT_TRUE(ini.Write("s", "k", ""));
    EXPECT_FALSE(ini.Read("s", "k").has_value());
    ASSERT_TRUE(ini.Write("s", "k", "v"));
    EXPECT_EQ(ini.Read("S", "K"), "v");

    // Too long a path names no file at all rather than a cut one.
    EXPECT_FALSE(ini.SetPath("/" + std::string(259, 'p')));
    EXPECT_FALSE(ini.Read("s", "k").has_value());
    EXPECT_FALSE(ini.Write("s", "k", "v"));
}

}  // namespace
}  // namespace qv::ini
