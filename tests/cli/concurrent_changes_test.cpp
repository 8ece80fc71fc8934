// Changes made at the same time wait for each other on the keyboard's write lock: two
// quorvanectl processes both land, and a change that cannot have the lock in time sends nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "cli_on_keyboard.h"
#include "platform/atomic_file.h"
#include "platform/keyboard_write_lock.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;
using namespace std::chrono_literals;

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// quorvanectl processes on one simulated keyboard, with this test's own home, runtime folder
// (where the lock lives) and state file.
class TwoProcesses : public ::testing::Test {
protected:
    void SetUp() override { ::mkdir((dir.path() / "run").c_str(), 0700); }
    std::string Environment() const {
        const std::string d = dir.path().string();
        return "cd '" + d + "' && export HOME='" + d + "' XDG_CONFIG_HOME='" + d + "/.config' XDG_RUNTIME_DIR='" + d +
               "/run' QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + d + "/kb.state'; ";
    }
    // Runs both command lines at once; their exit codes.
    std::pair<int, int> AtOnce(const std::string& a, const std::string& b) {
        const std::string ctl = "'" QV_BIN_DIR "/quorvanectl' ";
        const std::string command = Environment() + "(" + ctl + a + " 2>err1; echo $? >rc1) & (" + ctl + b +
                                    " 2>err2; echo $? >rc2) & wait";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return {std::stoi(Slurp(dir.path() / "rc1")), std::stoi(Slurp(dir.path() / "rc2"))};
    }
    std::string Out(const std::string& arguments) {
        const std::string command = Environment() + "'" QV_BIN_DIR "/quorvanectl' " + arguments + " >out 2>err";
        EXPECT_EQ(std::system(command.c_str()), 0) << Slurp(dir.path() / "err");
        return Slurp(dir.path() / "out");
    }
    TempDir dir;
};

TEST_F(TwoProcesses, ChangesMadeAtOnceBothLand) {
    // A few rounds: without the lock the later writer drops the other's change nearly every time.
    for (int round = 0; round < 3; ++round) {
        const std::string n = std::to_string(round);
        const auto [first, second] = AtOnce("macro add one" + n + " --type a", "macro add two" + n + " --type b");
        EXPECT_EQ(first, 0) << Slurp(dir.path() / "err1");
        EXPECT_EQ(second, 0) << Slurp(dir.path() / "err2");
    }
    const std::string macros = Out("macro list");
    for (const char* name : {"one0", "two0", "one1", "two1", "one2", "two2"}) EXPECT_THAT(macros, HasSubstr(name)) << macros;

    const auto [first, second] = AtOnce("key F1 --to A", "key F2 --to B");
    EXPECT_EQ(first, 0) << Slurp(dir.path() / "err1");
    EXPECT_EQ(second, 0) << Slurp(dir.path() / "err2");
    EXPECT_EQ(Out("keys"), "F1: key(A)\nF2: key(B)\n");
}

// In-process: the lock sits in the test's folder, so the test can hold it as another change would.
class WriteLock : public CliOnKeyboard {
protected:
    void Hold(platform::KeyboardWriteLock& lock) {
        std::string error;
        ASSERT_TRUE(lock.Take(kLockName, 0ms, &error, LockFolder())) << error;
    }
    std::filesystem::path File() const { return documents.path() / "all.json"; }
};

struct Command {
    std::vector<std::string> words;
    bool changes;
};

std::vector<Command> EveryCommand(const std::string& file) {
    return {
        {{"key", "A", "--to", "B"}, true},
        {{"key", "A", "--default"}, true},
        {{"macro", "add", "m", "--type", "a"}, true},
        {{"macro", "rename", "m", "n"}, true},
        {{"macro", "remove", "n"}, true},
        {{"lighting", "--brightness", "3"}, true},
        {{"lighting", "--defaults"}, true},
        {{"keycolours"}, true},
        {{"profile", "2"}, true},
        {{"import", file}, true},
        {{"keys"}, false},
        {{"macro", "list"}, false},
        {{"export", "--json", "-"}, false},
        {{"lighting"}, false},
        {{"profile"}, false},
        {{"info"}, false},
        {{"validate", file}, false},
    };
}

TEST_F(WriteLock, EveryChangeTakesTheLockAndNoReadDoes) {
    ASSERT_EQ(Words({"export", "--json", File().string()}).code, 0);
    for (const Command& c : EveryCommand(File().string())) {
        const int before = locksTaken;
        const CliRun r = Words(c.words);
        EXPECT_EQ(r.code, 0) << c.words[0] << ": " << r.err;
        EXPECT_EQ(locksTaken - before, c.changes ? 1 : 0) << c.words[0] << ' ' << c.words.size();
    }
}

TEST_F(WriteLock, AChangeWaitsForTheLockThenGivesUpAndSendsNothing) {
    ASSERT_EQ(Words({"export", "--json", File().string()}).code, 0);
    lockWait = 200ms;
    platform::KeyboardWriteLock other;
    Hold(other);
    TakeCommands();
    const auto working = ReadWholeFile(WorkingFilePath());
    for (const Command& c : EveryCommand(File().string())) {
        if (!c.changes) continue;
        const auto start = std::chrono::steady_clock::now();
        const CliRun r = Words(c.words);
        EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms) << c.words[0];
        EXPECT_EQ(r.code, 1) << c.words[0];
        EXPECT_THAT(r.err, HasSubstr("quorvanectl: another quorvanectl or the Quorvane window is changing the keyboard "
                                     "and did not finish within 200 ms; nothing was changed"))
            << c.words[0];
        EXPECT_TRUE(TakeCommands().empty()) << c.words[0] << ": the keyboard is not even read";
    }
    EXPECT_EQ(ReadWholeFile(WorkingFilePath()), working);
    EXPECT_EQ(notices, 0);

    other.Release();
    EXPECT_EQ(Ctl("key A --to B").code, 0);
    EXPECT_EQ(KeyboardContent().Record(0, 0x1E).type, AssignSingleKey);
}

}  // namespace
}  // namespace qv::test
