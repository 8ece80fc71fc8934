// quorvanectl keys / key on the simulated keyboard: every change reaches the keyboard in one
// download, and bad input sends nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_on_keyboard.h"
#include "core/keyboard/key_matrix_codec.h"
#include "protocol/report_frame.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;
using namespace device::frame;

using KeyCommands = CliOnKeyboard;

constexpr int kA = 0x1E, kB = 0x30, kCapsLock = 0x3A, kF1 = 0x3B, kF2 = 0x3C;

TEST_F(KeyCommands, ProfileAndLightingChangesTellTheWindowAndReadsDoNot) {
    ASSERT_EQ(Ctl("lighting --profile 2 --json").code, 0);
    ASSERT_EQ(Ctl("profile").code, 0);
    EXPECT_EQ(settingsNotices, 0);
    ASSERT_EQ(Ctl("lighting --profile 2 --speed 3").code, 0);
    EXPECT_EQ(settingsNotices, 1);
    ASSERT_EQ(Ctl("profile 2").code, 0);
    EXPECT_EQ(settingsNotices, 2);
    EXPECT_EQ(notices, 0) << "the assignments did not change";
}

TEST_F(KeyCommands, RemapAToBAndBack) {
    CliRun r = Ctl("key a --to B");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(KeyboardContent().Record(0, kA), (KeyRecord{AssignSingleKey, 0, 0x030, 0, 0}));
    EXPECT_EQ(WorkingFile().Record(0, kA), (KeyRecord{AssignSingleKey, 0, 0x030, 0, 0}));
    EXPECT_EQ(Ctl("keys").out, "A: key(B)\n");
    EXPECT_EQ(notices, 1);

    r = Ctl("key A --default");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto matrices = kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 378);
    const KeyMatrix factory = DefaultKeyMatrix();
    EXPECT_TRUE(std::equal(matrices.begin(), matrices.end(), factory.begin())) << "back to the factory matrix";
    EXPECT_EQ(Ctl("keys").out, "");
    // A key told to send itself keeps its factory function, as in the key editor.
    ASSERT_EQ(Ctl("key A --to B").code, 0);
    ASSERT_EQ(Ctl("key A --to a").code, 0);
    EXPECT_EQ(KeyboardContent().Record(0, kA).type, AssignDefault);
}

TEST_F(KeyCommands, DisableMediaAndFunctionKeysInOtherProfiles) {
    ASSERT_EQ(Words({"key", "Caps Lock", "--disable", "--profile", "2"}).code, 0);
    ASSERT_EQ(Ctl("key F1 --media volume-up --profile 3").code, 0);
    ASSERT_EQ(Words({"key", "F2", "--function", "Select All", "--profile", "3"}).code, 0);
    ASSERT_EQ(Ctl("key F3 --stop-macro --profile 3").code, 0);
    const ProfileContent k = KeyboardContent();
    EXPECT_EQ(k.Record(1, kCapsLock).type, AssignDisabled);
    EXPECT_EQ(k.Record(2, kF1), (KeyRecord{AssignMedia, 0, 6, 0, 0}));
    EXPECT_EQ(k.Record(2, kF2), (KeyRecord{AssignFunctionKey, 0, 8, 0, 0}));
    EXPECT_EQ(k.Record(2, 0x3D).type, AssignStopMacro);
    EXPECT_EQ(k.Record(0, kCapsLock).type, AssignDefault) << "the active profile is untouched";
    EXPECT_EQ(Ctl("keys --profile 3").out, "F1: media(Volume Up)\nF2: function(Select All)\nF3: stop-macro\n");
    const CliRun json = Ctl("keys --profile 2 --json");
    EXPECT_EQ(json.out, "{\n  \"profile\": 2,\n  \"keys\": [\n    {\"key\": \"Caps Lock\", \"type\": \"disabled\"}\n  ]\n}\n");
    EXPECT_THAT(Ctl("keys --all --profile 2").out, HasSubstr("A: default\n"));
}

TEST_F(KeyCommands, SeveralKeysGoInOneDownload) {
    TakeCommands();
    const CliRun r = Ctl("key A B --to B A");
    ASSERT_EQ(r.code, 0) << r.err;
    const auto commands = TakeCommands();
    EXPECT_EQ(Count(commands, kBeginConfig), 1);
    EXPECT_EQ(Count(commands, kEndConfig), 1);
    EXPECT_EQ(Count(commands, kWriteKeyMatrix), 7) << "the active profile's matrix, once";
    EXPECT_GE(Count(commands, kWriteMacroMemory), 1);
    const ProfileContent k = KeyboardContent();
    EXPECT_EQ(k.Record(0, kA).value, 0x030u);
    EXPECT_EQ(k.Record(0, kB).value, 0x01Eu);

    // One value for several keys; a change to another profile sends all three.
    ASSERT_EQ(Ctl("key F1 F2 --disable --profile 2").code, 0);
    EXPECT_EQ(Count(TakeCommands(), kWriteKeyMatrix), 21);
    EXPECT_EQ(KeyboardContent().Record(1, kF2).type, AssignDisabled);
}

