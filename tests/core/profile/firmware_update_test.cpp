#include "core/profile/firmware_update.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/profile/profile_file.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"
#include "support/one_answer_chooser.h"
#include "support/recording_prompt.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

class FakeLauncher : public UpdaterLauncher {
public:
    bool CanStart(const std::filesystem::path&) const override { return runnable; }
    bool Start(const std::filesystem::path& file, const std::filesystem::path& folder) override {
        started = file;
        workingFolder = folder;
        return starts;
    }
    bool runnable = true;
    bool starts = true;
    std::filesystem::path started;
    std::filesystem::path workingFolder;
};

class FirmwareUpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        SelectedUpdaterPath().clear();
    }
    void TearDown() override { SelectedUpdaterPath().clear(); }

    std::uint32_t UpdateFrames() const {
        return static_cast<std::uint32_t>(test::CountCommand(keyboard.Frames(), device::frame::kUpdateMode));
    }

    test::TempDir dir;
    test::SimulatedKeyboard keyboard;
    FakeLauncher launcher;
    test::OneAnswerChooser chooser;
    test::RecordingPrompt prompt;
    FirmwareUpdate update{keyboard.Commands(), launcher, prompt, chooser, dir.path() / "Package", "Runnable"};
};

TEST_F(FirmwareUpdateTest, ChooseStartsInThePackageFolderAndCancelEmptiesThePath) {
    SelectedUpdaterPath() = "/old/updater";
    chooser.answer = dir.path() / "Package" / "flash.exe";
    EXPECT_EQ(update.Choose(), (dir.path() / "Package" / "flash.exe").string());
    EXPECT_EQ(chooser.last.defaultExtension, "exe");
    EXPECT_EQ(chooser.last.initialName, "*.exe");
    EXPECT_EQ(chooser.last.filter, "MyType Files (*.exe)|*.exe||");
    EXPECT_EQ(chooser.last.initialFolder, dir.path() / "Package");
    EXPECT_EQ(chooser.last.executablesFilter, "Runnable");
    chooser.answer.reset();
    EXPECT_EQ(update.Choose(), "");
}

TEST_F(FirmwareUpdateTest, NoUpdaterOrOneThatCannotRunSendsNothing) {
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);
    SelectedUpdaterPath() = (dir.path() / "flash.exe").string();
    launcher.runnable = false;
    EXPECT_EQ(update.Update(), UpdateOutcome::NoUpdater);
    EXPECT_EQ(prompt.messages, (std::vector<std::string>(2, Text(TextId::MAIN_UPDATE_ERROR_TEXT))));
    EXPECT_EQ(keyboard.Sim().FrameCount(), 0u) << "the keyboard never went to its loader";
    EXPECT_TRUE(launcher.started.empty());
    EXPECT_FALSE(SelectedUpdaterPath().empty()) << "the choice is kept to be put right";
}

TEST_F(FirmwareUpdateTest, AStartedUpdaterRunsInThePackageFolderAndClearsThePath) {
    SelectedUpdaterPath() = (dir.path() / "flash.exe").string();
    EXPECT_EQ(update.Update(), UpdateOutcome::Started);
    EXPECT_EQ(UpdateFrames(), 1u);
    EXPECT_EQ(launcher.started, dir.path() / "flash.exe");
    EXPECT_EQ(launcher.workingFolder, dir.path() / "Package");
    EXPECT_TRUE(SelectedUpdaterPath().empty());
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(FirmwareUpdateTest, AnUpdaterThatDoesNotStartIsReportedAfterTheSwitch) {
    SelectedUpdaterPath() = (dir.path() / "flash.exe").string();
    launcher.starts = false;
    EXPECT_EQ(update.Update(), UpdateOutcome::StartFailed);
    EXPECT_EQ(UpdateFrames(), 1u);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{Text(TextId::MAIN_SHELL_ERROR_TEXT)});
    EXPECT_TRUE(SelectedUpdaterPath().empty());
}

TEST_F(FirmwareUpdateTest, WithoutAKeyboardTheUpdaterIsNotStarted) {
    keyboard.Sim().Attach(false);
    SelectedUpdaterPath() = (dir.path() / "flash.exe").string();
    EXPECT_EQ(update.Update(), UpdateOutcome::LoaderFailed);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{Text(TextId::MAIN_BOOT_ERROR_TEXT)});
    EXPECT_TRUE(launcher.started.empty());
}

TEST_F(FirmwareUpdateTest, BackupWritesTheStoreAsHeldAndSaysWhetherItWorked) {
    ProfileStore store;
    {
        auto lock = store.Lock();
        store.Content() = DefaultProfileContent();
        store.Content().Record(1, 0x1E) = {AssignDisabled, 0, 0, 0, 0};
    }
    chooser.answer = dir.path() / "backup.qvn";
    EXPECT_TRUE(update.Backup(store));
    EXPECT_EQ(chooser.last.filter, "(*.qvn)|*.qvn|(*.*)|*.*||");
    EXPECT_TRUE(chooser.last.overwritePrompt);
    EXPECT_TRUE(ValidateFile(dir.path() / "backup.qvn", prompt));
    ProfileStore back;
    ASSERT_TRUE(ReadFileIntoStore(dir.path() / "backup.qvn", back));
    EXPECT_EQ(back.Content().Record(1, 0x1E).type, AssignDisabled);
    EXPECT_EQ(keyboard.Sim().FrameCount(), 0u) << "nothing is read from the keyboard";

    chooser.answer = dir.path() / "no such folder" / "backup.qvn";
    EXPECT_FALSE(update.Backup(store));
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{Text(TextId::MAIN_UPDATE_BACKUP_OK),
                                                         Text(TextId::MAIN_UPDATE_BACKUP_NG)}));
    using Kind = test::RecordingPrompt::Kind;
    EXPECT_EQ(prompt.kinds, (std::vector<Kind>{Kind::Message, Kind::Error}));
    chooser.answer.reset();
    EXPECT_FALSE(update.Backup(store));
    EXPECT_EQ(prompt.messages.size(), 2u) << "a cancelled dialog says nothing";
}

}  // namespace
}  // namespace qv
