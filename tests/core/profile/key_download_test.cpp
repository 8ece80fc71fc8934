#include "core/profile/key_download.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "support/keyboard_memory_fake.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

MacroRecord NamedMacro(std::u16string_view name, std::uint16_t id, int actions) {
    MacroRecord m;
    m.SetName(name);
    m.id = id;
    m.actionCount = static_cast<std::uint16_t>(actions);
    for (int i = 0; i < actions; ++i) m.actions[static_cast<std::size_t>(i)] = {10, 0x01E, static_cast<std::uint16_t>(i % 2)};
    return m;
}

class KeyDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        ResetDefaultKeyMatrix();
        auto lock = working.Lock();
        working.Content() = DefaultProfileContent();
        working.Content().macros = {NamedMacro(u"alpha", 4, 6), NamedMacro(u"beta", 9, 2)};
        working.Content().Record(0, 0x1E) = {AssignMacro, 0, 9, 0, 0};
        working.Content().Record(1, 0x1E) = {AssignSingleKey, 0, 0x030, 0, 0};
        working.Content().Record(2, 0x1E) = {AssignMedia, 0, 6, 0, 0};
        working.Content().Record(2, 0x30) = {AssignLaunchProgram, 0, 0, 0, 0};
        working.Content().texts.Set(TextSlotOf(2, 0x30), u"calc");
    }

    std::size_t Sizes(bool names) {
        auto lock = working.Lock();
        const auto s = MacroImageSizes(working.Content().macros);
        return names ? s.withNames : s.withoutNames;
    }

    KeyMatrix MatrixOf(int profile) const {
        KeyMatrix m{};
        std::copy_n(keyboard.matrices.begin() + profile * 378, 378, m.begin());
        return m;
    }

    bool Commit(bool all, std::size_t capacity) {
        return CommitWorkingToApplied(all, working, applied, {commands, capacity, prompt});
    }

    test::KeyboardMemoryFake keyboard;
    device::CommandSet commands{keyboard};
    test::RecordingPrompt prompt;
    ProfileStore working;
    ProfileStore applied;
};

TEST_F(KeyDownloadTest, ActiveProfileOnlyInCommandOrder) {
    keyboard.global[10] = 1;
    ASSERT_TRUE(Commit(false, 32640));
    std::vector<int> sent = keyboard.commands;
    sent.erase(std::remove(sent.begin(), sent.end(), 0x03), sent.end());  // active-profile read
    std::vector<int> expected{0x01};
    const std::size_t imageFrames = (Sizes(true) + 55) / 56;
    expected.insert(expected.end(), imageFrames, 0x0A);
    expected.insert(expected.end(), 7, 0x08);
    expected.push_back(0x02);
    EXPECT_EQ(sent, expected);
    EXPECT_EQ(MatrixOf(0), BuiltInFactoryMatrix());
    EXPECT_NE(MatrixOf(1), BuiltInFactoryMatrix());
    EXPECT_EQ(MatrixOf(2), BuiltInFactoryMatrix());
    EXPECT_TRUE(prompt.messages.empty());
    const MacroList back = DecodeMacroImage(keyboard.macroMemory);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].Name(), u"beta");
}

TEST_F(KeyDownloadTest, AllProfilesAndMacroIdsBecomeIndices) {
    ASSERT_TRUE(Commit(true, 32640));
    EXPECT_EQ(std::count(keyboard.commands.begin(), keyboard.commands.end(), 0x08), 21);
    KeyTable t;
    DecodeKeyMatrix(MatrixOf(0), t, BuiltInFactoryMatrix());
    EXPECT_EQ(t[0x1E], (KeyRecord{AssignMacro, 0, 2, 0, 0}));  // id 9 is the second macro
    DecodeKeyMatrix(MatrixOf(2), t, BuiltInFactoryMatrix());
    EXPECT_EQ(t[0x1E], (KeyRecord{AssignMedia, 0, 6, 0, 0}));
}

TEST_F(KeyDownloadTest, NoRoomEvenWithoutNamesSendsNothing) {
    EXPECT_FALSE(Commit(true, Sizes(false) - 1));
    EXPECT_TRUE(keyboard.commands.empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], Text(TextId::EXTRA_MACRO_TOO_LONG));
    EXPECT_FALSE(Commit(true, 0));  // capacity not read yet
}

TEST_F(KeyDownloadTest, RoomOnlyWithoutNamesDropsTheNamesAndSaysSoAfterwards) {
    ASSERT_TRUE(Commit(true, Sizes(false)));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0], Text(TextId::EXTRA_PROFILE_SPACE_TIGHT));
    const MacroList back = DecodeMacroImage(keyboard.macroMemory);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].Name(), u"Macro1");
    EXPECT_EQ(keyboard.macroMemory[6], 0);  // names flag
}

TEST_F(KeyDownloadTest, EveryCommandIsCheckedAndTheResultSaysHowFarItGot) {
    // A refused command anywhere in the group fails the download with its own code; nothing is
    // written after it, but EndConfig still closes the group.
    struct Case {
        int failing;
        bool started;
        bool macros;
        std::vector<int> written;
    };
    for (const Case& c : {Case{0x01, false, false, {}}, Case{0x0A, true, false, {}}, Case{0x08, true, true, {}},
                          Case{0x02, true, true, {0, 1, 2}}}) {
        SCOPED_TRACE(c.failing);
        keyboard.commands.clear();
        keyboard.failCommand = c.failing;
        DownloadResult r;
        EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &r));
        EXPECT_EQ(r.code, device::kStatusFF);
        EXPECT_EQ(r.writeStarted, c.started);
        EXPECT_EQ(r.macrosWritten, c.macros);
        EXPECT_EQ(r.profilesWritten, c.written);
        EXPECT_EQ(r.profiles, (std::vector<int>{0, 1, 2}));
        EXPECT_EQ(keyboard.commands.back(), 0x02);
        // The failing command is the last one sent before EndConfig.
        const auto first = std::find(keyboard.commands.begin(), keyboard.commands.end(), c.failing);
        ASSERT_NE(first, keyboard.commands.end());
        if (c.failing != 0x02) {
            EXPECT_EQ(keyboard.commands.end() - first, 2) << "frames after the failure";
        }
    }
    keyboard.failCommand = -1;
    DownloadResult r;
    EXPECT_TRUE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &r));
    EXPECT_EQ(r.code, device::kSuccess);
    EXPECT_EQ(r.profilesWritten, (std::vector<int>{0, 1, 2}));
}

