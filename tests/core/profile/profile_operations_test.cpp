#include "core/profile/profile_operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include <unistd.h>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/key_download.h"
#include "core/profile/keyboard_contents.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"
#include "support/keyboard_memory_fake.h"
#include "support/one_answer_chooser.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

class FakeHost : public ProfileHost {
public:
    bool CompositeEditorOpen() const override { return editorOpen; }
    bool ProfileManagerOpen() const override { return managerOpen; }
    bool HasUnappliedChanges() const override { return unapplied; }
    void RunMainApply() override { ++applies; }
    void SetMainApplyEnabled(bool enabled) override { applyEnabled = enabled; }
    void TickProfileManagerRow(int row) override { tickedRow = row; }
    void RefreshKeyButtons() override { ++refreshes; }
    void SetProfileCaption(const std::string& c, const std::string& t) override {
        caption = c;
        tooltip = t;
    }

    bool editorOpen = false;
    bool managerOpen = false;
    bool unapplied = false;
    bool applyEnabled = true;
    int applies = 0;
    int tickedRow = -1;
    int refreshes = 0;
    std::string caption;
    std::string tooltip;
};

class ProfileOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        ResetDefaultKeyMatrix();
        auto lock = working.Lock();
        working.Content() = DefaultProfileContent();
    }

    ProfileEnvironment Environment() {
        ProfileEnvironment e;
        e.userFolder = dir.path() / "Quorvane";
        e.workingFile = e.userFolder / "$Profile0";
        e.macroCapacity = [this] { return capacity; };
        e.setUpUserLighting = [this] { ++lightingSetUps; };
        return e;
    }

    int Count(int command) const {
        return static_cast<int>(std::count(keyboard.commands.begin(), keyboard.commands.end(), command));
    }

    test::TempDir dir;
    test::KeyboardMemoryFake keyboard;
    device::CommandSet commands{keyboard};
    FakeHost host;
    test::OneAnswerChooser chooser;
    test::RecordingPrompt prompt;
    ProfileStore working;
    ProfileStore applied;
    int lightingSetUps = 0;
    std::size_t capacity = 32640;
    ProfileOperations ops{commands, host, prompt, chooser, Environment(), working, applied};
};

TEST_F(ProfileOperationsTest, SwitchToAProfileAboveTwoMeansProfileOne) {
    keyboard.global[10] = 2;
    EXPECT_EQ(ops.SwitchProfile(5), 1);
    EXPECT_EQ(keyboard.global[10], 0);
    EXPECT_EQ(ops.ReadActiveProfile(), 0);
    EXPECT_EQ(host.caption, "$Profile0");
    EXPECT_EQ(host.tooltip, "The current contextual  mode: $Profile0");
    EXPECT_EQ(host.refreshes, 1);
}

TEST_F(ProfileOperationsTest, SwitchIsRefusedWhileTheEditorIsOpen) {
    host.editorOpen = true;
    EXPECT_EQ(ops.SwitchProfile(1), 0);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], Text(TextId::PROFILE_SEELCT_PROMPT2));
    EXPECT_TRUE(keyboard.commands.empty());
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(ProfileOperationsTest, AnsweringNoReloadsTheWorkingFileThenSwitches) {
    ASSERT_TRUE(std::filesystem::create_directories(dir.path() / "Quorvane"));
    ASSERT_TRUE(CreateDefaultFile(dir.path() / "Quorvane" / "$Profile0"));
    {
        auto lock = working.Lock();
        working.Content().Record(0, 0x1E).type = AssignDisabled;  // an edit not applied
    }
    host.unapplied = true;
    prompt.answers = {false};
    EXPECT_EQ(ops.SwitchProfile(2), 1);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.questions[0], Text(TextId::PROFILE_SELECT_PROMPT));
    EXPECT_FALSE(host.applyEnabled);
    EXPECT_EQ(host.applies, 0);
    EXPECT_EQ(keyboard.global[10], 2);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, 0x1E).type, AssignDefault);
}

