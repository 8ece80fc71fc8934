#include "core/profile/profile_rebuild.h"

#include <gtest/gtest.h>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/key_download.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"
#include "support/keyboard_memory_fake.h"
#include "support/recording_prompt.h"
#include "support/sample_profile_content.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(RebuildFromKeyboard, StoreThroughTheKeyboardAndBackKeepsAssignmentsAndMacros) {
    ResetTextTable();
    ResetDefaultKeyMatrix();
    test::TempDir dir;
    test::KeyboardMemoryFake keyboard;
    device::CommandSet commands(keyboard);
    test::RecordingPrompt prompt;
    ProfileStore working;
    ProfileStore applied;
    {
        auto lock = working.Lock();
        working.Content() = test::KeyboardHeldContent();
        // What the keyboard cannot hold: texts, G keys, program keys.
        working.Content().Record(0, 0x20) = {AssignTextBlock, 0, 0, 0, 0};
        working.Content().texts.Set(TextSlotOf(0, 0x20), u"hello");
        working.Content().Record(1, 0x21) = {AssignLaunchProgram, 0, 0, 0, 0};
        working.Content().texts.Set(TextSlotOf(1, 0x21), u"/bin/true");
        working.Content().Record(2, 256 + 3) = {AssignMacro, 0x0304, 1, 0, 0};
    }
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {commands, 32640, prompt}));
    ASSERT_TRUE(RebuildFromKeyboard(dir.path() / "rebuilt.qvn", commands));
    EXPECT_TRUE(ValidateFile(dir.path() / "rebuilt.qvn", prompt));
    ProfileStore back;
    ASSERT_TRUE(ReadFileIntoStore(dir.path() / "rebuilt.qvn", back));

    ProfileContent expected = test::KeyboardHeldContentAsReadBack();
    expected.Record(0, 0x20) = {AssignDisabled, 0, 0, 0, 0};  // a text block is a disabled key
    auto lock = back.Lock();
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(test::TableDifferences(back.Content().block.tables[static_cast<std::size_t>(t)],
                                         expected.block.tables[static_cast<std::size_t>(t)]), "") << t;
    }
    for (const KeyRecord& r : back.Content().block.tables[3]) EXPECT_EQ(r, KeyRecord{});
    EXPECT_EQ(back.Content().macros, expected.macros);
    EXPECT_EQ(back.Content().texts.Total(), 0u);
}

TEST(RebuildFromKeyboard, NoMarkerMeansNoMacrosAndAPlainBlock) {
    ResetDefaultKeyMatrix();
    test::TempDir dir;
    test::KeyboardMemoryFake keyboard;  // macro memory erased (0xFF)
    device::CommandSet commands(keyboard);
    ASSERT_TRUE(RebuildFromKeyboard(dir.path() / "r", commands));
    const auto bytes = ReadWholeFile(dir.path() / "r");
    ASSERT_TRUE(bytes);
    EXPECT_EQ(bytes->size(), 32832u);
}

TEST(RebuildFromKeyboard, FailsWhenAReadFailsOrTheProfileIsOutOfRange) {
    test::TempDir dir;
    test::KeyboardMemoryFake keyboard;
    device::CommandSet commands(keyboard);
    keyboard.failCommand = 0x07;
    EXPECT_FALSE(RebuildFromKeyboard(dir.path() / "r", commands));
    keyboard.failCommand = -1;
    keyboard.global[10] = 4;
    device::CommandSet fresh(keyboard);  // the first one cached the active profile
    EXPECT_FALSE(RebuildFromKeyboard(dir.path() / "r", fresh));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "r"));
}

}  // namespace
}  // namespace qv
