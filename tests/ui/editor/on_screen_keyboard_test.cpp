#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/editor/on_screen_keyboard.h"

namespace qv::ui {
namespace {

void MakeFile(const std::filesystem::path& file, bool executable) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "#!/bin/sh\n";
    ::chmod(file.c_str(), executable ? 0755 : 0644);
}

TEST(OnScreenKeyboard, FoundOnThePathByPreferenceNotByFolderOrder) {
    test::TempDir dir;
    const auto a = dir.path() / "a", b = dir.path() / "b";
    MakeFile(a / "kvkbd", true);
    MakeFile(b / "onboard", true);
    const std::string path = a.string() + ":" + b.string();
    EXPECT_EQ(FindOnScreenKeyboard(path), b / "onboard");
    EXPECT_EQ(FindOnScreenKeyboard(a.string()), a / "kvkbd");
}

TEST(OnScreenKeyboard, NoneWhenOnlyUnusableCandidatesExist) {
    test::TempDir dir;
    MakeFile(dir.path() / "onboard", false);                      // not executable
    std::filesystem::create_directories(dir.path() / "florence");  // a folder
    EXPECT_EQ(FindOnScreenKeyboard(dir.path().string()), std::nullopt);
    EXPECT_EQ(FindOnScreenKeyboard(""), std::nullopt);
}

TEST(OnScreenKeyboard, RelativeAndEmptyPathEntriesAreNotSearched) {
    // They would start a program from wherever the tool happens to run.
    test::TempDir dir;
    MakeFile(dir.path() / "onboard", true);
    MakeFile(dir.path() / "bin" / "onboard", true);
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto found = FindOnScreenKeyboard("::bin");
    std::filesystem::current_path(before);
    EXPECT_EQ(found, std::nullopt);
}

}  // namespace
}  // namespace qv::ui
