// quorvanectl macro on the simulated keyboard: the limits of the macro model hold, and a macro
// in use goes only with --force.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli_on_keyboard.h"
#include "core/app/text_table.h"
#include "core/profile/key_download.h"
#include "protocol/report_frame.h"
#include "support/recording_prompt.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;
using namespace device::frame;

using MacroCommands = CliOnKeyboard;

TEST_F(MacroCommands, StepsShowRenameAndList) {
    CliRun r = Words({"macro", "add", "copy", "--steps", "+Ctrl c 100ms -Ctrl", "--pause", "30", "--repeat", "2"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = Ctl("macro show copy");
    EXPECT_EQ(r.out,
              "id:      1\nname:    copy\nrepeat:  2\nactions: 4\nsteps:   +Ctrl 30ms +C 30ms -C 100ms -Ctrl\n"
              "used by: no key\n");
    EXPECT_THAT(Ctl("macro show 1 --json").out, HasSubstr("\"name\": \"copy\""));
    ASSERT_EQ(Ctl("macro rename COPY Copy2").code, 0) << "names match without regard to case";
    EXPECT_EQ(KeyboardContent().macros[0].NameUtf8(), "Copy2");
    EXPECT_EQ(Ctl("macro list").out, "1 Copy2 (repeat 2, 4 actions)\n");

    EXPECT_EQ(Words({"macro", "add", "copy2", "--type", "x"}).code, 1) << "the name is taken";
    ASSERT_EQ(Words({"macro", "add", "copy2", "--type", "x", "--replace"}).code, 0);
    EXPECT_EQ(KeyboardContent().macros[0].actionCount, 2);
    EXPECT_EQ(KeyboardContent().macros.size(), 1u);
}

TEST_F(MacroCommands, RemovingAMacroKeepsTheMacroKeysOfEveryProfileOnTheirMacros) {
    // Macros are numbered by position: removing the first renumbers the second, and a key of a
    // profile that is not active must follow it.
    ASSERT_EQ(Words({"macro", "add", "first", "--type", "a"}).code, 0);
    ASSERT_EQ(Words({"macro", "add", "second", "--type", "b"}).code, 0);
    ASSERT_EQ(Ctl("key B --macro second --profile 3").code, 0);
    ASSERT_EQ(Ctl("macro remove first").code, 0);
    const ProfileContent k = KeyboardContent();
    ASSERT_EQ(k.macros.size(), 1u);
    const KeyRecord b = k.Record(2, KeyCodeToSlot(0x030));
    ASSERT_EQ(b.type, AssignMacro);
    EXPECT_EQ(k.macros[static_cast<std::size_t>(MacroIndexOfId(k.macros, static_cast<std::uint16_t>(b.value)))].NameUtf8(),
              "second");
}

TEST_F(MacroCommands, BadMacrosAreRefusedBeforeAnythingIsSent) {
    TakeCommands();
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{"macro", "add", "m", "--steps", "+Ctrl c 15ms"}, "steps of 10 ms"},
        {{"macro", "add", "m", "--steps", "a 40960ms"}, "0 to 40950 ms"},
        {{"macro", "add", "m", "--steps", "+Ctrl Caps_Lok"}, "unknown key 'Caps_Lok'"},
        {{"macro", "add", "m", "--type", "caf\u00e9"}, "the character '\u00e9' has no key"},
        {{"macro", "add", "m", "--type", "a", "--pause", "41000"}, "--pause: pauses go from 0 to 40950 ms in steps of 10 ms, not 41000"},
        {{"macro", "add", "m", "--type", "a", "--pause", "25"}, "steps of 10 ms"},
        {{"macro", "add", "m", "--type", "a", "--steps", "a"}, "excludes"},
        {{"macro", "add", "m"}, "needs --steps or --type"},
        {{"macro", "add", "", "--type", "a"}, "needs a name"},
        {{"macro", "add", std::string(250, 'n'), "--type", "a"}, "at most 249 characters"},
        {{"macro", "add", "m", "--type", std::string(1001, 'a')}, "2000"},
        {{"macro", "add", "m", "--type", "a", "--repeat", "256"}, "--repeat"},
        {{"macro", "remove", "nothing"}, "macro 'nothing'"},
        {{"macro", "rename", "nothing", "x"}, "macro 'nothing'"},
    };
    for (const auto& c : cases) {
        const CliRun r = Words(c.words);
        EXPECT_NE(r.code, 0) << c.error;
        EXPECT_THAT(r.err, HasSubstr(c.error)) << c.error;
        EXPECT_FALSE(Writes(TakeCommands())) << c.error;
    }
    EXPECT_TRUE(KeyboardContent().macros.empty());
}

