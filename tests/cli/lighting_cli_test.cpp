// quorvanectl lighting and keycolours against the simulated keyboard, as a shell would run them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

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
    const auto j = nlohmann::ordered_json::parse(r.out);
    std::string keys;
    for (const auto& [key, value] : j.items()) keys += key + " ";
    EXPECT_EQ(keys, "profile effect effect_name brightness speed direction colourful colour colour_choice report_rate effects ");
    EXPECT_EQ(j["effect"], 1);
    EXPECT_EQ(j["effect_name"], "Rainbow Wave");
    EXPECT_EQ(j["direction"], "second");
    EXPECT_EQ(j["report_rate"], 1000) << "in Hz, as the window labels it";
    ASSERT_EQ(j["effects"].size(), 19u);
    EXPECT_EQ(j["effects"][18], (nlohmann::ordered_json{{"code", 20}, {"name", "Custom"}}));
}

TEST_F(LightingCli, WritesOnlyTheFieldsGivenAndRefusesBadValuesFirst) {
    CtlResult r = Ctl("lighting --profile 2 --effect 'vertical wave' --speed 5 --direction first --color 00ff80 --report-rate 250");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_THAT(r.out, HasSubstr("colourful is off now")) << "a colour given turns colourful off, and says so";
    auto j = nlohmann::json::parse(Ctl("lighting --profile 2 --json").out);
    EXPECT_EQ(j["effect"], 12);
    EXPECT_EQ(j["brightness"], 4);
    EXPECT_EQ(j["speed"], 5);
    EXPECT_EQ(j["direction"], "first");
    EXPECT_EQ(j["colourful"], false);
    EXPECT_EQ(j["colour"], "00FF80");
    EXPECT_EQ(j["report_rate"], 250);
    r = Ctl("lighting --profile 2 --colour 112233");
    EXPECT_THAT(r.out, Not(HasSubstr("colourful is off"))) << "it was off already";
    r = Ctl("lighting --profile 2 --colourful on --colour 00ff80");
    EXPECT_THAT(r.out, Not(HasSubstr("colourful is off")));
    EXPECT_EQ(nlohmann::json::parse(Ctl("lighting --profile 2 --json").out)["colourful"], true);
    ASSERT_EQ(Ctl("lighting --profile 2 --colourful off").code, 0);

    r = Ctl("lighting --profile 2 --report-rate 2");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.out, HasSubstr("125, 250, 500 or 1000 (Hz), not '2'; index 2 is 500"));
    r = Ctl("lighting --profile 2 --effect 'rainbow wav'");
    EXPECT_EQ(r.code, 2);
    EXPECT_THAT(r.out, HasSubstr("unknown effect 'rainbow wav' (did you mean Rainbow Wave?)"));
    r = Ctl("-q lighting --profile 2 --brightness 3");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "") << "-q leaves out the lighting a change shows";
    EXPECT_EQ(Ctl("lighting --profile 2 --json --brightness 3").code, 2);

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
    EXPECT_EQ(nlohmann::json::parse(r.out)["effect"], 12) << "a refused command changed the keyboard";

    r = Ctl("lighting --profile 2 --defaults");
    ASSERT_EQ(r.code, 0) << r.out;
    std::string untouched = Ctl("lighting --profile 1 --json").out;
    untouched.replace(untouched.find("\"profile\": 1"), 12, "\"profile\": 2");
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
