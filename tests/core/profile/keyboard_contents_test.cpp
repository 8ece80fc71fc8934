#include "core/profile/keyboard_contents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "support/keyboard_memory_fake.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

MacroRecord Named(const char16_t* name, std::uint16_t id) {
    MacroRecord m;
    m.SetName(name);
    m.id = id;
    return m;
}

constexpr int kG1 = kGKeyRecordFirst;

TEST(KeyboardContents, PcOnlyRecordsSurviveAReadFromTheKeyboard) {
    // The working file from before: G keys, a program key, a text key and a typed repeat count;
    // its macros were numbered 5 and 2.
    ProfileContent working = DefaultProfileContent();
    working.macros = {Named(u"five", 5), Named(u"two", 2)};
    working.Record(0, kG1 + 9) = AssignmentRecord(kG1 + 9, AssignMacro, 2, 3);
    working.Record(1, kG1) = AssignmentRecord(kG1, AssignMacro, 5, 1);
    working.Record(2, kG1 + 4) = AssignmentRecord(kG1 + 4, AssignMedia, 3);
    working.Record(0, 0x30) = {AssignLaunchProgram, 0, 0, 0, 0};
    working.texts.Set(TextSlotOf(0, 0x30), u"/bin/true");
    working.Record(0, 0x31) = {AssignTextBlock, 0, 0, 0, 0};
    working.texts.Set(TextSlotOf(0, 0x31), u"hello");
    working.Record(1, 0x32) = {AssignLaunchProgram, 0, 0, 0, 0};  // the keyboard changed this key since
    working.texts.Set(TextSlotOf(1, 0x32), u"/bin/false");
    working.Record(1, 0x1E) = {AssignMacro, 4, 2, 0, 0};
    working.block.tables[3][7].type = AssignDisabled;

    // What the keyboard gives back: its macros numbered by position, "five" gone.
    ProfileContent keyboard = DefaultProfileContent();
    keyboard.macros = {Named(u"two", 1), Named(u"new", 2)};
    keyboard.Record(0, 0x31) = {AssignDisabled, 0, 0, 0, 0};
    keyboard.Record(1, 0x32) = {AssignSingleKey, 0, 0x1E, 0, 0};
    keyboard.Record(1, 0x1E) = {AssignMacro, 0, 1, 0, 0};

    KeepPcOnlyRecords(keyboard, working);
    EXPECT_EQ(keyboard.Record(0, kG1 + 9), (KeyRecord{AssignMacro, 3, 1, 0, 0})) << "matched by name";
    EXPECT_EQ(keyboard.Record(1, kG1), (KeyRecord{AssignDefault, GKeyId(0), 0, 0, 0})) << "its macro is gone";
    EXPECT_EQ(keyboard.Record(2, kG1 + 4), (KeyRecord{AssignMedia, GKeyId(4), 3, 0, 0}));
    EXPECT_EQ(keyboard.Record(0, 0x30).type, AssignLaunchProgram);
    EXPECT_EQ(keyboard.texts.At(TextSlotOf(0, 0x30)), u"/bin/true");
    EXPECT_EQ(keyboard.Record(0, 0x31).type, AssignTextBlock);
    EXPECT_EQ(keyboard.texts.At(TextSlotOf(0, 0x31)), u"hello");
    EXPECT_EQ(keyboard.Record(1, 0x32), (KeyRecord{AssignSingleKey, 0, 0x1E, 0, 0})) << "the keyboard's newer value wins";
    EXPECT_FALSE(keyboard.texts.At(TextSlotOf(1, 0x32)));
    EXPECT_EQ(keyboard.Record(1, 0x1E).aux, 4) << "the typed repeat count of the same macro";
    EXPECT_EQ(keyboard.block.tables[3][7].type, AssignDisabled);
}

TEST(KeyboardContents, MacrosAreNumberedAsTheKeyboardWillGiveThemBack) {
    ProfileContent c = DefaultProfileContent();
    c.macros = {Named(u"a", 7), Named(u"b", 1), Named(u"c", 3)};
    c.Record(0, 0x1E) = {AssignMacro, 0, 1, 0, 0};
    c.Record(2, kG1 + 17) = {AssignMacro, 2, 7, 0, 0};
    c.Record(1, 0x30) = {AssignMacro, 0, 50, 0, 0};  // no macro of that id: left as it is
    c.Record(1, 0x31) = {AssignMedia, 0, 3, 0, 0};
    NumberMacrosByPosition(c);
    EXPECT_EQ(c.macros[0].id, 1);
    EXPECT_EQ(c.macros[1].id, 2);
    EXPECT_EQ(c.macros[2].id, 3);
    EXPECT_EQ(c.Record(0, 0x1E).value, 2u);
    EXPECT_EQ(c.Record(2, kG1 + 17).value, 1u);
    EXPECT_EQ(c.Record(1, 0x30).value, 50u);
    EXPECT_EQ(c.Record(1, 0x31).value, 3u);
}

TEST(KeyboardContents, RecordsAreBuiltAsTheKeyEditorBuildsThem) {
    EXPECT_EQ(AssignmentRecord(0x1E, AssignSingleKey, 0x30), (KeyRecord{AssignSingleKey, 0, 0x30, 0, 0}));
    EXPECT_EQ(AssignmentRecord(0x1E, AssignSingleKey, 0x1E), KeyRecord{}) << "a key sending itself";
    EXPECT_EQ(AssignmentRecord(kG1 + 9, AssignSingleKey, 0x30), (KeyRecord{AssignSingleKey, GKeyId(9), 0x30, 0, 0}));
    EXPECT_EQ(AssignmentRecord(kG1 + 9, AssignMacro, 4, 12), (KeyRecord{AssignMacro, 12, 4, 0, 0}));
    EXPECT_EQ(AssignmentRecord(kG1, AssignDefault), (KeyRecord{AssignDefault, GKeyId(0), 0, 0, 0}));
    EXPECT_EQ(AssignmentRecord(0x3A, AssignDisabled, 99), (KeyRecord{AssignDisabled, 0, 0, 0, 0}));
}

TEST(KeyboardContents, AChangeTheKeyboardTookIsNotToldAsRefusedWhenOnlyTheWorkingFileFailed) {
    test::KeyboardMemoryFake keyboard;
    keyboard.global[10] = 1;
    device::CommandSet commands{keyboard};
    test::TempDir dir;
    std::ofstream(dir.path() / "plain") << "x";
    const auto workingFile = dir.path() / "plain" / "$Profile0";  // its folder is a file
    const auto before = ReadKeyboardContents(commands, workingFile, nullptr);
    ASSERT_TRUE(before.has_value());
    ProfileContent changed = before->content;
    changed.Assign(1, 0x1E, AssignmentRecord(0x1E, AssignDisabled));
    test::RecordingPrompt prompt;
    EXPECT_EQ(SendKeyboardContents(*before, changed, commands, prompt, workingFile), SendOutcome::Failed);
    EXPECT_EQ(prompt.messages,
              std::vector<std::string>{FormatText(Text(TextId::PROFILE_SEND_NOT_SAVED), workingFile.string())});
    KeyMatrix m{};
    std::copy_n(keyboard.matrices.begin() + 378, 378, m.begin());
    KeyTable t;
    DecodeKeyMatrix(m, t, BuiltInFactoryMatrix());
    EXPECT_EQ(t[0x1E].type, AssignDisabled) << "the keyboard has the change";
    ResetDefaultKeyMatrix();
}

}  // namespace
}  // namespace qv
