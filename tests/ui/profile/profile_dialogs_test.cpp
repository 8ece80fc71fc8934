// The profile manager, import and export from the window, the profile buttons' switch and the
// firmware update dialog, over the simulated keyboard through the real service library.
#include "ui/main/main_window_fixture.h"

#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>

#include <fstream>
#include <functional>
#include <memory>

#include "core/app/settings.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"
#include "protocol/report_frame.h"
#include "ui/common/file_dialog_chooser.h"
#include "ui/common/window_messages.h"
#include "ui/main/about_dlg.h"
#include "ui/profile/profile_dlg.h"
#include "ui/skin/png_button.h"
#include "ui/update/update_dlg.h"
#include "ui/update/updater_launcher.h"

namespace qv::test {
namespace {

using ui::CQuorvane_DlgProfile;
using ui::CQuorvane_DlgUpdate;
using ui::CQuorvaneDlg;
namespace id = ui::id;

class ScriptedChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& o) override { return Next(o); }
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& o) override { return Next(o); }
    std::deque<std::optional<std::filesystem::path>> answers;  // cancelled when empty
    FileDialogOptions last;
    std::function<void()> whileOpen;  // what happens while the user is choosing

private:
    std::optional<std::filesystem::path> Next(const FileDialogOptions& o) {
        last = o;
        if (whileOpen) whileOpen();
        if (answers.empty()) return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

std::uint32_t CommandFrames(const hidserv::SimControl& sim, std::uint8_t command) {
    std::uint32_t n = 0;
    for (const auto& f : sim.Frames()) n += f[device::frame::kCommand] == command;
    return n;
}

KeyTable MatrixOf(const hidserv::SimControl& sim, int profile) {
    const auto bytes = sim.Read(QV_SIM_KEY_MATRICES, static_cast<std::uint32_t>(profile * 378), 378);
    KeyMatrix m{};
    std::copy(bytes.begin(), bytes.end(), m.begin());
    KeyTable table;
    DecodeKeyMatrix(m, table, DefaultKeyMatrix());
    return table;
}

class ProfileWindow : public SimulatedWindowFixture {
protected:
    void SetUp() override {
        SimulatedWindowFixture::SetUp();
        setenv("QUORVANE_SIM_LOADER_MS", "400", 1);
        SelectedUpdaterPath().clear();
        adjustServices_ = [this](CQuorvaneDlg::Services& s) {
            s.fileChooser = &chooser_;
        };
    }
    void TearDown() override {
        unsetenv("QUORVANE_SIM_LOADER_MS");
        SelectedUpdaterPath().clear();
        SimulatedWindowFixture::TearDown();
    }

    CQuorvaneDlg& StartWithKeyboard() {
        CQuorvaneDlg& w = Start(true);
        EXPECT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
        sim_->ClearFrameLog();
        return w;
    }
    std::unique_ptr<CQuorvane_DlgProfile> OpenManager(CQuorvaneDlg& w) {
        auto dialog = std::make_unique<CQuorvane_DlgProfile>(*w.Profiles(), SettingsStore(SettingsStore::DefaultFile()), &w);
        dialog->OnInitDialog();
        dialog->show();
        return dialog;
    }
    std::filesystem::path ValidFile(const std::string& name) {
        ProfileContent c = DefaultProfileContent();
        for (int p = 0; p < 3; ++p) c.Record(p, KeyCodeToSlot(0x01E)) = {AssignDisabled, 0, 0, 0, 0};
        const auto file = home_.path() / name;
        EXPECT_TRUE(WriteFileAtomically(file, SerializeProfileFile(c)));
        return file;
    }

    ScriptedChooser chooser_;
};

// --- Switching --------------------------------------------------------------------------------

TEST_F(ProfileWindow, SwitchToProfileFiveGoesToTheFirstProfile) {
    CQuorvaneDlg& w = StartWithKeyboard();
    w.OnCommand(id::kProfile3);
    ASSERT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{2}));
    EXPECT_EQ(w.Profiles()->SwitchProfile(5), 1);
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(w.Button(id::kProfiles)->text(), "$Profile0");
}

