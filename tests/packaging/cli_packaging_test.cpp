// quorvanectl's bash completion: it knows every command and completes key names. (That the
// install puts both on the PATH and into bash-completion/ is checked by install_tree.sh.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

using ::testing::HasSubstr;

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

// What the completion offers for the words typed so far (the last one being completed).
std::string Complete(const std::string& words) {
    return Shell("PATH='" QV_BIN_DIR "':\"$PATH\" bash -c '. \"" + (kPackaging / "quorvanectl.bash").string() +
               "\"; COMP_WORDS=(quorvanectl " + words + "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
               "_quorvanectl; printf \"%s\\n\" \"${COMPREPLY[@]}\"'");
}

TEST(CliPackaging, CompletionKnowsEveryCommandAndTheKeyNames) {
    // Every sub-command that --help lists is completed.
    std::istringstream help(Shell("'" QV_BIN_DIR "/quorvanectl' --help"));
    const std::string commands = Complete("\"\"");
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
    EXPECT_GE(seen, 13);
    EXPECT_EQ(Complete("key Caps"), "CapsLock\n");
    EXPECT_EQ(Complete("key A --media volume-"), "volume-down\nvolume-up\n");
    EXPECT_EQ(Complete("macro re"), "remove\nrename\n");
    EXPECT_EQ(Complete("keys --profile \"\""), "1\n2\n3\n");
}

}  // namespace