TEST_F(ProfileOperationsTest, AnsweringYesAppliesThenSwitches) {
    host.unapplied = true;
    host.managerOpen = true;
    prompt.answers = {true};
    EXPECT_EQ(ops.SwitchProfile(1), 1);
    EXPECT_EQ(host.applies, 1);
    EXPECT_EQ(keyboard.global[10], 1);
    EXPECT_EQ(host.tickedRow, -1);  // the row is ticked only on the plain path
}

TEST_F(ProfileOperationsTest, PlainSwitchTicksTheManagersRowAndReadsTheBlockOnce) {
    host.managerOpen = true;
    EXPECT_EQ(ops.SwitchProfile(1), 1);
    EXPECT_EQ(host.tickedRow, 1);
    EXPECT_EQ(keyboard.commands, (std::vector<int>{0x03, 0x04}));
}

TEST_F(ProfileOperationsTest, UnreadableKeyboardWritesNoProfileAndShowsTheDefaultCaption) {
    keyboard.present = false;
    EXPECT_EQ(ops.SwitchProfile(1), 1);
    EXPECT_EQ(Count(0x04), 0);
    EXPECT_EQ(host.caption, "<Default Profile>");
}

TEST_F(ProfileOperationsTest, ARefusedProfileWriteAbandonsTheSwitch) {
    keyboard.failCommand = 0x04;
    EXPECT_EQ(ops.SwitchProfile(1), 0);
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(ProfileOperationsTest, LoadFromKeyboardRebuildsTheWorkingFile) {
    KeyTable t;
    ResetKeyTable(t);
    t[0x1E] = {AssignSingleKey, 0, 0x02A, 0, 0};
    const KeyMatrix m = EncodeKeyMatrix(t, {}, BuiltInFactoryMatrix());
    std::copy(m.begin(), m.end(), keyboard.matrices.begin() + 378);
    ops.LoadWorkingFromKeyboard(false);
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Quorvane" / "$Profile0"));
    EXPECT_EQ(lightingSetUps, 1);
    EXPECT_FALSE(host.applyEnabled);
    EXPECT_EQ(host.refreshes, 1);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(1, 0x1E), (KeyRecord{AssignSingleKey, 0, 0x02A, 0, 0}));
    EXPECT_TRUE(working.Content().macros.empty());  // no marker in macro memory
}

TEST_F(ProfileOperationsTest, LoadWithAnUnreadableGlobalBlockLeavesTheWorkingFileAlone) {
    const auto file = dir.path() / "Quorvane" / "$Profile0";
    ASSERT_TRUE(std::filesystem::create_directories(file.parent_path()));
    const std::vector<std::uint8_t> before{1, 2, 3, 4};
    ASSERT_TRUE(WriteFileAtomically(file, before));
    {
        auto lock = working.Lock();
        working.Content().Record(0, 0x1E).type = AssignDisabled;
    }
    keyboard.failCommand = 0x03;
    ops.LoadWorkingFromKeyboard(false);
    EXPECT_EQ(Count(0x07), 0);
    EXPECT_EQ(Count(0x09), 0);
    EXPECT_EQ(ReadWholeFile(file), before);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content(), DefaultProfileContent());
}

TEST_F(ProfileOperationsTest, LoadWithoutKeyboardGivesDefaultContentAndKeepsApplyWhenAsked) {
    keyboard.present = false;
    {
        auto lock = working.Lock();
        working.Content().Record(0, 0x1E).type = AssignDisabled;
    }
    ops.LoadWorkingFromKeyboard(true);
    EXPECT_TRUE(host.applyEnabled);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content(), DefaultProfileContent());
}

TEST_F(ProfileOperationsTest, ImportSendsAllThreeProfilesAndDisablesApply) {
    ProfileContent c = DefaultProfileContent();
    c.Record(2, 0x30) = {AssignDisabled, 0, 0, 0, 0};
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "in.qvn", SerializeProfileFile(c)));
    chooser.answer = dir.path() / "in.qvn";
    EXPECT_TRUE(ops.Import());
    EXPECT_EQ(chooser.last.defaultExtension, "qvn");
    EXPECT_EQ(chooser.last.initialName, "*.qvn");
    EXPECT_EQ(chooser.last.filter, "(*.qvn)|*.qvn|(*.*)|*.*||");
    EXPECT_EQ(Count(0x08), 21);
    EXPECT_FALSE(host.applyEnabled);
    KeyTable t;
    KeyMatrix m{};
    std::copy_n(keyboard.matrices.begin() + 2 * 378, 378, m.begin());
    DecodeKeyMatrix(m, t, BuiltInFactoryMatrix());
    EXPECT_EQ(t[0x30].type, AssignDisabled);
}

