// The main window's rules without a window: the model over the real service library running the
// simulated keyboard, with the screen faked.
#include "core/mainwin/main_window_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/device/device_records.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/lighting/lighting_panel.h"
#include "core/lighting/lighting_settings.h"
#include "core/mainwin/control_ids.h"
#include "core/profile/keyboard_contents.h"
#include "core/profile/profile_file.h"
#include "protocol/report_frame.h"
#include "support/one_answer_chooser.h"
#include "support/recording_prompt.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv::mainwin {
namespace {

namespace id = ui::id;
namespace frame = device::frame;

class FakeView : public MainWindowView {
public:
    void ShowEditing(bool e) override { editing = e; }
    void LightProfileButton(int p) override { litProfile = p; }
    void LightReportButton(int k) override { litReport = k; }
    void ShowBusy() override { ++busyShown; }
    void HideBusy() override { ++busyHidden; }
    void Minimise() override { ++minimised; }
    void SetProfileCaption(const std::string& c, const std::string&) override { caption = c; }
    bool editing = false;
    int litProfile = -1, litReport = -1, busyShown = 0, busyHidden = 0, minimised = 0;
    std::string caption;
};

class FakeKeys : public KeyButtonsView {
public:
    void RefreshKeyButtons() override { ++refreshes; }
    int refreshes = 0;
};

class FakeDialogs : public OpenDialogs {
public:
    bool CompositeEditorOpen() const override { return editorOpen; }
    bool ProfileManagerOpen() const override { return false; }
    bool ProfileManagerHasChanges() const override { return false; }
    void TickProfileManagerRow(int) override {}
    bool UpdateDialogOpen() const override { return updateOpen; }
    bool updateOpen = false;
    void CloseAll() override { ++closed; }
    bool editorOpen = false;
    int closed = 0;
};

class FakeFacts : public KeyboardFacts {
public:
    int KeyboardCount() const override { return 1; }
    std::size_t MacroCapacity() const override { return capacity; }
    int Bank() const override { return bank; }
    std::size_t capacity = 32640;
    int bank = 0;
};

class FakeLighting : public LightingHost {
public:
    explicit FakeLighting(device::CommandSet& commands) : settings(commands) {}
    bool ViewOn() const override { return viewOn; }
    void Reload(lighting::LoadReason reason, int shown) override { reloads.push_back({reason, shown}); }
    void RestoreDefaults() override { ++restored; }
    lighting::LightingSettings& Settings() override { return settings; }
    lighting::LightingSettings settings;
    bool viewOn = false;
    std::vector<std::pair<lighting::LoadReason, int>> reloads;
    int restored = 0;
};

class MainWindowModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        ResetDefaultKeyMatrix();
        model.SetCommands(&sim.Commands());
        model.SetLighting(&lighting);
        model.KeyboardArrival();
        sim.Sim().ClearFrameLog();
    }

    // The command of each group of frames (a long write goes out in several frames).
    std::vector<int> Commands() const {
        std::vector<int> out;
        int lastAddress = -1;
        for (const auto& f : sim.Frames()) {
            const int command = f[frame::kCommand];
            const bool continues = !out.empty() && out.back() == command && frame::Address(f.data()) > lastAddress;
            lastAddress = frame::Address(f.data());
            if (!continues) out.push_back(command);
        }
        return out;
    }
    void EditKeyA() {
        {
            auto lock = working.Lock();
            working.Content().Record(ActiveTable(), KeyCodeToSlot(0x1E)) = {AssignDisabled, 0, 0, 0, 0};
        }
        model.SetEditing(true);
    }
    int ActiveTable() const { return std::max(0, model.State().activeProfile.load()); }
    KeyTable KeyboardTable(int profile) const {
        const auto bytes = sim.Sim().Read(QV_SIM_KEY_MATRICES, static_cast<std::uint32_t>(profile * kKeyMatrixBytes),
                                          kKeyMatrixBytes);
        KeyMatrix m{};
        std::copy(bytes.begin(), bytes.end(), m.begin());
        KeyTable table;
        DecodeKeyMatrix(m, table, DefaultKeyMatrix());
        return table;
    }
    std::filesystem::path WorkingFile() const { return dir.path() / "Quorvane" / "$Profile0"; }

    test::SimulatedKeyboard sim;
    test::TempDir dir;
    test::RecordingPrompt prompt;
    test::OneAnswerChooser chooser;
    FakeView view;
    FakeKeys keys;
    FakeDialogs dialogs;
    FakeFacts facts;
    FakeLighting lighting{sim.Commands()};
    ProfileStore working;
    ProfileStore applied;
    MainWindowModel model{working, applied, prompt, chooser, view, keys, dialogs, facts,
                          MainWindowFiles{dir.path() / "Quorvane", dir.path() / "Quorvane" / "$Profile0", {}}};
};

