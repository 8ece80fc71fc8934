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

// Reads of a file nobody changes cost no parse; every change, by this module or by another
// program, is seen at the next read.
TEST(IniCacheTest, ParsesOnceAndSeesEveryChange) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    Spit(f, "[s]\nk=one\n");
    IniCache& cache = IniCache::Shared();
    const std::size_t before = cache.ParseCount();
    for (int i = 0; i < 50; ++i) ASSERT_EQ(GetString(f, "S", "K", "d"), "one");
    EXPECT_EQ(cache.ParseCount() - before, 1u);

    ASSERT_TRUE(WriteString(f, "s", "k", "two"));
    EXPECT_EQ(GetString(f, "s", "k", "d"), "two");

    // Rewritten in place at once, same size: same inode, and times as near as the clock allows.
    Spit(f, "[s]\nk=six\n");
    EXPECT_EQ(GetString(f, "s", "k", "d"), "six");
    // Replaced by rename, as editors and other tools save.
    Spit(dir.path() / "new.ini", "[s]\nk=ten\n");
    std::filesystem::rename(dir.path() / "new.ini", f);
    EXPECT_EQ(GetString(f, "s", "k", "d"), "ten");

    std::filesystem::remove(f);
    EXPECT_EQ(GetString(f, "s", "k", "gone"), "gone");
    Spit(f, "[s]\nk=back\n");
    EXPECT_EQ(GetString(f, "s", "k", "d"), "back");
}

// A file system whose clock stands still between writes: an in-place rewrite of the same size
// keeps the whole stamp, as two writes within one tick of a coarse clock do.
struct FrozenClockFiles {
    std::int64_t now = 1'000'000'000'000;
    static constexpr std::int64_t kFileTime = 1'000'000'000'000;
    IniCache cache{[](const std::filesystem::path& file) {
                       auto s = StampOf(file);
                       if (s) s->modifiedNs = s->changedNs = kFileTime;
                       return s;
                   },
                   [this] { return now; }};
    std::string Value(const std::filesystem::path& f) { return cache.Get(f)->Get("s", "k", "d"); }
};

TEST(IniCacheTest, SameSizeRewriteWithinOneClockTickIsSeen) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    FrozenClockFiles files;
    Spit(f, "[s]\nk=1\n");
    EXPECT_EQ(files.Value(f), "1");
    Spit(f, "[s]\nk=2\n");
    EXPECT_EQ(files.Value(f), "2");
    // Unchanged bytes under a recent stamp are read again but not parsed again.
    const std::size_t parses = files.cache.ParseCount();
    EXPECT_EQ(files.Value(f), "2");
    EXPECT_EQ(files.cache.ParseCount(), parses);
}

TEST(IniCacheTest, AStampOlderThanTheClockGrainIsTrustedWithoutReading) {
    test::TempDir dir;
    const auto f = dir.path() / "a.ini";
    FrozenClockFiles files;
    Spit(f, "[s]\nk=1\n");
    files.now = FrozenClockFiles::kFileTime + kFileTimeGrainNs + 1;
    EXPECT_EQ(files.Value(f), "1");
    const std::size_t reads = files.cache.ReadCount();
    for (int i = 0; i < 10; ++i) EXPECT_EQ(files.Value(f), "1");
    EXPECT_EQ(files.cache.ReadCount(), reads);
    // A time just inside the grain is not trusted.
    files.now = FrozenClockFiles::kFileTime + kFileTimeGrainNs;
    files.cache.Forget(f);
    files.Value(f);
    files.Value(f);
    EXPECT_EQ(files.cache.ReadCount(), reads + 2);
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