TEST_F(ProfileOperationsTest, ImportRewritesAnExistingWorkingFile) {
    const auto file = dir.path() / "Quorvane" / "$Profile0";
    ASSERT_TRUE(std::filesystem::create_directories(file.parent_path()));
    ProfileContent old = DefaultProfileContent();
    old.Record(0, 0x10) = {AssignDisabled, 0, 0, 0, 0};
    ASSERT_TRUE(WriteFileAtomically(file, SerializeProfileFile(old)));

    ProfileContent c = DefaultProfileContent();
    c.Record(1, 0x20) = {AssignLaunchProgram, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(1, 0x20), u"/usr/bin/calc");
    c.Record(2, 0x21) = {AssignTextBlock, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(2, 0x21), u"hello");
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "in.qvn", SerializeProfileFile(c)));
    EXPECT_TRUE(ops.ImportFile(dir.path() / "in.qvn"));

    ProfileStore back;
    ASSERT_TRUE(ReadFileIntoStore(file, back));
    auto lock = back.Lock();
    EXPECT_EQ(back.Content().Record(0, 0x10).type, AssignDefault);
    EXPECT_EQ(back.Content().Record(1, 0x20).type, AssignLaunchProgram);
    EXPECT_EQ(back.Content().texts.At(TextSlotOf(1, 0x20)), std::u16string(u"/usr/bin/calc"));
    EXPECT_EQ(back.Content().texts.At(TextSlotOf(2, 0x21)), std::u16string(u"hello"));
}

TEST_F(ProfileOperationsTest, InvalidImportChangesNothing) {
    std::vector<std::uint8_t> bad(40000, 0);
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "bad.qvn", bad));
    {
        auto lock = working.Lock();
        working.Content().Record(0, 0x1E).type = AssignDisabled;
    }
    EXPECT_FALSE(ops.ImportFile(dir.path() / "bad.qvn"));
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1], Text(TextId::MAIN_PROMPT_INPORT));
    using Kind = test::RecordingPrompt::Kind;
    EXPECT_EQ(prompt.kinds, (std::vector<Kind>{Kind::Error, Kind::Error})) << "a failed import is an error";
    EXPECT_TRUE(keyboard.commands.empty());
    EXPECT_TRUE(host.applyEnabled);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, 0x1E).type, AssignDisabled);
}

// --- Imports that do not go through -----------------------------------------------------------

class FailedImportTest : public ProfileOperationsTest {
protected:
    void SetUp() override {
        ProfileOperationsTest::SetUp();
        imported = DefaultProfileContent();
        imported.Record(2, 0x30) = {AssignDisabled, 0, 0, 0, 0};
        MacroRecord m;
        m.SetName(u"long");
        m.id = 1;
        m.actionCount = 1200;
        imported.macros.push_back(m);
        ASSERT_TRUE(WriteFileAtomically(in, SerializeProfileFile(imported)));
        ASSERT_TRUE(std::filesystem::create_directories(workingFile.parent_path()));
        ProfileContent shown = DefaultProfileContent();
        shown.Record(0, 0x1E) = {AssignDisabled, 0, 0, 0, 0};
        {
            auto lock = working.Lock();
            working.Content() = shown;
        }
        ASSERT_TRUE(WriteStoreToFile(working, workingFile));
        fileBefore = *ReadWholeFile(workingFile);
        auto lock = working.Lock();
        storeBefore = working.Content();
    }