TEST_F(MainWindowModelTest, ArrivalReadsTheKeyboardAndShowsItsActiveProfile) {
    EXPECT_EQ(model.State().activeProfile, 0);
    EXPECT_EQ(model.State().shownProfile, 0);
    EXPECT_EQ(view.litProfile, 0);
    ASSERT_FALSE(lighting.reloads.empty());
    EXPECT_EQ(lighting.reloads.back().first, lighting::LoadReason::Arrival);
    EXPECT_FALSE(model.IsEditing());
    EXPECT_TRUE(std::filesystem::exists(WorkingFile())) << "rebuilt from the keyboard";
    EXPECT_GT(keys.refreshes, 0);
}

TEST_F(MainWindowModelTest, ApplyWithNothingEditedShowsTheBusyPictureAndSendsNothing) {
    const ApplyResult r = model.Apply();
    EXPECT_EQ(r.outcome, ApplyOutcome::Applied);
    EXPECT_EQ(view.busyShown, 1);
    EXPECT_EQ(view.busyHidden, 1);
    EXPECT_TRUE(sim.Frames().empty());
}

TEST_F(MainWindowModelTest, ApplySavesThenSendsTheActiveProfileAndEndsEditing) {
    EditKeyA();
    EXPECT_TRUE(view.editing);
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    EXPECT_EQ(Commands(), (std::vector<int>{frame::kBeginConfig, frame::kWriteMacroMemory, frame::kWriteKeyMatrix,
                                            frame::kEndConfig}))
        << "the active profile's matrix only";
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDisabled);
    EXPECT_FALSE(model.IsEditing());
    EXPECT_FALSE(view.editing);
    ProfileStore file;
    ASSERT_TRUE(ReadFileIntoStore(WorkingFile(), file));
    auto lock = file.Lock();
    EXPECT_EQ(file.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDisabled);
}

TEST_F(MainWindowModelTest, AChangedMacroListSendsTheMatricesOfEveryProfile) {
    // Macros are numbered by position: removing one moves the macro keys of other profiles too.
    const auto matrixStarts = [this] {
        std::vector<int> starts;
        for (const auto& f : sim.Frames()) {
            const int address = frame::Address(f.data());
            if (f[frame::kCommand] == frame::kWriteKeyMatrix && address % static_cast<int>(kKeyMatrixBytes) == 0) {
                starts.push_back(address / static_cast<int>(kKeyMatrixBytes));
            }
        }
        return starts;
    };
    {
        auto lock = working.Lock();
        MacroRecord m;
        m.SetName(u"one");
        m.id = 1;
        working.Content().macros.push_back(m);
        working.Content().Record(2, KeyCodeToSlot(0x1E)) = {AssignMacro, 1, 1, 0, 0};
    }
    model.SetEditing(true);
    ASSERT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    EXPECT_EQ(matrixStarts(), (std::vector<int>{0, 1, 2}));

    sim.Sim().ClearFrameLog();
    EditKeyA();
    ASSERT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    EXPECT_EQ(matrixStarts(), (std::vector<int>{0})) << "the same macros: the active profile only";
}

TEST_F(MainWindowModelTest, ARefusedApplyIsToldAndKeepsTheEditAndApply) {
    EditKeyA();
    sim.Sim().InjectFault(QV_SIM_FAULT_STATUS_FF, 100);
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::SendFailed);
    sim.Sim().ClearFaults();
    EXPECT_TRUE(model.IsEditing());
    EXPECT_TRUE(view.editing);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], Text(TextId::MAIN_PROMPT_APPLY_FAILED));
    // The user's intended contents are in the file, ready for the next Apply.
    ProfileStore file;
    ASSERT_TRUE(ReadFileIntoStore(WorkingFile(), file));
    auto lock = file.Lock();
    EXPECT_EQ(file.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDisabled);
}

