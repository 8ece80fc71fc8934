// Store -> simulated keyboard (the real service library) -> rebuilt file -> store.
#include <gtest/gtest.h>

#include "core/app/text_table.h"
#include "core/profile/key_download.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_rebuild.h"
#include "support/recording_prompt.h"
#include "support/sample_profile_content.h"
#include "support/simulated_keyboard.h"

namespace qv {
namespace {

class KeyboardRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        ResetTextTable();
        capacity = kb.ReadLikeArrival();
        ASSERT_GT(capacity, 0u);
        auto lock = working.Lock();
        working.Content() = test::KeyboardHeldContent();
    }
    void TearDown() override { ResetDefaultKeyMatrix(); }

    ProfileContent Rebuilt() {
        EXPECT_TRUE(RebuildFromKeyboard(dir.path() / "$Profile0", kb.Commands()));
        ProfileStore back;
        EXPECT_TRUE(ReadFileIntoStore(dir.path() / "$Profile0", back));
        auto lock = back.Lock();
        return back.Content();
    }

    test::SimulatedKeyboard kb;
    test::TempDir dir;
    test::RecordingPrompt prompt;
    ProfileStore working;
    ProfileStore applied;
    std::size_t capacity = 0;
};

TEST_F(KeyboardRoundTrip, AllProfilesAndMacrosComeBack) {
    ASSERT_GT(capacity, 0u);
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}));
    EXPECT_TRUE(prompt.messages.empty());
    const ProfileContent back = Rebuilt();
    const ProfileContent expected = test::KeyboardHeldContentAsReadBack();
    for (std::size_t t = 0; t < 3; ++t) EXPECT_EQ(test::TableDifferences(back.block.tables[t], expected.block.tables[t]), "") << t;
    EXPECT_EQ(back.macros, expected.macros);
}

TEST_F(KeyboardRoundTrip, ApplyWritesOnlyTheActiveProfile) {
    ASSERT_EQ(kb.Commands().SetActiveProfile(2), device::kSuccess);
    ASSERT_TRUE(CommitWorkingToApplied(false, working, applied, {kb.Commands(), capacity, prompt}));
    const ProfileContent back = Rebuilt();
    const ProfileContent expected = test::KeyboardHeldContentAsReadBack();
    EXPECT_EQ(test::TableDifferences(back.block.tables[2], expected.block.tables[2]), "");
    KeyTable factory;
    ResetKeyTable(factory);
    EXPECT_EQ(test::TableDifferences(back.block.tables[0], factory), "");
    EXPECT_EQ(test::TableDifferences(back.block.tables[1], factory), "");
}

TEST_F(KeyboardRoundTrip, MacroSpaceOfTheKeyboardDecidesAboutNames) {
    const auto sizes = [&] {
        auto lock = working.Lock();
        return MacroImageSizes(working.Content().macros);
    }();
    EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), sizes.withoutNames - 1, prompt}));
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), sizes.withoutNames, prompt}));
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[1], Text(TextId::EXTRA_PROFILE_SPACE_TIGHT));
    const ProfileContent back = Rebuilt();
    ASSERT_EQ(back.macros.size(), 3u);
    EXPECT_EQ(back.macros[0].Name(), u"Macro1");
}

TEST_F(KeyboardRoundTrip, NamesThatExactlyFitAreKeptWithoutAMessage) {
    const auto sizes = [&] {
        auto lock = working.Lock();
        return MacroImageSizes(working.Content().macros);
    }();
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), sizes.withNames, prompt}));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(Rebuilt().macros, test::KeyboardHeldContentAsReadBack().macros);
}

TEST_F(KeyboardRoundTrip, TheKeyboardsOwnFactoryLayoutIsUsedBothWays) {
    // This keyboard has A and B the other way round from the built-in copy.
    constexpr std::uint32_t kPositionA = 19;
    constexpr std::uint32_t kPositionB = 52;
    ASSERT_EQ(kb.Sim().Read(QV_SIM_FACTORY, kPositionA * 3, 3), (std::vector<std::uint8_t>{2, 2, 0x04}));
    ASSERT_EQ(kb.Sim().Read(QV_SIM_FACTORY, kPositionB * 3, 3), (std::vector<std::uint8_t>{2, 2, 0x05}));
    ASSERT_EQ(kb.Sim().Write(QV_SIM_FACTORY, kPositionA * 3, {2, 2, 0x05}), 1);
    ASSERT_EQ(kb.Sim().Write(QV_SIM_FACTORY, kPositionB * 3, {2, 2, 0x04}), 1);
    ASSERT_EQ(kb.Sim().Write(QV_SIM_KEY_MATRICES, kPositionA * 3, {2, 2, 0x05}), 1);
    ASSERT_EQ(kb.Sim().Write(QV_SIM_KEY_MATRICES, kPositionB * 3, {2, 2, 0x04}), 1);
    KeyMatrix factory{};
    ASSERT_EQ(kb.Commands().ReadDefaultKeyMatrix(factory), device::kSuccess);
    SetDefaultKeyMatrix(factory);
    {
        auto lock = working.Lock();
        working.Content() = DefaultProfileContent();
        working.Content().Record(0, 0x01E) = {AssignSingleKey, 0, 0x02E, 0, 0};  // A sends C
    }
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}));
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, kPositionB * 3, 3), (std::vector<std::uint8_t>{2, 2, 0x06}));
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, kPositionA * 3, 3), (std::vector<std::uint8_t>{2, 2, 0x05}));
    const ProfileContent back = Rebuilt();
    EXPECT_EQ(back.Record(0, 0x01E), (KeyRecord{AssignSingleKey, 0, 0x02E, 0, 0}));
    EXPECT_EQ(back.Record(0, 0x030).type, AssignDefault);
}

TEST_F(KeyboardRoundTrip, KeyboardPulledOutDuringTheDownloadIsAFailure) {
    kb.Sim().InjectFault(QV_SIM_FAULT_DISCONNECT_AT, 3);
    EXPECT_FALSE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), capacity, prompt}));
}

}  // namespace
}  // namespace qv
