#include <gtest/gtest.h>

#include <QMenu>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/main/about_dlg.h"
#include "ui/main/popup_menus.h"
#include "ui/common/window_messages.h"

namespace qv::ui {
namespace {

void Spit(const std::filesystem::path& p, const std::string& text) { std::ofstream(p) << text; }

const char* kLanguageFile =
    "[LANGUAGE]\nlanguage=1\n"
    "[ENGINSH]\nMENU_1=Import\nMENU_2=Export\nMENU_3=About\nMENU_4=Language\nENGINSH_6=English\n"
    "MENU_11=Open\nMENU_22=About\nMENU_33=Exit\nGUANYU_JIESHAO=Intro\nGUANYU_BANQUAN=Copyright\n"
    "[CHINESE]\nMENU_11=打开\n";

TEST(PopupMenus, MainPopupHasExactlyImportExportAbout) {
    test::TempDir dir;
    const auto file = dir.path() / "language.ini";
    Spit(file, kLanguageFile);
    const auto items = MainPopupItems(file);
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].command, id::kCmdImport);
    EXPECT_EQ(items[0].text, "Import");
    EXPECT_EQ(items[1].command, id::kCmdExport);
    EXPECT_EQ(items[2].command, id::kCmdAbout);
    EXPECT_EQ(items[2].text, "About");
}

TEST(PopupMenus, TrayMenuFollowsTheLanguageAndFallsBackToABlank) {
    test::TempDir dir;
    const auto file = dir.path() / "language.ini";
    Spit(file, kLanguageFile);
    auto items = TrayMenuItems(file);
    EXPECT_EQ(items[0].text, "Open");
    EXPECT_EQ(items[0].command, id::kCmdOpen);
    EXPECT_EQ(items[2].command, id::kCmdExit);

    Spit(file, std::string(kLanguageFile).replace(std::string(kLanguageFile).find("language=1"), 10, "language=0"));
    items = TrayMenuItems(file);
    EXPECT_EQ(items[0].text, QString::fromUtf8("打开"));
    EXPECT_EQ(items[1].text, " ");
}

TEST(PopupMenus, FilledMenuRunsTheCommandAndMarksTheDefault) {
    QMenu menu;
    std::vector<int> ran;
    FillMenu(menu, {{1, "a"}, {2, "b"}}, true, [&](int c) { ran.push_back(c); });
    ASSERT_EQ(menu.actions().size(), 2);
    EXPECT_EQ(menu.defaultAction(), menu.actions()[0]);
    menu.actions()[1]->trigger();
    EXPECT_EQ(ran, (std::vector<int>{2}));
}

TEST(AboutBox, OneAtATimeWithTheLanguageTexts) {
    test::TempDir dir;
    const auto file = dir.path() / "language.ini";
    Spit(file, kLanguageFile);
    CAboutDlg* first = CAboutDlg::ShowAbout(nullptr, "https://example.com/", file, dir.path());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(CAboutDlg::ShowAbout(nullptr, "x", file, dir.path()), first) << "a second request does nothing";
    EXPECT_EQ(first->Introduction(), "Intro");
    EXPECT_EQ(first->Copyright(), "Copyright");
    EXPECT_EQ(first->Link(), "https://example.com/");
    CAboutDlg::CloseCurrent();
    EXPECT_EQ(CAboutDlg::Current(), nullptr);
    CAboutDlg* again = CAboutDlg::ShowAbout(nullptr, "y", file, dir.path());
    EXPECT_NE(again, nullptr);
    CAboutDlg::CloseCurrent();
}

}  // namespace
}  // namespace qv::ui