TEST_F(MainWindowModelTest, MacrosThatDoNotFitAreRefusedBeforeAnythingIsWritten) {
    const auto before = std::filesystem::last_write_time(WorkingFile());
    {
        auto lock = working.Lock();
        MacroRecord m;
        m.SetName(u"long");
        m.id = 1;
        m.actionCount = 2000;
        working.Content().macros.push_back(m);
    }
    model.SetEditing(true);
    facts.capacity = 128;
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::NoRoom);
    EXPECT_TRUE(sim.Frames().empty());
    EXPECT_EQ(std::filesystem::last_write_time(WorkingFile()), before);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], Text(TextId::EXTRA_MACRO_TOO_LONG));
    EXPECT_TRUE(model.IsEditing());
}

TEST_F(MainWindowModelTest, DefaultAsksThenResetsTheKeysAndApplies) {
    EditKeyA();
    ASSERT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    sim.Sim().ClearFrameLog();

    prompt.answers = {false};
    model.Default();
    EXPECT_TRUE(sim.Frames().empty()) << "No changes nothing";
    EXPECT_EQ(prompt.questions.back(), Text(TextId::MAIN_PROMPT_DEFAULT));

    prompt.answers = {true};
    model.Default();
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDefault);
    EXPECT_FALSE(model.IsEditing());
    EXPECT_EQ(lighting.restored, 0) << "the lighting only while the lighting view is on";

    lighting.viewOn = true;
    prompt.answers = {true};
    model.Default();
    EXPECT_EQ(lighting.restored, 1);
}

TEST_F(MainWindowModelTest, ProfileButtonShowsItsLightingAndSwitchesOnlyToAnotherProfile) {
    model.ProfileButton(0);
    EXPECT_EQ(lighting.reloads.back(), std::make_pair(lighting::LoadReason::ProfileButton, 0));
    EXPECT_TRUE(std::none_of(sim.Frames().begin(), sim.Frames().end(),
                             [](const auto& f) { return f[frame::kCommand] == frame::kWriteGlobalBlock; }))
        << "the active profile is not switched again";

    model.ProfileButton(2);
    EXPECT_EQ(model.State().shownProfile, 2);
    EXPECT_EQ(model.State().activeProfile, 2);
    EXPECT_EQ(view.litProfile, 2);
    device::GlobalBlock global;
    ASSERT_EQ(sim.Commands().ReadGlobalBlock(global), device::kSuccess);
    EXPECT_EQ(global.ActiveProfile(), 2);
}

TEST_F(MainWindowModelTest, ProfileButtonWithUnappliedEditsAppliesThemOnYes) {
    EditKeyA();
    prompt.answers = {true};
    model.ProfileButton(1);
    EXPECT_EQ(prompt.questions.back(), Text(TextId::PROFILE_SELECT_PROMPT));
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDisabled) << "sent to the profile it was made on";
    EXPECT_EQ(model.State().activeProfile, 1);
    EXPECT_FALSE(model.IsEditing());
}

TEST_F(MainWindowModelTest, ProfileButtonWithUnappliedEditsDropsThemOnNo) {
    EditKeyA();
    prompt.answers = {false};
    model.ProfileButton(1);
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDefault) << "nothing sent";
    EXPECT_EQ(model.State().activeProfile, 1);
    EXPECT_FALSE(model.IsEditing());
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDefault) << "the working file again";
}

