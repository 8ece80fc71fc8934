// quorvanectl as a shell user expects of a well-kept command: a version, mistypes answered with
// the nearest names, JSON on every reading command, quiet and verbose runs, and names that
// cannot be told apart refused rather than guessed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli_on_keyboard.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;
using ::testing::MatchesRegex;
using ::testing::StartsWith;

using CliConventions = CliOnKeyboard;

TEST_F(CliConventions, VersionAndMistypedWordsAreAnswered) {
    const CliRun flag = Ctl("--version");
    EXPECT_EQ(flag.code, 0);
    EXPECT_THAT(flag.out, MatchesRegex("quorvanectl [0-9]+\\.[0-9]+\\.[0-9]+\n"));
    EXPECT_EQ(Ctl("version").out, flag.out);

    CliRun r = Ctl("keycolors");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, StartsWith("quorvanectl: 'keycolors' is not a command; did you mean keycolours?\n"));
    r = Ctl("macro shwo x");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, HasSubstr("'shwo' is not a macro command; did you mean show?"));
    r = Ctl("lighting --colr 112233");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, HasSubstr("lighting has no option '--colr'; did you mean --colour?"));
    r = Words({"key", "F1", "--function", "selectall2"});
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, HasSubstr("unknown function 'selectall2' (did you mean select-all?)"));
    EXPECT_FALSE(Writes(TakeCommands()));
}

TEST_F(CliConventions, EveryReadingCommandSpeaksJsonWithLowerCaseKeys) {
    const auto info = nlohmann::json::parse(Ctl("info --json").out);
    EXPECT_EQ(info["keyboards"], 1);
    EXPECT_EQ(info["active_profile"], 1);
    EXPECT_GT(info["macro_capacity_bytes"].get<int>(), 0);
    EXPECT_EQ(info["effects"][0], (nlohmann::json{{"code", 1}, {"name", "Rainbow Wave"}}));

    ASSERT_EQ(Ctl("profile 3").code, 0);
    EXPECT_EQ(nlohmann::json::parse(Ctl("profile --json").out), (nlohmann::json{{"active_profile", 3}}));
    EXPECT_EQ(Ctl("profile 2 --json").code, 2) << "--json reads; it does not go with a change";

    const auto paths = nlohmann::json::parse(Ctl("paths --json").out);
    EXPECT_EQ(paths["main_skin"]["found"], true);
    EXPECT_TRUE(paths["language"].is_string());
    const auto effects = nlohmann::json::parse(Ctl("names effects --json").out);
    ASSERT_TRUE(effects.is_array());
    EXPECT_EQ(effects[0], "Rainbow Wave");

    // One naming style in all of them.
    for (const char* command : {"info --json", "paths --json", "profile --json", "lighting --json", "keys --json --all"}) {
        const std::string out = Ctl(command).out;
        const auto j = nlohmann::json::parse(out);
        for (const auto& [key, value] : j.items()) EXPECT_THAT(key, MatchesRegex("[a-z_]+")) << command;
    }
}

TEST_F(CliConventions, QuietSaysNothingAndVerboseShowsTheFrames) {
    ASSERT_EQ(Words({"macro", "add", "m", "--type", "x"}).code, 0);
    ASSERT_EQ(Ctl("key A --macro m").code, 0);
    CliRun r = Ctl("macro remove m --force -q");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err, "") << "the keys going back to their factory function are not said";
    EXPECT_EQ(KeyboardContent().macros.size(), 0u);

    TakeCommands();
    r = Ctl("-v info");
    EXPECT_EQ(r.code, 0);
    EXPECT_THAT(r.out, HasSubstr("active profile: 1\n"));
    // Each frame sent, then its answer: report id 4, the command byte echoed.
    EXPECT_THAT(r.err, MatchesRegex("(quorvanectl: sent: 04( [0-9a-f]{2}){63}\nquorvanectl: answer: 04( [0-9a-f]{2}){63}\n)+"));
    EXPECT_EQ(Ctl("info").err, "") << "the trace ends with the verbose run";

    for (const char* both : {"-q -v info", "-qv info", "info --verbose --quiet"}) {
        r = Ctl(both);
        EXPECT_EQ(r.code, 2) << both;
        EXPECT_THAT(r.err, HasSubstr("opposite")) << both;
    }
}

TEST_F(CliConventions, KeyArgumentsThatWouldBeGuessedAreRefused) {
    ASSERT_EQ(Words({"macro", "add", "first", "--type", "a"}).code, 0);   // id 1
    ASSERT_EQ(Words({"macro", "add", "1", "--type", "b"}).code, 0) << "a name of digits is allowed";  // id 2
    TakeCommands();
    const struct {
        std::vector<std::string> words;
        const char* error;
    } cases[] = {
        {{"key", "A", "--to", "B", "C"}, "1 key needs one value, not 2"},
        {{"key", "A", "B", "C", "--to", "D", "E"}, "3 keys need one value for all of them or 3 values, not 2"},
        {{"key", "A", "--bank", "B", "--to", "C"}, "--bank is for the G keys G1 to G9; A is not one"},
        {{"key", "A", "--macro", "1"}, "'1' is the name of macro 2 and the id of macro 'first': say --id 2 or --id 1"},
        {{"macro", "show", "1"}, "say --id 2 or --id 1"},
        {{"macro", "remove", "x", "--id"}, "a macro id is a number, not 'x'"},
        {{"macro", "add", "two\nlines", "--type", "a"}, "a macro name cannot hold control characters (U+000A)"},
        {{"macro", "add", "bell\x01", "--type", "a"}, "control characters (U+0001)"},
        {{"macro", "add", "caf\xe9", "--type", "a"}, "must be UTF-8 text"},
        {{"macro", "rename", "first", "a\x7f"}, "control characters (U+007F)"},
    };
    for (const auto& c : cases) {
        const CliRun r = Words(c.words);
        EXPECT_NE(r.code, 0) << c.words[1];
        EXPECT_THAT(r.err, HasSubstr(c.error)) << c.words[1];
        EXPECT_FALSE(Writes(TakeCommands())) << c.words[1];
    }
    EXPECT_EQ(KeyboardContent().macros.size(), 2u);

    // Said which, each is found.
    EXPECT_THAT(Ctl("macro show 1 --id").out, HasSubstr("name:    first"));
    ASSERT_EQ(Ctl("key A --macro-id 2").code, 0);
    ASSERT_EQ(Ctl("key G1 --bank B --macro first").code, 0);
    const ProfileContent k = KeyboardContent();
    EXPECT_EQ(k.Record(0, KeyCodeToSlot(0x01E)).type, AssignMacro);
    EXPECT_EQ(k.Record(0, KeyCodeToSlot(0x01E)).value, 2u);
    EXPECT_EQ(WorkingFile().Record(0, kGKeyRecordFirst + 9).type, AssignMacro) << "B-G1";
}

TEST_F(CliConventions, BinaryExportIsNotWrittenToATerminal) {
    outputIsTerminal = true;
    CliRun r = Ctl("export -");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.err, HasSubstr("not written to a terminal"));
    EXPECT_EQ(r.out, "");
    EXPECT_TRUE(TakeCommands().empty()) << "refused before the keyboard is read";
    r = Ctl("export --json -");
    EXPECT_EQ(r.code, 0);
    EXPECT_THAT(r.out, StartsWith("{"));
    outputIsTerminal = false;
    EXPECT_EQ(Ctl("export -").code, 0) << "into a pipe it goes";
}

}  // namespace
}  // namespace qv::test
