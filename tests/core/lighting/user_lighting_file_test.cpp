#include "core/lighting/user_lighting_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "core/app/settings.h"
#include "core/lighting/user_modes.h"
#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace qv::lighting {
namespace {

std::string ReadText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(UserLightingFile, NamesAreBuiltFromPrefixNumberAndExtension) {
    EXPECT_EQ(UserLightingFilePath("/home/u/Documents/Quorvane/UserDengColor_", 2),
              std::filesystem::path("/home/u/Documents/Quorvane/UserDengColor_2.userd"));
}

TEST(UserLightingFile, MissingFileReadsAsDefaults) {
    test::TempDir dir;
    const auto f = UserLightingFile::Load(dir.path() / "absent.userd");
    EXPECT_EQ(f.PresentMode(), 0);
    EXPECT_EQ(f.ModeName(9), "0");
    EXPECT_EQ(f.Settings(3), (UserModeSettings{kEraseTool, kBlack, kBlack}));
    EXPECT_EQ(f.Key(0, 110), (UserKeyEntry{kRed, true}));
}

TEST(UserLightingFile, RoundTripKeepsSectionsKeysAndFormats) {
    test::TempDir dir;
    const auto path = dir.path() / "UserDengColor_1.userd";
    auto f = UserLightingFile::Load(path);
    f.SetPresentMode(4);
    f.SetModeName(4, "Night");
    f.SetModeName(5, "");
    f.SetSettings(4, {kPaintTool, MakeColour(0, 255, 0), MakeColour(1, 2, 3)});
    f.SetKey(4, 64, {MakeColour(0, 255, 0), true});
    f.SetKey(4, 125, {MakeColour(9, 8, 7), false});
    ASSERT_TRUE(f.Save());

    const std::string text = ReadText(path);
    EXPECT_NE(text.find("[PRESENTMODE]"), std::string::npos);
    EXPECT_NE(text.find("mode=4"), std::string::npos);
    EXPECT_NE(text.find("[Mode4]"), std::string::npos);
    EXPECT_NE(text.find("64=0,255,0,1"), std::string::npos);
    EXPECT_NE(text.find("125=9,8,7,0"), std::string::npos);
    EXPECT_NE(text.find("jcolor=0,255,0"), std::string::npos);
    EXPECT_NE(text.find("color=1,2,3"), std::string::npos);
    EXPECT_NE(text.find("tool=1"), std::string::npos);

    const auto g = UserLightingFile::Load(path);
    EXPECT_EQ(g.PresentMode(), 4);
    EXPECT_EQ(g.ModeName(4), "Night");
    EXPECT_EQ(g.ModeName(5), "");  // an empty name stays empty, not the default
    EXPECT_EQ(g.Settings(4), (UserModeSettings{kPaintTool, MakeColour(0, 255, 0), MakeColour(1, 2, 3)}));
    EXPECT_EQ(g.Key(4, 125), (UserKeyEntry{MakeColour(9, 8, 7), false}));
}

TEST(UserLightingFile, OddValuesReadSafely) {
    EXPECT_EQ(ParseKeyEntry("1,2,3,7"), (UserKeyEntry{MakeColour(1, 2, 3), true}));
    EXPECT_EQ(ParseKeyEntry("1,2"), (UserKeyEntry{MakeColour(1, 2, 0), true}));  // unread: defaults
    EXPECT_EQ(ParseKeyEntry("garbage"), (UserKeyEntry{kRed, true}));
    EXPECT_EQ(ParseKeyEntry("256,-1,5,0"), (UserKeyEntry{MakeColour(0, 255, 5), false}));
    EXPECT_TRUE(ParseKeyEntry("99999999999999999999,1,1,99999999999999999999").set);
    EXPECT_EQ(ParseColourTriple(" 10, 20 ,30"), MakeColour(10, 20, 0));  // "%d,%d": the blank before ',' stops
    EXPECT_EQ(ParseColourTriple(""), kBlack);

    test::TempDir dir;
    const auto path = dir.path() / "odd.userd";
    std::ofstream(path) << "[PRESENTMODE]\nmode=42\n";
    EXPECT_EQ(UserLightingFile::Load(path).PresentMode(), 0);
}

TEST(UserLightingFile, TextCopyWritesEveryLineEndAsCrLf) {
    test::TempDir dir;
    const auto from = dir.path() / "t.userd";
    const auto to = dir.path() / "u.userd";
    ASSERT_TRUE(WriteFileAtomically(from, std::string_view("[A]\nx=1\r\ny=2")));
    ASSERT_TRUE(CopyAsTextLines(from, to));
    EXPECT_EQ(ReadText(to), "[A]\r\nx=1\r\ny=2");
    ASSERT_TRUE(CopyAsTextLines(dir.path() / "missing", to));
    EXPECT_EQ(ReadText(to), "");
}

TEST(UserLightingSetup, SeedsFourFilesOnceFromTheTemplate) {
    test::TempDir dir;
    const UserLightingPaths paths{dir.path() / "user" / "UserDengColor_", dir.path() / "Skins" / "UserDengColor_",
                                  dir.path() / "user" / "wskb.ini"};
    std::filesystem::create_directories(dir.path() / "user");
    std::filesystem::create_directories(dir.path() / "Skins");
    ASSERT_TRUE(WriteFileAtomically(UserLightingFilePath(paths.templatePrefix, 3), std::string_view("[MODENAME]\n0=Solid\n")));

    EXPECT_TRUE(SeedUserLightingFiles(paths));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ReadText(UserLightingFilePath(paths.userPrefix, i)), "[MODENAME]\r\n0=Solid\r\n");
    }
    EXPECT_TRUE(SettingsFile(paths.settingsFile).UserModesSeeded());

    // Once seeded, a start never touches the files again.
    ASSERT_TRUE(WriteFileAtomically(UserLightingFilePath(paths.userPrefix, 0), std::string_view("mine")));
    EXPECT_FALSE(SeedUserLightingFiles(paths));
    EXPECT_EQ(ReadText(UserLightingFilePath(paths.userPrefix, 0)), "mine");
}

TEST(UserLightingSetup, MissingTemplateGivesEmptyFilesAndStillSetsTheFlag) {
    test::TempDir dir;
    const UserLightingPaths paths{dir.path() / "UserDengColor_", dir.path() / "none" / "UserDengColor_",
                                  dir.path() / "wskb.ini"};
    EXPECT_TRUE(SeedUserLightingFiles(paths));
    EXPECT_TRUE(std::filesystem::exists(UserLightingFilePath(paths.userPrefix, 2)));
    EXPECT_EQ(UserLightingFile::Load(UserLightingFilePath(paths.userPrefix, 2)).Key(0, 5), (UserKeyEntry{}));
    EXPECT_TRUE(SettingsFile(paths.settingsFile).UserModesSeeded());
}

}  // namespace
}  // namespace qv::lighting