TEST_F(KeyCommands, BadArgumentsSendNothing) {
    TakeCommands();
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{"key", "Caps Lok", "--disable"}, "unknown key 'Caps Lok' (did you mean Caps Lock?)"},
        {{"key", "A", "--to", "Bee"}, "unknown key 'Bee'"},
        {{"key", "K45", "--disable"}, "unknown key 'K45'"},
        {{"key", "A", "B", "C", "--to", "B", "A"}, "3 keys need one value for all of them or 3 values, not 2"},
        {{"key", "A", "A", "--disable"}, "A is given twice"},
        {{"key", "A", "--disable", "--default"}, "give the keys one action"},
        {{"key", "A"}, "give the keys one action"},
        {{"key", "F1", "--media", "volume-upp"}, "unknown media key 'volume-upp' (did you mean volume-up?)"},
        {{"key", "F1", "--function", "paste2"}, "unknown function 'paste2'"},
        {{"key", "G1", "--bank", "C", "--disable"}, "--bank"},
        {{"key", "A", "--repeat", "3", "--disable"}, "--repeat"},
        {{"key", "A", "--macro", "none"}, "no macro 'none'"},
        {{"key", "A", "--to", "B", "--profile", "0"}, "profiles are numbered 1 to 3"},
        {{"keys", "--profile", "0"}, "profiles are numbered 1 to 3"},
        {{"keys", "--profile", "4"}, "profiles are numbered 1 to 3"},
        {{"profile", "0"}, "profiles are numbered 1 to 3"},
        {{"lighting", "--profile", "0"}, "profiles are numbered 1 to 3"},
    };
    for (const auto& c : cases) {
        const CliRun r = Words(c.words);
        EXPECT_NE(r.code, 0) << c.words[1];
        EXPECT_THAT(r.err, HasSubstr(c.error)) << c.words[1];
        EXPECT_FALSE(Writes(TakeCommands())) << c.words[1];
    }
    EXPECT_EQ(notices, 0);
    EXPECT_EQ(Words({"key", "A", "--to", "B", "--profile", "0"}).code, 2);
}

TEST_F(KeyCommands, GKeyOfBankBPlaysATypedMacro) {
    CliRun r = Words({"macro", "add", "greeting", "--type", "Hi!", "--pause", "20"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Ctl("key G1 --bank B --macro greeting --repeat 3");
    ASSERT_EQ(r.code, 0) << r.err;

    // The keyboard holds the macro; the G key lives in the working file, as the window keeps it.
    const ProfileContent k = KeyboardContent();
    ASSERT_EQ(k.macros.size(), 1u);
    EXPECT_EQ(k.macros[0].NameUtf8(), "greeting");
    EXPECT_EQ(k.macros[0].repeatCount, 3);
    ASSERT_EQ(k.macros[0].actionCount, 10);
    EXPECT_EQ(k.macros[0].actions[0], (MacroAction{20, 0x02A, kPress}));
    EXPECT_EQ(k.macros[0].actions[9], (MacroAction{0, 0x02A, kRelease}));
    EXPECT_EQ(WorkingFile().Record(0, kGKeyRecordFirst + 9), (KeyRecord{AssignMacro, 3, 1, 0, 0}));
    EXPECT_EQ(Ctl("keys").out, "B-G1: macro(greeting)\n");
    EXPECT_THAT(Ctl("macro list").out, HasSubstr("1 greeting (repeat 3, 10 actions), used by profile 1: B-G1"));

    // A change elsewhere leaves the G key as it was.
    ASSERT_EQ(Ctl("key A --macro 1").code, 0);
    EXPECT_EQ(Ctl("keys").out, "A: macro(greeting)\nB-G1: macro(greeting)\n");
}

TEST_F(KeyCommands, NoKeyboardIsAOneLineFailure) {
    kb.Sim().Attach(false);
    const CliRun r = Ctl("key A --to B");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "quorvanectl: no keyboard is present\n");
}

}  // namespace
}  // namespace qv::test