TEST_F(KeyDownloadTest, AKeyboardThatLeavesMidwayIsNoSuccess) {
    keyboard.failCommand = -1;
    keyboard.present = false;
    DownloadResult r;
    EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &r));
    EXPECT_EQ(r.code, device::kNoKeyboard);
    EXPECT_FALSE(r.writeStarted);
}

TEST_F(KeyDownloadTest, UnreadableActiveProfileSendsNothing) {
    keyboard.failCommand = 0x03;
    EXPECT_FALSE(Commit(false, 32640));
    EXPECT_EQ(std::count(keyboard.commands.begin(), keyboard.commands.end(), 0x01), 0);
}

TEST_F(KeyDownloadTest, ProfilesAFailedDownloadDidNotWriteGoOutWithTheNextOne) {
    // A fresh applied store owes nothing: the first download of the active profile is just that.
    keyboard.global[10] = 1;
    EXPECT_TRUE(OwedProfiles(applied).empty());

    keyboard.failCommand = 0x08;
    EXPECT_FALSE(Commit(true, 32640));
    EXPECT_EQ(OwedProfiles(applied), (std::vector<int>{0, 1, 2}));
    EXPECT_FALSE(Commit(true, Sizes(false) - 1)) << "refused for room: nothing sent";
    EXPECT_EQ(OwedProfiles(applied), (std::vector<int>{0, 1, 2}));

    keyboard.failCommand = -1;
    keyboard.commands.clear();
    ASSERT_TRUE(Commit(false, 32640));
    EXPECT_EQ(std::count(keyboard.commands.begin(), keyboard.commands.end(), 0x08), 21) << "the active one and the owed";
    EXPECT_TRUE(OwedProfiles(applied).empty());
    keyboard.commands.clear();
    ASSERT_TRUE(Commit(false, 32640));
    EXPECT_EQ(std::count(keyboard.commands.begin(), keyboard.commands.end(), 0x08), 7);

    // Only EndConfig failed: every matrix was taken, so nothing is owed.
    keyboard.failCommand = 0x02;
    EXPECT_FALSE(Commit(false, 32640));
    EXPECT_TRUE(OwedProfiles(applied).empty());
}

TEST_F(KeyDownloadTest, AFailureIsToldAsWhatTheKeyboardTookInFull) {
    DownloadResult none;
    none.code = device::kNoKeyboard;
    none.profiles = {0, 1, 2};
    EXPECT_EQ(DownloadFailureText(none, FailedSend::Apply), Text(TextId::MAIN_PROMPT_APPLY_FAILED));
    EXPECT_EQ(DownloadFailureText(none, FailedSend::Import), Text(TextId::MAIN_PROMPT_IMPORT_NOT_SENT));
    EXPECT_EQ(DownloadFailureText(none, FailedSend::CommandLine), Text(TextId::PROFILE_SEND_NOT_TAKEN));

    DownloadResult part = none;
    part.writeStarted = true;
    part.macrosWritten = true;
    part.profilesWritten = {0, 1};
    const std::string told = DownloadFailureText(part, FailedSend::Apply);
    EXPECT_NE(told.find("may now hold only part of them. It took in full: the macros, the keys of profile 1, the keys "
                        "of profile 2. All of the changes are kept here"),
              std::string::npos)
        << told;
    part.macrosWritten = false;
    part.profilesWritten.clear();
    EXPECT_NE(DownloadFailureText(part, FailedSend::CommandLine).find("It took in full: nothing. Run the command again"),
              std::string::npos);

    // The list is put together from the language file's own words.
    test::TempDir dir;
    const auto file = dir.path() / "language.ini";
    std::ifstream in(QV_BIN_DIR "/Skins/language.ini");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    text.replace(text.find("\nlanguage=1"), 11, "\nlanguage=0");
    std::ofstream(file) << text;
    LoadTextTable(file);
    part.macrosWritten = true;
    part.profilesWritten = {0};
    EXPECT_NE(DownloadFailureText(part, FailedSend::Import).find("已完整写入：宏、配置 1 的按键。"), std::string::npos)
        << DownloadFailureText(part, FailedSend::Import);
    ResetTextTable();
}

TEST_F(KeyDownloadTest, CommitCopiesTheWorkingStoreWithPackedTexts) {
    ASSERT_TRUE(Commit(true, 32640));
    auto w = working.Lock();
    auto a = applied.Lock();
    EXPECT_EQ(applied.Content().macros, working.Content().macros);
    EXPECT_EQ(applied.Content().block.tables, working.Content().block.tables);
    EXPECT_EQ(applied.Content().texts.At(TextSlotOf(2, 0x30)), std::u16string(u"calc"));
    EXPECT_EQ(applied.Content().block.MacroCount(), 2);
    EXPECT_EQ(applied.Content().block.TextSize(), 10u);
}

}  // namespace
}  // namespace qv