TEST_F(ProfileWindow, TheSaveQuestionAppliesOnYesAndReloadsTheWorkingFileOnNo) {
    CQuorvaneDlg& w = StartWithKeyboard();
    const int a = KeyCodeToSlot(0x01E);
    const auto edit = [&](int table) {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(table, a, {AssignDisabled, 0, 0, 0, 0});
    };

    edit(0);
    w.SetEditing(true);
    prompt_.answers = {false};
    w.OnCommand(id::kProfile2);
    ASSERT_EQ(prompt_.questions, std::vector<std::string>{Text(TextId::PROFILE_SELECT_PROMPT)});
    {
        auto lock = WorkingStore().Lock();
        EXPECT_EQ(WorkingStore().Content().Record(0, a).type, AssignDefault) << "the file's content is back";
    }
    EXPECT_EQ(CommandFrames(*sim_, device::frame::kWriteKeyMatrix), 0u) << "No sends no edits";
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{1}));
    EXPECT_FALSE(w.IsEditing());
    EXPECT_EQ(w.Button(id::kProfile2)->ChooseFace(), ui::CPngButton::Face::kAltOn);

    edit(1);
    w.SetEditing(true);
    prompt_.answers = {true};
    w.OnCommand(id::kProfile1);
    EXPECT_EQ(MatrixOf(*sim_, 1)[static_cast<std::size_t>(a)].type, AssignDisabled)
        << "Yes applied the edit to the profile active then";
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{0}));
}

// --- Import and export ------------------------------------------------------------------------

TEST_F(ProfileWindow, ImportOfAValidFileSendsAllThreeProfilesAndLeavesApplyDisabled) {
    CQuorvaneDlg& w = StartWithKeyboard();
    w.SetEditing(true);
    chooser_.answers = {ValidFile("good.qvn")};
    w.OnCommand(id::kCmdImport);
    EXPECT_EQ(chooser_.last.initialFolder, UserFiles().userFolder);
    for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(MatrixOf(*sim_, p)[static_cast<std::size_t>(KeyCodeToSlot(0x01E))].type, AssignDisabled) << p;
    }
    EXPECT_FALSE(w.IsEditing());
    EXPECT_FALSE(w.Button(id::kApply)->isEnabled());
    EXPECT_TRUE(prompt_.messages.empty());
}

TEST_F(ProfileWindow, AnInvalidImportFileChangesNeitherTheStoresNorTheKeyboard) {
    CQuorvaneDlg& w = StartWithKeyboard();
    const ProfileContent before = [] {
        auto lock = WorkingStore().Lock();
        return WorkingStore().Content();
    }();
    const auto file = home_.path() / "broken.qvn";
    ProfileContent content = DefaultProfileContent();
    std::vector<std::uint8_t> bytes = SerializeProfileFile(content);
    bytes[31] ^= 1;  // check byte
    ASSERT_TRUE(WriteFileAtomically(file, bytes));
    chooser_.answers = {file};
    w.OnCommand(id::kCmdImport);
    EXPECT_EQ(prompt_.messages, (std::vector<std::string>{FormatText(Text(TextId::PROFILE_FORMAT_ERROR), file.string()),
                                                          Text(TextId::MAIN_PROMPT_INPORT)}));
    EXPECT_EQ(sim_->FrameCount(), 0u);
    auto lock = WorkingStore().Lock();
    EXPECT_EQ(WorkingStore().Content(), before);
}

TEST_F(ProfileWindow, AnImportWhileTheKeyboardIsUnpluggedIsToldAndAppliedWhenItIsBack) {
    CQuorvaneDlg& w = StartWithKeyboard();
    const std::size_t a = static_cast<std::size_t>(KeyCodeToSlot(0x01E));
    chooser_.answers = {ValidFile("good.qvn")};
    chooser_.whileOpen = [&] { sim_->Attach(false); };
    w.OnCommand(id::kCmdImport);
    chooser_.whileOpen = nullptr;
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{Text(TextId::MAIN_PROMPT_IMPORT_NOT_SENT)});
    EXPECT_TRUE(w.IsEditing()) << "Apply sends the import";
    {
        auto lock = WorkingStore().Lock();
        EXPECT_EQ(WorkingStore().Content().Record(1, static_cast<int>(a)).type, AssignDisabled);
    }
    ProfileStore file;
    ASSERT_TRUE(ReadFileIntoStore(UserFiles().workingProfileFile, file));
    {
        auto lock = file.Lock();
        EXPECT_EQ(file.Content().Record(2, static_cast<int>(a)).type, AssignDisabled) << "the working file agrees";
    }

    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 0; }));
    prompt_.messages.clear();
    prompt_.answers = {true};  // keep the changes made here
    sim_->Attach(true);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1 && State().contentsRead.load(); }));
    w.OnCommand(id::kApply);
    EXPECT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();
    EXPECT_FALSE(w.IsEditing());
    for (int p = 0; p < 3; ++p) EXPECT_EQ(MatrixOf(*sim_, p)[a].type, AssignDisabled) << "profile " << p + 1;
}

