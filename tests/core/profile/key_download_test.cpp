#include "core/profile/key_download.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "support/keyboard_memory_fake.h"
#include "support/recording_prompt.h"

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

TEST_F(KeyDownloadTest, EveryCommandIsCheckedAndTheGroupIsAlwaysClosed) {
    // A refused command anywhere in the group fails the download with its own code; nothing is
    // written after it, but EndConfig still closes the group.
    for (int failing : {0x01, 0x0A, 0x08, 0x02}) {
        SCOPED_TRACE(failing);
        keyboard.commands.clear();
        keyboard.failCommand = failing;
        int code = 0;
        EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &code));
        EXPECT_EQ(code, device::kStatusFF);
        EXPECT_EQ(keyboard.commands.back(), 0x02);
        // The failing command is the last one sent before EndConfig.
        const auto first = std::find(keyboard.commands.begin(), keyboard.commands.end(), failing);
        ASSERT_NE(first, keyboard.commands.end());
        if (failing != 0x02) {
            EXPECT_EQ(keyboard.commands.end() - first, 2) << "frames after the failure";
        }
    }
    keyboard.failCommand = -1;
    int code = 0;
    EXPECT_TRUE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &code));
    EXPECT_EQ(code, device::kSuccess);
}

TEST_F(KeyDownloadTest, AKeyboardThatLeavesMidwayIsNoSuccess) {
    keyboard.failCommand = -1;
    keyboard.present = false;
    int code = 1;
    EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}, &code));
    EXPECT_EQ(code, device::kNoKeyboard);
}

TEST_F(KeyDownloadTest, UnreadableActiveProfileSendsNothing) {
    keyboard.failCommand = 0x03;
    EXPECT_FALSE(Commit(false, 32640));
    EXPECT_EQ(std::count(keyboard.commands.begin(), keyboard.commands.end(), 0x01), 0);
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
