// Fault lists of the simulated keyboard: the parser, and QUORVANE_SIM_FAULTS seen from outside
// the process (quorvanectl) the way scripts and demos use it.
#include "hidserv/sim/sim_faults.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "support/temp_dir.h"

namespace qv::hidserv {
namespace {

using ::testing::HasSubstr;

TEST(SimFaultList, ParsesKindsFramesAndCounts) {
    std::string error;
    const auto list = ParseFaultList("status-ff@10*3,disconnect@300,no-answer@1,late-answer@2*1", &error);
    ASSERT_TRUE(list) << error;
    EXPECT_EQ(*list, (std::vector<ScheduledFault>{{FaultKind::StatusFF, 10, 3},
                                                  {FaultKind::Disconnect, 300, 1},
                                                  {FaultKind::NoAnswer, 1, 1},
                                                  {FaultKind::LateAnswer, 2, 1}}));
    EXPECT_TRUE(ParseFaultList("", &error)->empty());
}

TEST(SimFaultList, ABadPartIsNamed) {
    for (const auto& [text, part] : std::vector<std::pair<std::string, std::string>>{
             {"status-ff@10*3,bogus@4", "\"bogus@4\""},
             {"no-answer", "\"no-answer\""},
             {"no-answer@0", "\"no-answer@0\""},
             {"no-answer@x", "\"no-answer@x\""},
             {"no-answer@5*", "\"no-answer@5*\""},
             {"no-answer@5*0", "\"no-answer@5*0\""},
             {"no-answer@5*2x", "\"no-answer@5*2x\""},
             {"no-answer@99999999999", "\"no-answer@99999999999\""},
             {"status-ff@1,", "\"\""},
             {"Status-FF@1", "\"Status-FF@1\""}}) {
        std::string error;
        EXPECT_FALSE(ParseFaultList(text, &error)) << text;
        EXPECT_THAT(error, HasSubstr(part)) << text;
    }
}

TEST(SimFaultList, PlanGivesTheFaultOfEachFrame) {
    FaultPlan plan;
    plan.Add({FaultKind::StatusFF, 10, 3});
    plan.Add({FaultKind::NoAnswer, 11, 1});
    EXPECT_FALSE(plan.At(9));
    EXPECT_EQ(plan.At(10), FaultKind::StatusFF);
    EXPECT_EQ(plan.At(11), FaultKind::StatusFF);  // the first added wins
    EXPECT_EQ(plan.At(12), FaultKind::StatusFF);
    EXPECT_FALSE(plan.At(13));
    plan.DropKind(FaultKind::StatusFF);
    EXPECT_EQ(plan.At(11), FaultKind::NoAnswer);
    plan.Add({FaultKind::WrongCommand, 0xFFFFFFFF, 2});  // no wrap-around at the end
    EXPECT_FALSE(plan.At(0));
    EXPECT_EQ(plan.At(0xFFFFFFFF), FaultKind::WrongCommand);
}

struct CtlRun {
    int code = -1;
    std::string output;
};

CtlRun Ctl(const test::TempDir& dir, const std::string& faults, const std::string& args) {
    const std::string cmd = "env QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + (dir.path() / "kb.state").string() +
                            "' QUORVANE_SIM_FAULTS='" + faults + "' '" QV_BIN_DIR "/quorvanectl' " + args +
                            " 2>&1";
    CtlRun r;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return r;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p) != nullptr) r.output += buf;
    const int status = ::pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

TEST(SimFaultsFromTheEnvironment, ReachAProgramThatNeverCallsTheControlInterface) {
    test::TempDir dir;
    // The first frame is refused three times: the read fails with the keyboard's own status.
    CtlRun r = Ctl(dir, "status-ff@1*3", "info");
    EXPECT_NE(r.code, 0);
    EXPECT_THAT(r.output, HasSubstr("-102"));
    // Refused twice only: the third attempt goes through.
    r = Ctl(dir, "status-ff@1*2", "info");
    EXPECT_EQ(r.code, 0) << r.output;
    // The keyboard leaves at the second frame: the read (frame 1) works, the write does not.
    r = Ctl(dir, "disconnect@2", "profile 1");
    EXPECT_NE(r.code, 0);
    EXPECT_THAT(r.output, HasSubstr("result -1 "));
}

TEST(SimFaultsFromTheEnvironment, ABadListRefusesToStartTheSimulatedKeyboard) {
    test::TempDir dir;
    const CtlRun r = Ctl(dir, "status-ff@10,jam@3", "info");
    EXPECT_NE(r.code, 0);
    EXPECT_THAT(r.output, HasSubstr("QUORVANE_SIM_FAULTS"));
    EXPECT_THAT(r.output, HasSubstr("\"jam@3\""));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "kb.state"));
}

}  // namespace
}  // namespace qv::hidserv