TEST_F(ProfileWindow, FilesThatCannotBeReadOrWrittenAreToldAsSuch) {
    CQuorvaneDlg& w = StartWithKeyboard();
    const auto folder = home_.path() / "gone";
    chooser_.answers = {home_.path()};
    w.OnCommand(id::kCmdImport);
    chooser_.answers = {folder / "out.qvn"};
    w.OnCommand(id::kCmdExport);
    auto dialog = OpenManager(w);
    chooser_.answers = {folder / "new.qvn"};
    dialog->OnCommand(CQuorvane_DlgProfile::kNew);
    EXPECT_EQ(dialog->List()->rowCount(), 3);
    EXPECT_FALSE(dialog->ApplyEnabled());
    EXPECT_EQ(prompt_.messages,
              (std::vector<std::string>{FormatText(Text(TextId::MAIN_PROMPT_IMPORT_UNREADABLE), home_.path().string()),
                                        FormatText(Text(TextId::PROFILE_WRITE_FAILED), (folder / "out.qvn").string()),
                                        FormatText(Text(TextId::PROFILE_WRITE_FAILED), (folder / "new.qvn").string())}));
    EXPECT_EQ(sim_->FrameCount(), 0u);
}

TEST_F(ProfileWindow, AnExportedFileNamedWithoutAnExtensionImportsAsChosen) {
    CQuorvaneDlg& w = StartWithKeyboard();
    {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(2, KeyCodeToSlot(0x030), {AssignDisabled, 0, 0, 0, 0});
    }
    const auto file = UserFiles().userFolder / "backup";
    ASSERT_TRUE(w.Profiles()->ExportFile(file));
    chooser_.answers.push_back(file);
    w.OnCommand(id::kCmdImport);
    EXPECT_TRUE(prompt_.messages.empty()) << (prompt_.messages.empty() ? "" : prompt_.messages[0]);
    EXPECT_EQ(chooser_.last.initialFolder, UserFiles().userFolder) << "the dialog starts in the user folder";
    EXPECT_EQ(MatrixOf(*sim_, 2)[static_cast<std::size_t>(KeyCodeToSlot(0x030))].type, AssignDisabled);
}

// What the toolkit's open dialog hands back is opened as chosen; the default extension only
// finds a file that was named without it.
TEST_F(ProfileWindow, TheOpenDialogKeepsAnExistingNameAsChosen) {
    FileDialogOptions o;
    o.defaultExtension = "qvn";
    const auto folder = home_.path();
    ASSERT_TRUE(WriteFileAtomically(folder / "backup", std::string_view("x")));
    ASSERT_TRUE(WriteFileAtomically(folder / "other.qvn", std::string_view("x")));
    EXPECT_EQ(ui::ChosenFileToOpen(QString::fromStdString((folder / "backup").string()), o), folder / "backup");
    EXPECT_EQ(ui::ChosenFileToOpen(QString::fromStdString((folder / "other").string()), o), folder / "other.qvn");
    EXPECT_EQ(ui::ChosenFileToOpen(QString::fromStdString((folder / "absent").string()), o), folder / "absent");
    EXPECT_EQ(ui::ChosenFileToOpen(QString(), o), std::nullopt);
}

// --- Profile manager --------------------------------------------------------------------------

TEST_F(ProfileWindow, ManagerOpensWithTheActiveRowTickedAndTicksOneRowAtMost) {
    CQuorvaneDlg& w = StartWithKeyboard();
    w.OnCommand(id::kProfile2);
    auto dialog = OpenManager(w);
    QTableWidget* list = dialog->List();
    ASSERT_EQ(list->rowCount(), 3);
    EXPECT_EQ(list->columnCount(), 3);
    EXPECT_TRUE(list->showGrid());
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->item(0, 1)->text(), "$Profile0");
    EXPECT_EQ(list->item(0, 2)->text().toStdString(), UserFiles().userFolder.string() + "/");
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Checked);
    EXPECT_FALSE(dialog->ApplyEnabled());
    EXPECT_TRUE(w.Model().ProfileManagerOpen());

    list->item(2, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(list->item(1, 0)->checkState(), Qt::Unchecked);
    EXPECT_TRUE(dialog->ApplyEnabled());
    EXPECT_TRUE(w.Model().HasUnappliedChanges()) << "the manager's pending Apply counts for the save question";

    // A switch from elsewhere ticks its row and leaves nothing to apply.
    list->item(2, 0)->setCheckState(Qt::Unchecked);
    dialog->TickRow(0);
    EXPECT_EQ(list->item(0, 0)->checkState(), Qt::Checked);
    EXPECT_FALSE(dialog->ApplyEnabled());

    dialog->OnCommand(CQuorvane_DlgProfile::kCancel);
    EXPECT_FALSE(w.Model().ProfileManagerOpen());
}

