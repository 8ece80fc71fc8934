// What quorvanectl prints that cannot be written (a full disk, here /dev/full) is a failure, not
// an empty success a script would go on with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/temp_dir.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;

class OutputErrors : public ::testing::Test {
protected:
    void SetUp() override {
        ::mkdir((dir.path() / "run").c_str(), 0700);
        ASSERT_EQ(Run("macro add hello --type 'Hello, world'", "out"), 0) << Err();
        ASSERT_EQ(Run("key A --to B", "out"), 0) << Err();
        ASSERT_EQ(Run("export saved.qvn", "out"), 0) << Err();
    }
    // quorvanectl on this test's simulated keyboard, standard output to `to`.
    int Run(const std::string& arguments, const std::string& to) {
        const std::string d = dir.path().string();
        const std::string command = "cd '" + d + "' && HOME='" + d + "' XDG_CONFIG_HOME='" + d +
                                    "/.config' XDG_RUNTIME_DIR='" + d + "/run' QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" +
                                    d + "/kb.state' '" QV_BIN_DIR "/quorvanectl' " + arguments + " >" + to + " 2>err";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Err() const {
        std::ifstream in(dir.path() / "err");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    TempDir dir;
};

TEST_F(OutputErrors, EveryCommandThatPrintsFailsOnAFullDisk) {
    for (const char* arguments : {"export --json -", "export -", "keys", "keys --all --json", "macro list",
                                  "macro show hello --json", "show saved.qvn", "show --json saved.qvn", "info",
                                  "lighting", "profile", "names", "paths", "validate saved.qvn", "--help"}) {
        EXPECT_EQ(Run(arguments, "out"), 0) << arguments << ": " << Err();
        EXPECT_EQ(Run(arguments, "/dev/full"), 1) << arguments;
        EXPECT_THAT(Err(), HasSubstr("quorvanectl: cannot write to standard output")) << arguments;
    }
}

TEST_F(OutputErrors, AFailedCommandKeepsItsOwnExitCode) {
    EXPECT_EQ(Run("macro show nothing", "/dev/full"), 1);
    EXPECT_THAT(Err(), HasSubstr("macro 'nothing'"));
    EXPECT_EQ(Run("key", "/dev/full"), 2);
}

}  // namespace
}  // namespace qv::test