TEST_F(MacroCommands, AMacroInUseGoesOnlyWithForce) {
    ASSERT_EQ(Words({"macro", "add", "m", "--type", "ab"}).code, 0);
    ASSERT_EQ(Words({"macro", "add", "other", "--type", "c"}).code, 0);
    ASSERT_EQ(Ctl("key F5 --macro m").code, 0);
    ASSERT_EQ(Ctl("key G2 --macro m --profile 3").code, 0);
    ASSERT_EQ(Ctl("key F6 --macro other").code, 0);
    TakeCommands();

    CliRun r = Ctl("macro remove m");
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err, HasSubstr("played by profile 1: F5, profile 3: A-G2; --force removes it"));
    EXPECT_FALSE(Writes(TakeCommands()));
    EXPECT_EQ(KeyboardContent().macros.size(), 2u);

    r = Ctl("macro remove m --force");
    ASSERT_EQ(r.code, 0) << r.err;
    const ProfileContent k = KeyboardContent();
    ASSERT_EQ(k.macros.size(), 1u);
    EXPECT_EQ(k.macros[0].NameUtf8(), "other");
    EXPECT_EQ(k.Record(0, 0x3F).type, AssignDefault) << "F5 is back to its factory function";
    EXPECT_EQ(k.Record(0, 0x40), (KeyRecord{AssignMacro, 0, 1, 0, 0})) << "F6 follows its macro to id 1";
    EXPECT_EQ(WorkingFile().Record(2, kGKeyRecordFirst + 1).type, AssignDefault);
    EXPECT_EQ(Ctl("keys").out, "F6: macro(other)\n");
}

TEST_F(MacroCommands, TheHundredAndFirstMacroIsRefused) {
    // A hundred macros straight into the keyboard.
    ProfileStore working, applied;
    {
        auto lock = working.Lock();
        working.Content() = DefaultProfileContent();
        for (int i = 0; i < kMaxMacros; ++i) {
            MacroRecord& m = working.Content().macros.emplace_back();
            m.SetName(u"m" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) +
                      std::u16string(1, static_cast<char16_t>(u'0' + i / 10)));
            m.id = static_cast<std::uint16_t>(i + 1);
        }
    }
    RecordingPrompt prompt;
    ASSERT_TRUE(CommitWorkingToApplied(true, working, applied, {kb.Commands(), 32640, prompt}));
    TakeCommands();

    const CliRun r = Words({"macro", "add", "one more", "--type", "x"});
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err, HasSubstr("at most 100 macros"));
    EXPECT_FALSE(Writes(TakeCommands()));
    ASSERT_EQ(Ctl("macro remove m00").code, 0);
    EXPECT_EQ(Words({"macro", "add", "one more", "--type", "x"}).code, 0);
    EXPECT_EQ(KeyboardContent().macros.back().NameUtf8(), "one more");
}

TEST_F(MacroCommands, MacrosBeyondTheKeyboardsSpaceAreRefusedWithNothingSent) {
    ASSERT_EQ(Ctl("key A --to B").code, 0);
    const std::uint8_t units = 2;  // 256 bytes of macro memory
    ASSERT_EQ(kb.Sim().Write(QV_SIM_GLOBAL, 11, {units}), 1);
    TakeCommands();
    const CliRun r = Words({"macro", "add", "long", "--type", std::string(40, 'a')});
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err, HasSubstr(Text(TextId::EXTRA_MACRO_TOO_LONG).substr(0, 24)));
    EXPECT_THAT(r.err, HasSubstr("nothing was sent to the keyboard"));
    EXPECT_FALSE(Writes(TakeCommands()));
    EXPECT_TRUE(KeyboardContent().macros.empty());
    EXPECT_EQ(WorkingFile().macros.size(), 0u) << "the working file keeps what the keyboard holds";
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace qv::test