TEST_F(ProfileWindow, ManagerApplyWithNoRowTickedKeepsTheProfileButRebuildsTheWorkingFile) {
    CQuorvaneDlg& w = StartWithKeyboard();
    w.OnCommand(id::kProfile3);
    auto dialog = OpenManager(w);
    dialog->List()->item(2, 0)->setCheckState(Qt::Unchecked);
    std::filesystem::remove(UserFiles().workingProfileFile);
    w.SetEditing(true);
    dialog->OnCommand(CQuorvane_DlgProfile::kApply);
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{2}));
    EXPECT_TRUE(std::filesystem::exists(UserFiles().workingProfileFile)) << "rebuilt from the keyboard";
    EXPECT_FALSE(dialog->ApplyEnabled());
    EXPECT_FALSE(w.IsEditing());
    const SettingsStore settings(SettingsStore::DefaultFile());
    EXPECT_EQ(settings.ReadValue("PROFILE00"), "3");
    EXPECT_EQ(settings.ReadValue("PROFILE01"), (UserFiles().userFolder / "$Profile0.qvn").string());

    // A ticked row becomes the active profile, and the window lights it once the manager closes.
    dialog->List()->item(0, 0)->setCheckState(Qt::Checked);
    dialog->OnCommand(CQuorvane_DlgProfile::kOk);
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{0}));
    EXPECT_FALSE(dialog->isVisible());
    w.Model().ShowActiveProfile();
    EXPECT_EQ(w.Button(id::kProfile1)->ChooseFace(), ui::CPngButton::Face::kAltOn);
}

TEST_F(ProfileWindow, ManagerNewAndLoadAppendRowsAndDeleteRemovesTheSelectedOne) {
    CQuorvaneDlg& w = StartWithKeyboard();
    auto dialog = OpenManager(w);
    const auto created = UserFiles().userFolder / "race.qvn";
    chooser_.answers = {created, ValidFile("old.qvn")};
    dialog->OnCommand(CQuorvane_DlgProfile::kNew);
    ASSERT_EQ(dialog->List()->rowCount(), 4);
    EXPECT_TRUE(ValidateFile(created, prompt_));
    EXPECT_EQ(dialog->List()->item(3, 1)->text(), "race");
    EXPECT_TRUE(dialog->ApplyEnabled());
    dialog->OnCommand(CQuorvane_DlgProfile::kLoad);
    ASSERT_EQ(dialog->List()->rowCount(), 5);
    EXPECT_EQ(dialog->List()->item(4, 1)->text(), "old");
    EXPECT_EQ(dialog->List()->item(4, 2)->text().toStdString(), home_.path().string() + "/");
    dialog->OnCommand(CQuorvane_DlgProfile::kLoad);  // cancelled
    EXPECT_EQ(dialog->List()->rowCount(), 5);

    dialog->List()->clearSelection();
    dialog->OnCommand(CQuorvane_DlgProfile::kDelete);
    EXPECT_EQ(dialog->List()->rowCount(), 5) << "nothing selected, nothing removed";
    dialog->List()->selectRow(3);
    dialog->OnCommand(CQuorvane_DlgProfile::kDelete);
    ASSERT_EQ(dialog->List()->rowCount(), 4);
    EXPECT_EQ(dialog->List()->item(3, 1)->text(), "old");
    EXPECT_TRUE(std::filesystem::exists(created)) << "the file itself stays";
}

TEST_F(ProfileWindow, KeyboardRemovalClosesTheManager) {
    CQuorvaneDlg& w = StartWithKeyboard();
    auto dialog = OpenManager(w);
    sim_->Attach(false);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 0; }));
    SettleUntil([&] { return !dialog->isVisible(); });
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(w.Model().ProfileManagerOpen());
}

// --- Firmware update --------------------------------------------------------------------------

