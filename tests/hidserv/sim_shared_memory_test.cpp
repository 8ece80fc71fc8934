// One simulated keyboard for every process of the user: this process through the real
// libHidServ.so, another one as quorvanectl on the same state file, and the state file between
// them never half-written.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/device/command_set.h"
#include "hidserv/sim/sim_state_file.h"
#include "platform/atomic_file.h"
#include "protocol/key_matrix.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv::hidserv {
namespace {

using namespace std::chrono_literals;
using test::SimulatedKeyboard;

std::string Slurp(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct FileIdentity {
    ino_t inode = 0;
    timespec modified{};
    bool operator==(const FileIdentity& o) const {
        return inode == o.inode && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec;
    }
};

FileIdentity Identity(const std::filesystem::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return {st.st_ino, st.st_mtim};
}

KeyMatrix Marked(KeyMatrix m, std::uint8_t mark) {
    m[100] = mark;
    m[377] = mark;
    return m;
}

class OneKeyboardForEveryProcess : public ::testing::Test {
protected:
    void SetUp() override { ::mkdir((home.path() / "run").c_str(), 0700); }

    // quorvanectl in a process of its own on this test's keyboard, with its own home, settings
    // and runtime folder (no window of another test hears of its changes); its standard output.
    std::string Ctl(const std::string& arguments) {
        const std::string h = home.path().string();
        const std::string command = "cd '" + h + "' && HOME='" + h + "' XDG_CONFIG_HOME='" + h +
                                    "/.config' XDG_RUNTIME_DIR='" + h + "/run' QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" +
                                    kb.StateFile().string() + "' '" QV_BIN_DIR "/quorvanectl' " + arguments +
                                    " >out 2>err";
        EXPECT_EQ(std::system(command.c_str()), 0) << arguments << ": " << Slurp(home.path() / "err");
        return Slurp(home.path() / "out");
    }
    KeyMatrix Matrix(int profile) {
        KeyMatrix m{};
        EXPECT_EQ(kb.Commands().ReadKeyMatrix(m, profile), device::kSuccess);
        return m;
    }

    SimulatedKeyboard kb;
    test::TempDir home;
};

TEST_F(OneKeyboardForEveryProcess, AChangeFromAnotherProcessIsSeenByTheNextRead) {
    const KeyMatrix before = Matrix(0);
    device::GlobalBlock block;
    ASSERT_EQ(kb.Commands().ReadGlobalBlock(block), device::kSuccess);
    EXPECT_EQ(block.ActiveProfile(), 0);

    Ctl("key F1 --to A");
    const KeyMatrix after = Matrix(0);
    EXPECT_NE(after, before);
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 378), std::vector<std::uint8_t>(after.begin(), after.end()))
        << "the control interface reads the same memory";

    Ctl("profile 3");
    ASSERT_EQ(kb.Commands().ReadGlobalBlock(block), device::kSuccess);
    EXPECT_EQ(block.ActiveProfile(), 2);
}

TEST_F(OneKeyboardForEveryProcess, WritesHereAroundAnotherProcessesWriteKeepBoth) {
    // The window's way: a group of writes, with quorvanectl's change landing in the middle.
    const KeyMatrix second = Marked(Matrix(1), 0x42);
    const KeyMatrix third = Marked(Matrix(2), 0x43);
    auto& cmd = kb.Commands();
    ASSERT_EQ(cmd.BeginConfig(), device::kSuccess);
    ASSERT_EQ(cmd.WriteKeyMatrix(second, 1), device::kSuccess);
    Ctl("key F1 --to A");
    ASSERT_EQ(cmd.WriteKeyMatrix(third, 2), device::kSuccess);
    ASSERT_EQ(cmd.EndConfig(), device::kSuccess);
    const std::vector<std::uint8_t> colours{1, 2, 3};
    ASSERT_EQ(kb.Sim().Write(QV_SIM_KEY_COLOURS, 600, colours), 1);

    EXPECT_EQ(Ctl("keys"), "F1: key(A)\n") << "quorvanectl's change was not overwritten";
    // And this process's changes are in the file for the next process too.
    ASSERT_EQ(kb.Sim().Reset(kb.StateFile().string(), true), 1);
    EXPECT_EQ(Matrix(1), second);
    EXPECT_EQ(Matrix(2), third);
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_COLOURS, 600, 3), colours);
    EXPECT_EQ(Ctl("keys"), "F1: key(A)\n");
}

TEST_F(OneKeyboardForEveryProcess, ReadsLeaveTheStateFileAlone) {
    ASSERT_EQ(kb.Sim().Save(), 1);
    const FileIdentity stored = Identity(kb.StateFile());
    Matrix(0);
    device::GlobalBlock block;
    ASSERT_EQ(kb.Commands().ReadGlobalBlock(block), device::kSuccess);
    std::vector<std::uint8_t> macro(200);
    ASSERT_EQ(kb.Commands().ReadMacroMemory(macro.data(), static_cast<int>(macro.size())), device::kSuccess);
    kb.Sim().Read(QV_SIM_MACRO, 0, 10);
    EXPECT_EQ(Identity(kb.StateFile()), stored);
}

