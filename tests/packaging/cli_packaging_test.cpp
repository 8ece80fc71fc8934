// quorvanectl's bash, zsh and fish completions: they know every command and complete options once
// each, key, media, effect and the keyboard's macro names, quoted as each shell needs. (That the
// install puts quorvanectl on the PATH and the completions where each shell looks is checked by
// install_tree.sh.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::filesystem::path kPackaging =
    std::filesystem::path(QV_TEST_DATA_DIR).parent_path().parent_path() / "packaging";

std::string Shell(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (p == nullptr) return out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    ::pclose(p);
    return out;
}

bool HaveShell(const char* name) { return Shell(std::string("command -v ") + name + " 2>/dev/null").size() > 0; }

// Each test's own simulated keyboard, holding two macros, one with a space in its name.
class Completion : public ::testing::Test {
protected:
    void SetUp() override {
        env = "export PATH='" QV_BIN_DIR "':\"$PATH\" QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + (dir.path() / "kb.state").string() +
              "' HOME='" + dir.path().string() + "' XDG_CONFIG_HOME='" + dir.path().string() + "/.config'; ";
        ASSERT_EQ(Shell(env + "quorvanectl macro add 'my macro' --type a && quorvanectl macro add copy --type c && echo ok"), "ok\n");
    }
    // What bash offers for the words typed so far (the last one being completed), one a line.
    std::string Bash(const std::string& words) {
        return Shell(env + "bash -c '. \"" + (kPackaging / "quorvanectl.bash").string() + "\"; COMP_WORDS=(quorvanectl " +
                     words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _quorvanectl; printf \"%s\\n\" \"${COMPREPLY[@]}\"'");
    }
    // The same for zsh, with compadd showing what it was handed.
    std::string Zsh(const std::string& words) {
        return Shell(env + "zsh -f -c 'compadd() { while [[ $1 == -* && $1 != -- ]]; do shift; done; shift; print -rl -- \"$@\"; }; "
                     "_files() { print -r -- FILES; }; fpath=(\"" + kPackaging.string() + "\" $fpath); autoload -Uz _quorvanectl; "
                     "words=(quorvanectl " + words + "); CURRENT=${#words}; PREFIX=${words[CURRENT]}; _quorvanectl'");
    }
    // fish completes a command line as typed, candidates without their descriptions.
    std::string Fish(const std::string& line) {
        return Shell(env + "fish --no-config -c 'source \"" + (kPackaging / "quorvanectl.fish").string() +
                     "\"; complete -C\"quorvanectl " + line + "\"' | cut -f1");
    }
    qv::test::TempDir dir;
    std::string env;
};

TEST_F(Completion, BashKnowsEveryCommandOptionAndName) {
    // Every sub-command that --help lists is completed.
    std::istringstream help(Shell("'" QV_BIN_DIR "/quorvanectl' --help"));
    const std::string commands = Bash("\"\"");
    bool inList = false;
    int seen = 0;
    for (std::string line; std::getline(help, line);) {
        if (line == "Subcommands:") {
            inList = true;
            continue;
        }
        if (!inList || line.size() < 3 || line[0] != ' ') {
            if (inList && line.empty()) inList = false;
            continue;
        }
        const std::string name = line.substr(2, line.find(' ', 2) - 2);
        EXPECT_THAT(commands, HasSubstr(name + "\n")) << name;
        ++seen;
    }
    EXPECT_GE(seen, 14);
    EXPECT_THAT(commands, Not(HasSubstr("__complete")));
    EXPECT_EQ(Bash("key Caps"), "Caps\\ Lock\n");
    EXPECT_EQ(Bash("key A --media volume-"), "volume-down\nvolume-up\n");
    EXPECT_EQ(Bash("macro re"), "remove\nrename\n");
    EXPECT_EQ(Bash("keys --profile \"\""), "1\n2\n3\n");
    EXPECT_EQ(Bash("-q key A --bank \"\""), "A\nB\n");
    EXPECT_EQ(Bash("lighting --report-rate \"\""), "125\n250\n500\n1000\n");
    EXPECT_EQ(Bash("lighting --effect rainb"), "Rainbow\\ Wave\n");
    // The arrows, by their symbols and their typed names.
    EXPECT_EQ(Bash("key A --to ri"), "Right\\ Ctrl\nRight\\ Shift\nRight\\ Alt\nRight\\ Win\nRight\n");
    EXPECT_THAT(Bash("key \"\""), HasSubstr("\n↑\n↓\n←\n→\n"));
    // Options once each.
    EXPECT_EQ(Bash("keys --json --"), "--help\n--profile\n--all\n--quiet\n--verbose\n");
    EXPECT_EQ(Bash("macro show --json --"), "--help\n--id\n--quiet\n--verbose\n");
}

TEST_F(Completion, BashOffersTheKeyboardsMacrosQuoted) {
    EXPECT_EQ(Bash("key A --macro \"\""), "my\\ macro\ncopy\n");
    EXPECT_EQ(Bash("macro show M"), "my\\ macro\n");
    EXPECT_EQ(Bash("macro show my\\\\\\ m"), "my\\ macro\n") << "a name typed with its backslash";
    EXPECT_EQ(Bash("macro remove --force c"), "copy\n");
    EXPECT_EQ(Bash("macro rename copy \"\""), "\n") << "nothing: the new name is the user's";
    EXPECT_THAT(Bash("export " + (dir.path() / "kb.s").string()), HasSubstr("kb.state"));
}

TEST_F(Completion, ZshAndFishOfferTheSame) {
    if (!HaveShell("zsh") || !HaveShell("fish")) GTEST_SKIP() << "zsh or fish is not installed (scripts/setup installs them)";
    EXPECT_EQ(Zsh("macro show my\\\\\\ m"), "my macro\n") << "compadd quotes it itself";
    EXPECT_EQ(Zsh("key A --macro \"\""), "my macro\ncopy\n");
    EXPECT_EQ(Zsh("keys --json --a"), "--all\n");
    EXPECT_EQ(Zsh("import \"\""), "FILES\n");
    EXPECT_EQ(Zsh("key A --to ri"), "Right Ctrl\nRight Shift\nRight Alt\nRight Win\nRight\n");

    EXPECT_EQ(Fish("macro show my"), "my macro\n");
    EXPECT_EQ(Fish("macro rename "), "copy\nmy macro\n") << "fish sorts them";
    EXPECT_EQ(Fish("macro remove my\\\\ m"), "my macro\n") << "a name typed with its backslash";
    EXPECT_EQ(Fish("lighting --json --colour-"), "--colour-choice\n");
    EXPECT_EQ(Fish("key A --media volume-"), "volume-down\nvolume-up\n");
    EXPECT_EQ(Fish("key Caps"), "Caps Lock\n");
}

}  // namespace
