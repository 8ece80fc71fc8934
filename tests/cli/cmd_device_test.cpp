// quorvanectl info / profile, run as a separate process against the simulated keyboard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "support/temp_dir.h"

namespace qv::cli {
namespace {

using ::testing::HasSubstr;

struct CtlRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class QuorvanectlTest : public ::testing::Test {
protected:
    // `environment` is put in front of the command ("QUORVANE_SIMULATE=1").
    CtlRun Ctl(const std::string& environment, const std::string& arguments) {
        const auto out = dir_.path() / "out";
        const auto err = dir_.path() / "err";
        const std::string command = "env -u QUORVANE_SIMULATE -u QUORVANE_SIM_STATE " + environment +
                                    " '" QV_BIN_DIR "/quorvanectl' " + arguments + " >'" + out.string() +
                                    "' 2>'" + err.string() + "'";
        const int status = std::system(command.c_str());
        CtlRun r;
        r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        r.out = Slurp(out);
        r.err = Slurp(err);
        return r;
    }
    std::string Sim() const {
        return "QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + (dir_.path() / "kb.state").string() + "'";
    }
    static std::string Slurp(const std::filesystem::path& file) {
        std::ifstream in(file);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    test::TempDir dir_;
};

TEST_F(QuorvanectlTest, InfoPrintsTheSimulatedKeyboard) {
    const CtlRun r = Ctl(Sim(), "info");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "keyboards: 1\n"
              "active profile: 1\n"
              "macro capacity: 32640 bytes\n"
              "effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
    EXPECT_EQ(r.err, "");
}

TEST_F(QuorvanectlTest, ProfileIsSetAndKeptByTheKeyboard) {
    EXPECT_EQ(Ctl(Sim(), "profile 3").exitCode, 0);
    const CtlRun r = Ctl(Sim(), "profile");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "3\n");
    EXPECT_THAT(Ctl(Sim(), "info").out, HasSubstr("active profile: 3\n"));
}

TEST_F(QuorvanectlTest, BadArgumentsAreRefusedBeforeTouchingTheKeyboard) {
    for (const char* bad : {"profile 4", "profile 0", "profile -1", "profile x", "profile 1 2", "info extra", "", "nosuch"}) {
        const CtlRun r = Ctl(Sim(), bad);
        EXPECT_EQ(r.exitCode, 2) << bad;
        EXPECT_THAT(r.err, HasSubstr("quorvanectl: ")) << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "kb.state"));
}

TEST_F(QuorvanectlTest, NoKeyboardIsAOneLineFailure) {
    for (const std::string& environment : {std::string("QUORVANE_SIMULATE=detached"), std::string()}) {
        for (const char* command : {"info", "profile", "profile 1"}) {
            const CtlRun r = Ctl(environment, command);
            EXPECT_NE(r.exitCode, 0) << command;
            EXPECT_EQ(r.out, "") << command;
            EXPECT_EQ(r.err, "quorvanectl: no keyboard is present\n") << environment << " " << command;
        }
    }
}

}  // namespace
}  // namespace qv::cli