TEST_F(OneKeyboardForEveryProcess, TheStateFileIsReplacedWholeAndNeverSeenHalfWritten) {
    const KeyMatrix start = Matrix(0);
    ASSERT_EQ(kb.Commands().WriteKeyMatrix(Marked(start, 1), 0), device::kSuccess);
    const FileIdentity first = Identity(kb.StateFile());
    // Kept open, the first file's inode cannot be handed to a later file, so a different inode
    // at the end really means the file was replaced.
    std::ifstream keepFirst(kb.StateFile(), std::ios::binary);
    ASSERT_TRUE(keepFirst.is_open());

    // A reader that takes no lock, as a careless tool would, while frames change memory.
    std::atomic<bool> writing{true};
    std::thread writer([&] {
        for (std::uint8_t round = 2; round < 60; ++round) {
            EXPECT_EQ(kb.Commands().WriteKeyMatrix(Marked(start, round), 0), device::kSuccess);
        }
        writing = false;
    });
    int reads = 0;
    std::uint64_t lastGeneration = 0;
    std::string broken;
    while (writing && broken.empty()) {
        const auto bytes = ReadWholeFile(kb.StateFile());
        const auto decoded = bytes ? SimStateFile::Decode(*bytes) : std::nullopt;
        if (!decoded) {
            broken = "read " + (bytes ? std::to_string(bytes->size()) + " bytes" : std::string("nothing whole"));
        } else {
            EXPECT_GE(decoded->generation, lastGeneration);
            lastGeneration = decoded->generation;
            ++reads;
        }
    }
    writer.join();
    EXPECT_EQ(broken, "");
    EXPECT_GT(reads, 0);
    EXPECT_NE(Identity(kb.StateFile()).inode, first.inode) << "replaced by a rename, not rewritten in place";
    for (const auto& entry : std::filesystem::directory_iterator(kb.StateFile().parent_path())) {
        EXPECT_THAT(entry.path().filename().string(), ::testing::Not(::testing::HasSubstr(".tmp")))
            << "a temporary file was left behind";
    }
}

TEST_F(OneKeyboardForEveryProcess, AFrameWaitsForAnotherHolderOfTheLockAndSeesItsStore) {
    const KeyMatrix mine = Marked(Matrix(0), 0x61);
    SimStateFile other(kb.StateFile());
    SimKeyboard otherKeyboard;
    std::atomic<bool> written{false};
    std::thread frames;
    {
        auto hold = other.Lock();
        ASSERT_TRUE(hold.Held());
        frames = std::thread([&] {
            EXPECT_EQ(kb.Commands().WriteKeyMatrix(mine, 0), device::kSuccess);
            written = true;
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_FALSE(written) << "the frame did not wait for the lock";
        // The other holder changes another area meanwhile.
        other.Refresh(otherKeyboard);
        const std::array<std::uint8_t, 2> macro{0x77, 0x78};
        EXPECT_TRUE(otherKeyboard.WriteArea(QV_SIM_MACRO, 0, macro));
        EXPECT_TRUE(other.Store(otherKeyboard));
    }
    frames.join();
    EXPECT_EQ(Matrix(0), mine);
    EXPECT_THAT(kb.Sim().Read(QV_SIM_MACRO, 0, 2), ::testing::ElementsAre(0x77, 0x78));
    ASSERT_EQ(kb.Sim().Reset(kb.StateFile().string(), true), 1);
    EXPECT_EQ(Matrix(0), mine);
    EXPECT_THAT(kb.Sim().Read(QV_SIM_MACRO, 0, 2), ::testing::ElementsAre(0x77, 0x78));
}

TEST_F(OneKeyboardForEveryProcess, AStateFileOfTheFirstLayoutIsStillTheKeyboardsMemory) {
    SimKeyboard saved;
    const std::array<std::uint8_t, 1> profile{2};
    ASSERT_TRUE(saved.WriteArea(QV_SIM_GLOBAL, 10, profile));
    KeyMatrix m = Marked(BuiltInFactoryMatrix(), 0x19);
    ASSERT_TRUE(saved.WriteArea(QV_SIM_KEY_MATRICES, 378, m));
    std::vector<std::uint8_t> bytes{'Q', 'V', 'S', 'I', 'M', 'K', 'B', '1'};
    const auto image = saved.MemoryImage();
    bytes.insert(bytes.end(), image.begin(), image.end());
    const auto file = home.path() / "old.state";
    ASSERT_TRUE(WriteFileAtomically(file, bytes));

    ASSERT_EQ(kb.Sim().Reset(file.string(), true), 1);
    EXPECT_EQ(Matrix(1), m);
    device::GlobalBlock block;
    ASSERT_EQ(kb.Commands().ReadGlobalBlock(block), device::kSuccess);
    EXPECT_EQ(block.ActiveProfile(), 2);
    // The next change stores the current layout, the old memory in it.
    ASSERT_EQ(kb.Commands().WriteKeyMatrix(Marked(m, 0x20), 2), device::kSuccess);
    const auto stored = ReadWholeFile(file);
    ASSERT_TRUE(stored);
    ASSERT_EQ(stored->size(), SimStateFile::kFileSize);
    EXPECT_EQ(std::memcmp(stored->data(), "QVSIMKB2", 8), 0);
    ASSERT_EQ(kb.Sim().Reset(file.string(), true), 1);
    EXPECT_EQ(Matrix(1), m);
}

}  // namespace
}  // namespace qv::hidserv