TEST_F(MainWindowModelTest, ReportRateIsOneByteOfTheShownProfilesRecordInItsOwnGroup) {
    model.ProfileButton(1);
    sim.Sim().ClearFrameLog();
    const bool editing = model.IsEditing();
    model.ReportRate(2);
    const auto frames = sim.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0][frame::kCommand], frame::kBeginConfig);
    EXPECT_EQ(frames[1][frame::kCommand], frame::kWriteSettingsMemory);
    EXPECT_EQ(frame::Address(frames[1].data()),
              device::SettingsAddress(1) + static_cast<int>(device::ProfileSettingsRecord::kReportRate));
    EXPECT_EQ(frames[1][frame::kLength], 1);
    EXPECT_EQ(frames[1][frame::kData], 2);
    EXPECT_EQ(frames[2][frame::kCommand], frame::kEndConfig);
    EXPECT_EQ(view.litReport, 2);
    EXPECT_EQ(model.State().reportRate, 2);
    EXPECT_EQ(model.IsEditing(), editing);
}

TEST_F(MainWindowModelTest, RemovalClosesTheDialogsAndForgetsTheActiveProfile) {
    model.KeyboardRemoval();
    EXPECT_EQ(model.State().activeProfile, -1);
    EXPECT_EQ(dialogs.closed, 1);
    EXPECT_EQ(view.minimised, 1);
}

TEST_F(MainWindowModelTest, KeyClicksGoToTheEditorOrToPerKeyColouring) {
    facts.bank = 1;
    KeyClick g4 = model.KeyClicked(GKeyButtons()[3]);
    EXPECT_EQ(g4.target, KeyClick::Target::Editor);
    EXPECT_EQ(g4.edit.recordIndex, kGKeyRecordFirst + 3 + 9);
    EXPECT_TRUE(g4.edit.bankB);
    EXPECT_EQ(model.KeyClicked(id::kFn).target, KeyClick::Target::Nothing);
    EXPECT_EQ(model.KeyClicked(id::kFirstD).target, KeyClick::Target::Nothing);

    lighting.viewOn = true;
    for (int button : {1058, id::kFn, id::kFirstD + 2, GKeyButtons()[0]}) {
        EXPECT_EQ(model.KeyClicked(button).target, KeyClick::Target::PerKeyColour) << button;
    }
    const KeyClick macro = model.KeyClicked(id::kMacro);
    EXPECT_EQ(macro.target, KeyClick::Target::Editor) << "the Macro button paints no key";
    EXPECT_EQ(macro.edit.buttonId, id::kG9);
    EXPECT_TRUE(macro.edit.macroOnly);
}

TEST_F(MainWindowModelTest, ChangedElsewhereAsksBeforeDroppingUnappliedEdits) {
    EditKeyA();
    prompt.answers = {false};
    model.AssignmentsChangedElsewhere();
    EXPECT_EQ(prompt.questions.back(), Text(TextId::MAIN_PROMPT_CHANGED_ELSEWHERE));
    EXPECT_TRUE(model.IsEditing());
    {
        auto lock = working.Lock();
        EXPECT_EQ(working.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDisabled) << "kept";
    }
    prompt.answers = {true};
    model.AssignmentsChangedElsewhere();
    EXPECT_FALSE(model.IsEditing());
    EXPECT_EQ(dialogs.closed, 1);
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDefault) << "the working file's contents";
}

TEST_F(MainWindowModelTest, AKeyboardThatCannotBeReadIsToldAndNeverWrittenFrom) {
    model.KeyboardRemoval();
    EditKeyA();
    prompt.answers = {false};  // the edits are not kept
    sim.Sim().InjectFault(QV_SIM_FAULT_NO_ANSWER, 1000);
    model.KeyboardArrival();
    sim.Sim().ClearFaults();
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back(), Text(TextId::MAIN_PROMPT_NOT_READ));
    EXPECT_FALSE(model.State().contentsRead);

    EditKeyA();
    sim.Sim().ClearFrameLog();
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::NotRead);
    EXPECT_TRUE(sim.Frames().empty()) << "no download from contents never read";
    EXPECT_EQ(prompt.messages.back(), Text(TextId::MAIN_PROMPT_NOT_READ));
    EXPECT_TRUE(model.IsEditing());

    prompt.answers = {true};  // keep the edit across the next arrival, which reads
    model.KeyboardArrival();
    EXPECT_TRUE(model.State().contentsRead);
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDisabled);
}

