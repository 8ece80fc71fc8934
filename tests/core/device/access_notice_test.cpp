// A keyboard plugged in but not accessible: what the user is told, in the window and from
// quorvanectl (which runs the simulated keyboard in its "inaccessible" mode).
#include "core/device/access_notice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <vector>

#include "core/app/text_table.h"
#include "support/simulated_keyboard.h"

namespace qv::device {
namespace {

using ::testing::HasSubstr;

TEST(AccessNotice, TellsOncePerArrivalAndKeepsTheTooltipWhileItLasts) {
    AccessNotice notice;
    auto step = notice.Update(0);
    EXPECT_FALSE(step.showMessage);
    EXPECT_FALSE(step.tooltipChanged);
    step = notice.Update(3);
    EXPECT_TRUE(step.showMessage);
    EXPECT_TRUE(step.tooltipChanged);
    EXPECT_TRUE(step.inaccessible);
    // More nodes of the same keyboard, or fewer, are the same arrival.
    step = notice.Update(1);
    EXPECT_FALSE(step.showMessage);
    EXPECT_FALSE(step.tooltipChanged);
    step = notice.Update(0);
    EXPECT_FALSE(step.showMessage);
    EXPECT_TRUE(step.tooltipChanged);
    EXPECT_FALSE(step.inaccessible);
    EXPECT_TRUE(notice.Update(2).showMessage);  // replugged without the rule: told again
}

TEST(AccessNotice, AdviceNamesTheRuleInTheProgramFolderAndTheReplug) {
    ResetTextTable();
    const std::string advice = AccessAdvice("/opt/quorvane");
    EXPECT_THAT(advice, HasSubstr("access to it was refused"));
    EXPECT_THAT(advice, HasSubstr("sudo install -m 644 '/opt/quorvane/60-quorvane-keyboard.rules' /etc/udev/rules.d/"
                                  " && sudo udevadm control --reload-rules && sudo udevadm trigger"));
    EXPECT_THAT(advice, HasSubstr("unplug the keyboard and plug it in again"));
    EXPECT_EQ(advice.find("%s"), std::string::npos);
}

TEST(AccessNotice, TheServiceLibraryReportsInaccessibleNodesToACallerThatAsks) {
    test::SimulatedKeyboard kb;
    HidService& service = kb.Link().Service();
    EXPECT_EQ(service.InaccessibleNodes(), 0);
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> heard;
    ASSERT_TRUE(service.SetAccessHandler([&](int n) {
        std::lock_guard lock(mutex);
        heard.push_back(n);
        changed.notify_all();
    }));
    auto waitFor = [&](std::size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return heard.size() >= count; });
    };
    ASSERT_EQ(kb.Sim().SetInaccessible(true), 1);
    ASSERT_TRUE(waitFor(1));
    std::string path;
    EXPECT_EQ(service.InaccessibleNodes(&path), 1);
    EXPECT_FALSE(path.empty());
    // For the twelve entry points it is simply absent.
    EXPECT_EQ(kb.Link().KeyboardCount(), 0);
    ASSERT_EQ(kb.Sim().Attach(true), 1);
    ASSERT_TRUE(waitFor(2));
    EXPECT_EQ(heard, (std::vector<int>{1, 0}));
    EXPECT_EQ(kb.Link().KeyboardCount(), 1);
}

std::string CtlInfo(int* code) {
    const std::string cmd =
        "env QUORVANE_SIMULATE=inaccessible QUORVANE_SIM_STATE=/nonexistent/kb.state '" QV_BIN_DIR
        "/quorvanectl' info 2>&1";
    std::string out;
    FILE* p = ::popen(cmd.c_str(), "r");
    if (p == nullptr) return out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
    const int status = ::pclose(p);
    *code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
}

TEST(AccessNotice, QuorvanectlInfoFailsWithTheSameAdvice) {
    int code = 0;
    const std::string out = CtlInfo(&code);
    EXPECT_NE(code, 0);
    EXPECT_THAT(out, HasSubstr("access to it was refused"));
    EXPECT_THAT(out, HasSubstr("'" QV_BIN_DIR "/60-quorvane-keyboard.rules'"));
}

}  // namespace
}  // namespace qv::device
