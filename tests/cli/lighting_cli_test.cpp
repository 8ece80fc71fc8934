// quorvanectl lighting and keycolours against the simulated keyboard, as a shell would run them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace {

struct CtlResult {
    int code;
    std::string out;
};

class LightingCli : public ::testing::Test {
protected:
    CtlResult Ctl(const std::string& args) {
        const std::string home = dir.path().string();
        const std::string cmd = "env QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + home + "/kb.state' HOME='" + home +
                                "' XDG_CONFIG_HOME='" + home + "/.config' '" + std::string(QV_BIN_DIR) +
                                "/quorvanectl' " + args + " 2>&1";
        CtlResult r{-1, {}};
        FILE* p = ::popen(cmd.c_str(), "r");
        if (!p) return r;
        char buf[512];
        while (std::fgets(buf, sizeof buf, p)) r.out += buf;
        const int status = ::pclose(p);
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return r;
    }
    qv::test::TempDir dir;
};

TEST_F(LightingCli, JsonHasExactlyTheDocumentedKeys) {
    const CtlResult r = Ctl("lighting --profile 3 --json");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(r.out,
              "{\"profile\":3,\"effect\":1,\"brightness\":4,\"speed\":4,\"direction\":\"second\",\"colourful\":true,"
              "\"colour\":\"FF0000\",\"colourChoice\":0,\"reportRate\":3,"
              "\"effects\":[1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,20]}\n");
}

TEST_F(LightingCli, WritesOnlyTheFieldsGivenAndRefusesBadValuesFirst) {
    CtlResult r = Ctl("lighting --profile 2 --effect 12 --speed 5 --direction first --colour 00ff80 --report-rate 1");
    ASSERT_EQ(r.code, 0) << r.out;
    r = Ctl("lighting --profile 2 --json");
    EXPECT_NE(r.out.find("\"effect\":12,\"brightness\":4,\"speed\":5,\"direction\":\"first\",\"colourful\":false,"
                         "\"colour\":\"00FF80\",\"colourChoice\":0,\"reportRate\":1"),
              std::string::npos)
        << r.out;

    for (const char* bad : {"--brightness 6", "--speed -1", "--direction up", "--colour 12345", "--colourful yes",
                            "--colour-choice 4", "--report-rate 9", "--effect 0", "--profile 4", "--profile 0", "--effect"}) {
        r = Ctl(std::string("lighting --profile 2 --effect 2 ") + bad);
        EXPECT_EQ(r.code, 2) << bad;
        EXPECT_NE(r.out.find("quorvanectl: "), std::string::npos) << bad;
    }
    r = Ctl("lighting --profile 2 --effect 19");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.out.find("does not support effect 19"), std::string::npos);
    r = Ctl("lighting --profile 2 --json");
    EXPECT_NE(r.out.find("\"effect\":12,"), std::string::npos) << "a refused command changed the keyboard";

    r = Ctl("lighting --profile 2 --defaults");
    ASSERT_EQ(r.code, 0) << r.out;
    std::string untouched = Ctl("lighting --profile 1 --json").out;
    untouched.replace(untouched.find("\"profile\":1"), 11, "\"profile\":2");
    EXPECT_EQ(Ctl("lighting --profile 2 --json").out, untouched);
}

TEST_F(LightingCli, KeyColoursSendsAModeOfTheUserFile) {
    std::filesystem::create_directories(dir.path() / "Documents" / "Quorvane");
    CtlResult r = Ctl("keycolours --profile 2 --mode 1");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_NE(r.out.find("user mode 1 (WASD)"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "Documents" / "Quorvane" / "UserDengColor_3.userd"));
    r = Ctl("keycolours --mode 10");
    EXPECT_EQ(r.code, 2);
}

}  // namespace