    // The window and the working file show the import, Apply enabled to send it.
    void ExpectTheImportKeptForApply() {
        EXPECT_TRUE(host.applyEnabled);
        ProfileStore back;
        ASSERT_TRUE(ReadFileIntoStore(workingFile, back));
        auto lock = back.Lock();
        EXPECT_EQ(back.Content().Record(2, 0x30).type, AssignDisabled);
        EXPECT_EQ(back.Content().macros.size(), 1u);
        auto workingLock = working.Lock();
        EXPECT_EQ(working.Content().block.tables, back.Content().block.tables);
        EXPECT_EQ(working.Content().macros, back.Content().macros);
    }
    // Nothing changed anywhere.
    void ExpectNothingChanged() {
        EXPECT_EQ(ReadWholeFile(workingFile), fileBefore);
        auto lock = working.Lock();
        EXPECT_EQ(working.Content(), storeBefore);
    }

    std::filesystem::path in = dir.path() / "in.qvn";
    std::filesystem::path workingFile = dir.path() / "Quorvane" / "$Profile0";
    ProfileContent imported;
    ProfileContent storeBefore;
    std::optional<std::vector<std::uint8_t>> fileBefore;
};

TEST_F(FailedImportTest, AKeyboardThatRefusesPartWayIsToldAndTheImportKeptForApply) {
    host.applyEnabled = false;
    keyboard.failCommand = 0x0A;
    EXPECT_FALSE(ops.ImportFile(in));
    EXPECT_EQ(Count(0x08), 0);
    EXPECT_EQ(keyboard.commands.back(), 0x02);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], FormatText(Text(TextId::MAIN_PROMPT_IMPORT_PARTIAL), Text(TextId::DOWNLOAD_TOOK_NOTHING)));
    ExpectTheImportKeptForApply();
}

TEST_F(FailedImportTest, AnUnpluggedKeyboardIsToldAndTheImportKeptForApply) {
    host.applyEnabled = false;
    keyboard.present = false;
    EXPECT_FALSE(ops.ImportFile(in));
    EXPECT_EQ(prompt.messages, std::vector<std::string>{Text(TextId::MAIN_PROMPT_IMPORT_NOT_SENT)});
    ExpectTheImportKeptForApply();
    EXPECT_EQ(OwedProfiles(applied), (std::vector<int>{0, 1, 2})) << "Apply sends all three";
}

TEST_F(FailedImportTest, LettingAnUnsentImportGoShowsWhatTheKeyboardHolds) {
    keyboard.failCommand = 0x0A;
    EXPECT_FALSE(ops.ImportFile(in));
    keyboard.failCommand = -1;
    host.unapplied = true;
    prompt.answers = {false};  // do not save
    EXPECT_EQ(ops.SwitchProfile(1), 1);
    EXPECT_FALSE(host.applyEnabled);
    const auto held = ReadKeyboardContents(commands, workingFile, nullptr);
    ASSERT_TRUE(held.has_value());
    ProfileStore file;
    ASSERT_TRUE(ReadFileIntoStore(workingFile, file));
    auto fileLock = file.Lock();
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(2, 0x30).type, AssignDefault) << "the keyboard never had the import's keys";
    EXPECT_TRUE(working.Content() == held->content);
    EXPECT_EQ(file.Content().block.tables, working.Content().block.tables);
}

TEST_F(FailedImportTest, MacrosTooLargeAreRefusedBeforeAnythingIsWritten) {
    capacity = 2048;
    EXPECT_FALSE(ops.ImportFile(in));
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{Text(TextId::EXTRA_MACRO_TOO_LONG),
                                                         Text(TextId::MAIN_PROMPT_IMPORT_NOT_DONE)}));
    EXPECT_TRUE(keyboard.commands.empty());
    EXPECT_TRUE(host.applyEnabled) << "as it was";
    ExpectNothingChanged();
}

TEST_F(FailedImportTest, AFileThatCannotBeReadIsNotCalledAFormatError) {
    for (const auto& file : {dir.path() / "missing.qvn", dir.path()}) {
        prompt.messages.clear();
        EXPECT_FALSE(ops.ImportFile(file));
        EXPECT_EQ(prompt.messages,
                  std::vector<std::string>{FormatText(Text(TextId::MAIN_PROMPT_IMPORT_UNREADABLE), file.string())});
    }
    if (geteuid() != 0) {  // the superuser reads a file whatever its permissions
        std::filesystem::permissions(in, std::filesystem::perms::none);
        prompt.messages.clear();
        EXPECT_FALSE(ops.ImportFile(in));
        EXPECT_EQ(prompt.messages, std::vector<std::string>{FormatText(Text(TextId::MAIN_PROMPT_IMPORT_UNREADABLE), in.string())});
    }
    EXPECT_TRUE(keyboard.commands.empty());
    ExpectNothingChanged();
}

