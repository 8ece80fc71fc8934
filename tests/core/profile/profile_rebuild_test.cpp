#include "core/profile/profile_rebuild.h"

#include <gtest/gtest.h>

#include "core/app/atomic_file.h"
#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_download.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "support/keyboard_memory_fake.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// Assignments of every kind the keyboard can hold, in all three profiles, plus what it cannot.
ProfileContent EverythingContent() {
    ProfileContent c = DefaultProfileContent();
    for (int t = 0; t < 3; ++t) {
        c.Record(t, 0x1E) = {AssignSingleKey, 0, static_cast<std::uint32_t>(0x030 + t), 0, 0};
        c.Record(t, 0x01D) = {AssignSingleKey, 0, 0x15C, 0, 0};  // Ctrl sends Right Win
        c.Record(t, 0x3B) = {AssignDisabled, 0, 0, 0, 0};
        c.Record(t, 0x3C) = {AssignMedia, 0, static_cast<std::uint32_t>(t * 5), 0, 0};
        c.Record(t, 0x3D) = {AssignFunctionKey, 0, static_cast<std::uint32_t>(t + 1), 0, 0};
        c.Record(t, 0x3E) = {AssignMacro, 0, static_cast<std::uint32_t>(t + 1), 0, 0};
        c.Record(t, 0x3F) = {AssignStopMacro, 0, 0, 0, 0};
    }
    for (int i = 0; i < 3; ++i) {
        MacroRecord& m = c.macros.emplace_back();
        m.SetName(i == 1 ? u"" : u"macro \u00e9" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
        m.id = static_cast<std::uint16_t>(i + 1);
        m.repeatCount = static_cast<std::uint8_t>(i + 2);
        m.actionCount = 4;
        m.actions[0] = {100, 0x02A, kPress};
        m.actions[1] = {20, 0x01E, kPress};
        m.actions[2] = {0, 0x130, kRelease};
        m.actions[3] = {40000, 0x15F, kRelease};
    }
    return c;
}

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
        working.Content() = EverythingContent();
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

    ProfileContent expected = EverythingContent();
    expected.Record(0, 0x20) = {AssignDisabled, 0, 0, 0, 0};  // a text block is a disabled key
    expected.macros[1].SetName(u"Macro2");                     // an empty name comes back numbered
    expected.macros[0].actions[3].delay = 40000;
    auto lock = back.Lock();
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(back.Content().block.tables[static_cast<std::size_t>(t)],
                  expected.block.tables[static_cast<std::size_t>(t)]) << t;
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
