// quorvanectl as installed: on the PATH beside quorvane, with a bash completion that knows every
// command and completes key names.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using ::testing::HasSubstr;

const std::filesystem::path kPackaging =
    std::filesystem::path(QV_TEST_DATA_DIR).parent_path().parent_path() / "packaging";

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), {}};
}

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

TEST(CliPackaging, QuorvanectlAndItsCompletionAreInstalled) {
    const std::string cmake = Slurp(kPackaging / "CMakeLists.txt");
    EXPECT_THAT(cmake, HasSubstr("quorvanectl.sh DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME quorvanectl"));
    EXPECT_THAT(cmake, HasSubstr("bash-completion/completions RENAME quorvanectl"));
    EXPECT_THAT(Slurp(kPackaging / "quorvanectl.sh.in"), HasSubstr("exec \"@QV_INSTALL_PROGRAM_DIR@/quorvanectl\" \"$@\""));
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