class UpdateWindow : public ProfileWindow {
protected:
    std::unique_ptr<CQuorvane_DlgUpdate> OpenUpdate(CQuorvaneDlg& w) {
        auto dialog = std::make_unique<CQuorvane_DlgUpdate>(*w.Commands(), prompt_, chooser_, launcher_, &w);
        dialog->OnInitDialog();
        dialog->show();
        return dialog;
    }
    std::filesystem::path Script(const std::string& name, std::filesystem::perms perms) {
        const auto file = home_.path() / name;
        std::ofstream(file) << "#!/bin/sh\npwd > \"" << (home_.path() / "ran").string() << "\"\n";
        std::filesystem::permissions(file, perms);
        return file;
    }

    ui::ProcessUpdaterLauncher launcher_;
};

TEST_F(UpdateWindow, UpdateWithoutARunnableUpdaterShowsItsMessageAndSendsNothing) {
    CQuorvaneDlg& w = StartWithKeyboard();
    auto dialog = OpenUpdate(w);
    EXPECT_EQ(dialog->ShownPath(), "");
    dialog->OnCommand(CQuorvane_DlgUpdate::kUpdate);
    chooser_.answers = {Script("flash.exe", std::filesystem::perms::owner_read | std::filesystem::perms::owner_write)};
    dialog->OnCommand(CQuorvane_DlgUpdate::kChoose);
    EXPECT_EQ(dialog->ShownPath().toStdString(), (home_.path() / "flash.exe").string());
    EXPECT_EQ(chooser_.last.initialFolder, Paths().packageFolder);
    dialog->OnCommand(CQuorvane_DlgUpdate::kUpdate);
    EXPECT_EQ(prompt_.messages, (std::vector<std::string>(2, Text(TextId::MAIN_UPDATE_ERROR_TEXT))));
    EXPECT_EQ(sim_->FrameCount(), 0u) << "the keyboard never went to its loader";
    EXPECT_EQ(KeyboardCount(), 1);
    EXPECT_TRUE(dialog->isVisible());

    dialog->OnCommand(CQuorvane_DlgUpdate::kChoose);  // cancelled
    EXPECT_EQ(dialog->ShownPath(), "");
}

TEST_F(UpdateWindow, AStartedUpdaterClosesTheDialogAndTheKeyboardComesBackFromItsLoader) {
    CQuorvaneDlg& w = StartWithKeyboard();
    auto dialog = OpenUpdate(w);
    chooser_.answers = {Script("flash", std::filesystem::perms::owner_all)};
    dialog->OnCommand(CQuorvane_DlgUpdate::kChoose);
    dialog->OnCommand(CQuorvane_DlgUpdate::kUpdate);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();
    EXPECT_EQ(CommandFrames(*sim_, device::frame::kUpdateMode), 1u);
    ASSERT_TRUE(SettleUntil([&] {
        std::error_code ec;
        const auto size = std::filesystem::file_size(home_.path() / "ran", ec);
        return !ec && size > 0;
    }));
    std::string ranIn;
    std::getline(std::ifstream(home_.path() / "ran"), ranIn);
    EXPECT_EQ(ranIn, Paths().packageFolder.string()) << "the updater runs in the package folder";

    // The keyboard leaves for its loader and comes back as after any unplugging.
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 0; }));
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1 && w.CurrentTrayIcon() == ui::kIconKeyboard; }));
    EXPECT_EQ(State().activeProfile, 0);

    auto again = OpenUpdate(w);
    EXPECT_EQ(again->ShownPath(), "") << "a started update clears the choice";
}

TEST_F(UpdateWindow, TheWindowComesBackWithTheUpdatedKeyboard) {
    CQuorvaneDlg& w = StartWithKeyboard();
    ASSERT_TRUE(w.isVisible());
    chooser_.answers = {Script("flash", std::filesystem::perms::owner_all)};
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return CQuorvane_DlgUpdate::Current() != nullptr; }, 2000));
        CQuorvane_DlgUpdate* dialog = CQuorvane_DlgUpdate::Current();
        dialog->OnCommand(CQuorvane_DlgUpdate::kChoose);
        dialog->OnCommand(CQuorvane_DlgUpdate::kUpdate);
    });
    w.OnCommand(id::kCmdUpdate);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 0; }));
    ASSERT_TRUE(SettleUntil([&] { return !w.isVisible(); })) << "hidden while the keyboard is in its loader";
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1; }));
    EXPECT_TRUE(SettleUntil([&] { return w.isVisible(); })) << "shown again when the keyboard is back";
}

