#include "core/app/paths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/user_folders.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(PathsTest, ProgramPathsComeFromTheExecutable) {
    const ProgramPaths p = BuildProgramPaths("/opt/quorvane/bin/../bin/quorvane");
    EXPECT_EQ(p.programFileName, "quorvane");
    EXPECT_EQ(p.programFolder, "/opt/quorvane/bin");
    EXPECT_EQ(p.helpFolder, "/opt/quorvane/bin/Help");
    EXPECT_EQ(p.mainSkin, "/opt/quorvane/bin/Skins/Main.ini");
    EXPECT_EQ(p.skinFolder, "/opt/quorvane/bin/Skins");
    EXPECT_EQ(p.profileSkin, "/opt/quorvane/bin/Skins/Profile.ini");
    EXPECT_EQ(p.updateSkin, "/opt/quorvane/bin/Skins/UpdateDlg.ini");
    EXPECT_EQ(p.compositeSkin, "/opt/quorvane/bin/Skins/Composite.ini");
    EXPECT_EQ(p.textTable, "/opt/quorvane/bin/Skins/language.ini");
    EXPECT_EQ(p.userLightingTemplatePrefix, "/opt/quorvane/bin/Skins/UserDengColor_");
    EXPECT_EQ(p.packageFolder, "/opt/quorvane/bin/Package");
    EXPECT_EQ(p.companionDaemon, "/opt/quorvane/bin/KbDaemon");
    EXPECT_EQ(p.Resolve("Skins\\main_normal.jpg"), "/opt/quorvane/bin/Skins/main_normal.jpg");
}

TEST(PathsTest, UserPathsLiveInTheDocumentsFolder) {
    const UserPaths u = BuildUserPaths("/home/ann/Documents");
    EXPECT_EQ(u.userFolder, "/home/ann/Documents/Quorvane");
    EXPECT_EQ(u.settingsFile, "/home/ann/Documents/Quorvane/wskb.ini");
    EXPECT_EQ(u.userLightingPrefix, "/home/ann/Documents/Quorvane/UserDengColor_");
    EXPECT_EQ(u.workingProfileFile, "/home/ann/Documents/Quorvane/$Profile0");
}

TEST(PathsTest, ExecutablePathDoesNotDependOnTheCurrentFolder) {
    const auto before = platform::ExecutablePath();
    test::TempDir dir;
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto after = platform::ExecutablePath("qv_core_tests");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(before, after);
    EXPECT_EQ(after.filename(), "qv_core_tests");
}

TEST(PathsTest, ProgramStartedFromAnotherFolderFindsItsSkins) {
    test::TempDir dir;
    const std::string cmd =
        "cd '" + dir.path().string() + "' && '" QV_BIN_DIR "/quorvanectl' paths";
    FILE* pipe = ::popen(cmd.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string out;
    std::array<char, 512> buf{};
    while (std::fgets(buf.data(), buf.size(), pipe)) out += buf.data();
    EXPECT_EQ(::pclose(pipe), 0);
    const auto bin = std::filesystem::canonical(QV_BIN_DIR);
    EXPECT_NE(out.find((bin / "Skins" / "Main.ini").string()), std::string::npos) << out;
    EXPECT_NE(out.find((bin / "Skins" / "language.ini").string() + " (found)"), std::string::npos)
        << out;
}

TEST(UserFoldersTest, DocumentsFolderFallsBackToHome) {
    test::TempDir home;
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string savedXdg = oldXdg ? oldXdg : "";
    setenv("HOME", home.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);

    EXPECT_EQ(platform::DocumentsFolder(), home.path());
    std::filesystem::create_directories(home.path() / "Documents");
    EXPECT_EQ(platform::DocumentsFolder(), home.path() / "Documents");
    std::filesystem::create_directories(home.path() / ".config");
    std::filesystem::create_directories(home.path() / "Dokumente");
    std::ofstream(home.path() / ".config" / "user-dirs.dirs")
        << "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n";
    EXPECT_EQ(platform::DocumentsFolder(), home.path() / "Dokumente");

    setenv("HOME", savedHome.c_str(), 1);
    if (oldXdg) setenv("XDG_CONFIG_HOME", savedXdg.c_str(), 1); else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace qv