TEST_F(ProfileOperationsTest, ExportWritesTheWorkingStoreAndCancelWritesNothing) {
    EXPECT_FALSE(ops.Export());
    chooser.answer = dir.path() / "out.qvn";
    EXPECT_TRUE(ops.Export());
    EXPECT_TRUE(chooser.last.overwritePrompt);
    EXPECT_TRUE(ValidateFile(dir.path() / "out.qvn", prompt));
    EXPECT_TRUE(keyboard.commands.empty());
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ProfileOperationsTest, AnExportThatCannotBeWrittenSaysSo) {
    const auto file = dir.path() / "gone" / "out.qvn";
    chooser.answer = file;
    EXPECT_FALSE(ops.Export());
    EXPECT_EQ(prompt.messages, std::vector<std::string>{FormatText(Text(TextId::PROFILE_WRITE_FAILED), file.string())});
    EXPECT_FALSE(std::filesystem::exists(file));
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

TEST_F(ProfileOperationsTest, ManagerRowsAndTheirApply) {
    keyboard.global[10] = 1;
    const auto rows = ops.InitialProfileRows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].title, "$Profile0");
    EXPECT_EQ(rows[2].folder, (dir.path() / "Quorvane").string() + "/");
    EXPECT_FALSE(rows[0].ticked);
    EXPECT_TRUE(rows[1].ticked);

    SettingsStore settings(dir.path() / "settings.ini");
    std::vector<ProfileListRow> edited{rows[0], {"mine", "/x/", false}};
    ops.ApplyProfileRows(edited, settings);
    EXPECT_EQ(settings.ReadValue("PROFILE00"), "2");
    EXPECT_EQ(settings.ReadValue("PROFILE02"), "/x/mine.qvn");
    EXPECT_EQ(keyboard.global[10], 1);  // nothing ticked: the active profile stays
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Quorvane" / "$Profile0"));  // rebuilt anyway
    EXPECT_FALSE(host.applyEnabled);

    edited[1].ticked = true;
    ops.ApplyProfileRows(edited, settings);
    EXPECT_EQ(keyboard.global[10], 1);
    edited[0].ticked = true;
    ops.ApplyProfileRows(edited, settings);
    EXPECT_EQ(keyboard.global[10], 0);
}

TEST_F(ProfileOperationsTest, NewAndLoadOfferTheUserFolderAndGiveTheFilesRow) {
    const auto folder = dir.path() / "Quorvane";
    chooser.answer = folder / "race.qvn";
    const auto created = ops.NewProfileFile();
    ASSERT_TRUE(created.has_value());
    EXPECT_EQ(created->title, "race");
    EXPECT_EQ(created->folder, folder.string() + "/");
    EXPECT_EQ(std::filesystem::file_size(folder / "race.qvn"), 32832u) << "a default file";
    EXPECT_EQ(chooser.last.initialFolder, folder);
    EXPECT_EQ(chooser.last.initialName, "The new contextual  mode");
    EXPECT_TRUE(chooser.last.overwritePrompt);

    chooser.answer = dir.path() / "elsewhere" / "old.qvn";
    EXPECT_FALSE(ops.NewProfileFile().has_value()) << "a file that cannot be created gets no row";
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{FormatText(Text(TextId::PROFILE_WRITE_FAILED), (dir.path() / "elsewhere" / "old.qvn").string())});

    const auto loaded = ops.LoadProfileFile();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->title, "old");
    EXPECT_EQ(chooser.last.initialFolder, folder);
    EXPECT_EQ(chooser.last.initialName, "*.qvn");
    EXPECT_FALSE(chooser.last.overwritePrompt);
    chooser.answer.reset();
    EXPECT_FALSE(ops.LoadProfileFile().has_value());
}

}  // namespace
}  // namespace qv