TEST_F(UpdateWindow, BackupWritesAFileTheCommandLineProgramAccepts) {
    CQuorvaneDlg& w = StartWithKeyboard();
    auto dialog = OpenUpdate(w);
    const auto file = home_.path() / "before-update.qvn";
    chooser_.answers = {file};
    dialog->OnCommand(CQuorvane_DlgUpdate::kBackup);
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{Text(TextId::MAIN_UPDATE_BACKUP_OK)});
    QProcess validate;
    validate.start(QString::fromStdString((std::filesystem::path(QV_BIN_DIR) / "quorvanectl").string()),
                   {"validate", QString::fromStdString(file.string())});
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardError().toStdString();

    dialog->OnCommand(CQuorvane_DlgUpdate::kCancel);
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(UpdateWindow, TheAboutBoxLeadsToTheUpdateDialog) {
    CQuorvaneDlg& w = StartWithKeyboard();
    w.OnCommand(id::kCmdAbout);
    ui::CAboutDlg* about = ui::CAboutDlg::Current();
    ASSERT_NE(about, nullptr);
    auto* button = about->findChild<QPushButton*>("firmware_update");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text().toStdString(), ReadLanguageText(Paths().textTable, "ABOUT_FIRMWARE_UPDATE"));
    // The update dialog runs modally; it is seen open, then cancelled.
    bool updateOpened = false;
    QTimer::singleShot(0, [&] {
        updateOpened = QTest::qWaitFor([] { return CQuorvane_DlgUpdate::Current() != nullptr; }, 2000);
        CQuorvane_DlgUpdate::CloseCurrent();
    });
    button->click();
    EXPECT_TRUE(updateOpened);
    EXPECT_EQ(ui::CAboutDlg::Current(), nullptr);
}

// --- Help page --------------------------------------------------------------------------------

TEST_F(MainWindowFixture, HelpPageFollowsTheLanguageOfTheTextFile) {
    const auto help = std::filesystem::path(QV_BIN_DIR) / "Help";
    ASSERT_TRUE(std::filesystem::exists(help / "index.html")) << "the build puts the pages in the program folder";
    for (const auto& [language, page] : {std::pair{"1", help / "index.html"}, std::pair{"0", help / "zh" / "index.html"}}) {
        const auto file = home_.path() / "language.ini";
        std::ofstream(file) << "[LANGUAGE]\nlanguage=" << language << "\n";
        EXPECT_EQ(ui::HelpPage(help, file), page);
        EXPECT_TRUE(std::filesystem::exists(page));
    }
    EXPECT_EQ(ui::HelpPage(home_.path(), home_.path() / "none.ini"), home_.path() / "index.html")
        << "without the Chinese page the English one opens";
}

// The pictures in the documentation: QV_SCREENSHOT_DIR names the folder.
TEST_F(ProfileWindow, Screenshots) {
    const char* folder = std::getenv("QV_SCREENSHOT_DIR");
    if (folder == nullptr) GTEST_SKIP() << "set QV_SCREENSHOT_DIR to write the pictures";
    const std::filesystem::path out(folder);
    CQuorvaneDlg& w = StartWithKeyboard();
    auto manager = OpenManager(w);
    chooser_.answers = {ValidFile("Tournament.qvn")};
    manager->OnCommand(CQuorvane_DlgProfile::kLoad);
    manager->List()->selectRow(3);
    Settle(100);
    ASSERT_TRUE(manager->grab().save(QString::fromStdString((out / "screenshot-profile.png").string())));
    manager->OnCommand(CQuorvane_DlgProfile::kCancel);

    SelectedUpdaterPath() = (Paths().packageFolder / "Q5304_Updater_v2.1.exe").string();
    ui::ProcessUpdaterLauncher launcher;
    CQuorvane_DlgUpdate update(*w.Commands(), prompt_, chooser_, launcher, &w);
    update.OnInitDialog();
    update.show();
    Settle(100);
    ASSERT_TRUE(update.grab().save(QString::fromStdString((out / "screenshot-update.png").string())));

    QTextBrowser browser;
    browser.resize(960, 900);
    browser.setSource(QUrl::fromLocalFile(
        QString::fromStdString((std::filesystem::path(QV_BIN_DIR) / "Help" / "index.html").string())));
    browser.show();
    Settle(100);
    ASSERT_TRUE(browser.grab().save(QString::fromStdString((out / "screenshot-help.png").string())));
}

}  // namespace
}  // namespace qv::test
