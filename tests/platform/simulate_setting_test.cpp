// QUORVANE_SIMULATE: the values that choose the simulated keyboard, and what the HID service
// library and quorvanectl do with any other.
#include "platform/simulate_setting.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "core/device/hid_service.h"
#include "support/temp_dir.h"

namespace qv::platform {
namespace {

using ::testing::HasSubstr;

TEST(SimulateSetting, OnlyTheDocumentedValuesChooseTheSimulator) {
    EXPECT_EQ(ParseSimulateSetting(nullptr), SimulateSetting::RealKeyboard);
    EXPECT_EQ(ParseSimulateSetting(""), SimulateSetting::RealKeyboard);
    EXPECT_EQ(ParseSimulateSetting("1"), SimulateSetting::Attached);
    EXPECT_EQ(ParseSimulateSetting("detached"), SimulateSetting::Detached);
    EXPECT_EQ(ParseSimulateSetting("inaccessible"), SimulateSetting::Inaccessible);
    for (const char* other : {"0", "yes", "true", "01", " 1", "1 ", "Detached", "off"}) {
        EXPECT_EQ(ParseSimulateSetting(other), SimulateSetting::Invalid) << other;
    }
    EXPECT_EQ(InvalidSimulateMessage("0"),
              "QUORVANE_SIMULATE='0' is not understood: 1 chooses the simulated keyboard (detached: not plugged in, "
              "inaccessible: without access), unset or empty the real keyboard");
}

// The window loads the library this way: Init failing ends the program with exit code 0, so the
// message on standard error is what the user gets.
TEST(SimulateSetting, TheServiceLibraryDoesNotStartForAnotherValue) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, where Init has not run yet
    EXPECT_EXIT(
        {
            ::setenv("QUORVANE_SIMULATE", "0", 1);
            device::HidService::LoadOrExit(QV_BIN_DIR);
            std::exit(3);  // started after all
        },
        ::testing::ExitedWithCode(0), "HidServ: QUORVANE_SIMULATE='0' is not understood");
}

int RunQuorvanectl(const std::string& environment, std::string& err) {
    test::TempDir dir;
    const auto errFile = dir.path() / "err";
    const std::string command = "cd '" + dir.path().string() + "' && env -u QUORVANE_SIMULATE HOME=. XDG_CONFIG_HOME=./c "
                                "XDG_RUNTIME_DIR=\"$PWD\" QUORVANE_SIM_STATE=./kb.state " + environment +
                                " '" QV_BIN_DIR "/quorvanectl' info >/dev/null 2>'" + errFile.string() + "'";
    const int status = std::system(command.c_str());
    std::ifstream in(errFile);
    std::stringstream s;
    s << in.rdbuf();
    err = s.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SimulateSetting, QuorvanectlRefusesAnotherValueAsAUsageError) {
    std::string err;
    for (const char* value : {"0", "yes"}) {
        EXPECT_EQ(RunQuorvanectl(std::string("QUORVANE_SIMULATE=") + value, err), 2) << value;
        EXPECT_EQ(err, "quorvanectl: " + InvalidSimulateMessage(value) + "\n");
    }
    EXPECT_EQ(RunQuorvanectl("QUORVANE_SIMULATE=1", err), 0) << err;
    // Empty is the real keyboard, which this machine may or may not have: never a usage error.
    EXPECT_NE(RunQuorvanectl("QUORVANE_SIMULATE=", err), 2) << err;
    EXPECT_THAT(err, ::testing::Not(HasSubstr("not understood")));
}

}  // namespace
}  // namespace qv::platform