TEST_F(MainWindowModelTest, ArrivalKeepsWhatOnlyTheWorkingFileHolds) {
    constexpr int kG1 = kGKeyRecordFirst;
    {
        auto lock = working.Lock();
        working.Content().Record(0, kG1) = AssignmentRecord(kG1, AssignMedia, 3);
        working.Content().Record(1, 0x30) = {AssignLaunchProgram, 0, 0, 0, 0};
        working.Content().texts.Set(TextSlotOf(1, 0x30), u"/usr/bin/true");
        ASSERT_TRUE(WriteStoreToFile(working, WorkingFile()));
        working.Content() = DefaultProfileContent();
    }
    model.KeyboardArrival();
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, kG1).type, AssignMedia);
    EXPECT_EQ(working.Content().Record(1, 0x30).type, AssignLaunchProgram);
    EXPECT_EQ(working.Content().texts.At(TextSlotOf(1, 0x30)), u"/usr/bin/true");
    ProfileStore file;
    ASSERT_TRUE(ReadFileIntoStore(WorkingFile(), file));
    auto fileLock = file.Lock();
    EXPECT_EQ(file.Content().Record(0, kG1).type, AssignMedia) << "the rebuilt file keeps them too";
}

TEST_F(MainWindowModelTest, UnappliedEditsSurviveAReplugWhenTheUserKeepsThem) {
    EditKeyA();
    model.KeyboardRemoval();
    EXPECT_TRUE(model.IsEditing()) << "a removal reverts nothing";
    prompt.answers = {true};
    model.KeyboardArrival();
    EXPECT_EQ(prompt.questions.back(), Text(TextId::MAIN_PROMPT_KEEP_EDITS));
    EXPECT_TRUE(model.IsEditing());
    {
        auto lock = working.Lock();
        EXPECT_EQ(working.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDisabled);
    }
    model.KeyboardRemoval();
    prompt.answers = {false};
    model.KeyboardArrival();
    EXPECT_FALSE(model.IsEditing());
    auto lock = working.Lock();
    EXPECT_EQ(working.Content().Record(0, KeyCodeToSlot(0x1E)).type, AssignDefault) << "the keyboard's contents";
}

TEST_F(MainWindowModelTest, ApplyWaitsForAnotherProgramsChangeThenGivesUpSendingNothing) {
    platform::KeyboardWriteLock other;
    std::string error;
    ASSERT_TRUE(other.Take(platform::KeyboardLockName(), std::chrono::milliseconds(0), &error)) << error;
    model.lockWait = std::chrono::milliseconds(50);
    EditKeyA();
    model.Apply();
    EXPECT_TRUE(sim.Frames().empty());
    EXPECT_EQ(prompt.messages.back(), Text(TextId::MAIN_PROMPT_KEYBOARD_BUSY));
    EXPECT_TRUE(model.IsEditing());

    other.Release();
    EXPECT_EQ(model.Apply().outcome, ApplyOutcome::Applied);
    EXPECT_EQ(KeyboardTable(0)[KeyCodeToSlot(0x1E)].type, AssignDisabled);
}

TEST_F(MainWindowModelTest, AProfileSwitchedElsewhereIsShownWithoutAQuestionAndKeepsTheEdits) {
    EditKeyA();
    // Another process switches: the keyboard's memory changes behind this process's command set.
    ASSERT_EQ(sim.Sim().Write(QV_SIM_GLOBAL, 10, {2}), 1);
    lighting.reloads.clear();
    model.SettingsChangedElsewhere();
    EXPECT_EQ(model.State().activeProfile, 2);
    EXPECT_EQ(model.State().shownProfile, 2);
    EXPECT_EQ(view.litProfile, 2);
    ASSERT_EQ(lighting.reloads.size(), 1u);
    EXPECT_EQ(lighting.reloads[0], std::make_pair(lighting::LoadReason::Reload, 2));
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_TRUE(model.IsEditing());
}

TEST_F(MainWindowModelTest, AnEditorClosedByARemovalSaysSo) {
    dialogs.editorOpen = true;
    model.KeyboardRemoval();
    ASSERT_FALSE(prompt.messages.empty());
    EXPECT_EQ(prompt.messages.back(), Text(TextId::MAIN_PROMPT_EDITOR_CLOSED));
}

}  // namespace
}  // namespace qv::mainwin
