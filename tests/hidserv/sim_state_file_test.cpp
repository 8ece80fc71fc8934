// The simulated keyboard's state file on its own: its layout, and two views of it sharing one
// keyboard the way two processes do (each SimStateFile opens its own lock, so two in one test
// exclude each other like two processes).
#include "hidserv/sim/sim_state_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

#include "hidserv/sim_control.h"
#include "platform/atomic_file.h"
#include "support/temp_dir.h"

namespace qv::hidserv {
namespace {

using ::testing::ElementsAre;
using namespace std::chrono_literals;

std::vector<std::uint8_t> FirstLayout(const SimKeyboard& kb) {
    std::vector<std::uint8_t> bytes{'Q', 'V', 'S', 'I', 'M', 'K', 'B', '1'};
    const auto image = kb.MemoryImage();
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

std::uint8_t At(const SimKeyboard& kb, int area, std::size_t offset) {
    std::array<std::uint8_t, 1> b{};
    EXPECT_TRUE(kb.ReadArea(area, offset, b));
    return b[0];
}

void Put(SimKeyboard& kb, int area, std::size_t offset, std::uint8_t value) {
    const std::array<std::uint8_t, 1> b{value};
    ASSERT_TRUE(kb.WriteArea(area, offset, b));
}

TEST(SimStateFileLayout, AreasKeepTheOrderOfTheFirstLayoutAfterAHeaderWithTheGeneration) {
    SimKeyboard kb;
    // The last byte of each area, so an area shifted or shortened by one shows.
    const std::pair<int, std::size_t> lastOf[] = {{QV_SIM_GLOBAL, 43},  {QV_SIM_SETTINGS, 125},
                                                  {QV_SIM_KEY_MATRICES, 1133}, {QV_SIM_MACRO, 32639},
                                                  {QV_SIM_FACTORY, 377}, {QV_SIM_KEY_COLOURS, 1535}};
    for (std::uint8_t i = 0; i < 6; ++i) Put(kb, lastOf[i].first, lastOf[i].second, static_cast<std::uint8_t>(0xA0 + i));

    const auto bytes = SimStateFile::Encode(kb, 0x0102030405060708);
    ASSERT_EQ(bytes.size(), 35874u);
    EXPECT_THAT(std::vector(bytes.begin(), bytes.begin() + 16),
                ElementsAre('Q', 'V', 'S', 'I', 'M', 'K', 'B', '2', 8, 7, 6, 5, 4, 3, 2, 1));
    const std::size_t ends[] = {44, 170, 1304, 33944, 34322, 35858};
    for (std::uint8_t i = 0; i < 6; ++i) EXPECT_EQ(bytes[16 + ends[i] - 1], 0xA0 + i) << "area " << int(i);

    const auto decoded = SimStateFile::Decode(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->generation, 0x0102030405060708u);
    SimKeyboard back;
    ASSERT_TRUE(back.LoadMemoryImage(decoded->image));
    EXPECT_EQ(back.MemoryImage(), kb.MemoryImage());

    const auto firstBytes = FirstLayout(kb);
    const auto first = SimStateFile::Decode(firstBytes);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->generation, 0u);
    EXPECT_EQ(std::vector(first->image.begin(), first->image.end()), kb.MemoryImage());
}

TEST(SimStateFileLayout, AnythingElseIsRefused) {
    SimKeyboard kb;
    auto current = SimStateFile::Encode(kb, 1);
    auto first = FirstLayout(kb);
    EXPECT_FALSE(SimStateFile::Decode({}));
    EXPECT_FALSE(SimStateFile::Decode(std::span(current).first(current.size() - 1)));
    // Each magic only with its own size.
    std::memcpy(current.data(), "QVSIMKB1", 8);
    EXPECT_FALSE(SimStateFile::Decode(current));
    std::memcpy(first.data(), "QVSIMKB2", 8);
    EXPECT_FALSE(SimStateFile::Decode(first));
    std::memcpy(first.data(), "QVSIMKB3", 8);
    EXPECT_FALSE(SimStateFile::Decode(first));
    SimKeyboard untouched;
    const auto image = untouched.MemoryImage();
    EXPECT_FALSE(untouched.LoadMemoryImage(std::span(image).first(image.size() - 1)));
}

// Two processes' views of one keyboard.
class TwoViews : public ::testing::Test {
protected:
    std::filesystem::path File() const { return dir.path() / "kb.state"; }
    test::TempDir dir;
    SimStateFile fileA{File()};
    SimStateFile fileB{File()};
    SimKeyboard a;
    SimKeyboard b;
};

TEST_F(TwoViews, AStoreIsLoadedByTheOtherOnceAndNeverByItself) {
    {
        auto hold = fileA.Lock();
        ASSERT_TRUE(hold.Held());
        EXPECT_EQ(fileA.Refresh(a), SimStateFile::Refreshed::Unusable) << "no file yet";
        Put(a, QV_SIM_KEY_MATRICES, 0, 0x11);
        ASSERT_TRUE(fileA.Store(a));
        EXPECT_FALSE(a.Dirty());
        // Its own store is not taken for another's: a change not yet stored stays.
        Put(a, QV_SIM_KEY_COLOURS, 0, 0x22);
        EXPECT_EQ(fileA.Refresh(a), SimStateFile::Refreshed::Unchanged);
        EXPECT_EQ(At(a, QV_SIM_KEY_COLOURS, 0), 0x22);
    }
    {
        auto hold = fileB.Lock();
        EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Loaded);
        EXPECT_EQ(At(b, QV_SIM_KEY_MATRICES, 0), 0x11);
        EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unchanged);
    }
    // Stores in quick succession, each of the same size: every one is seen.
    for (std::uint8_t v = 0x30; v < 0x35; ++v) {
        {
            auto hold = fileA.Lock();
            fileA.Refresh(a);
            Put(a, QV_SIM_SETTINGS, 5, v);
            ASSERT_TRUE(fileA.Store(a));
        }
        auto hold = fileB.Lock();
        ASSERT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Loaded) << int(v);
        EXPECT_EQ(At(b, QV_SIM_SETTINGS, 5), v);
    }
}

TEST_F(TwoViews, DamagedOrRemovedFileLeavesMemoryAsItWas) {
    {
        auto hold = fileA.Lock();
        Put(a, QV_SIM_GLOBAL, 10, 2);
        ASSERT_TRUE(fileA.Store(a));
    }
    auto hold = fileB.Lock();
    ASSERT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Loaded);
    ASSERT_TRUE(WriteFileAtomically(File(), "half a keyboard"));
    EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unusable);
    EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unchanged) << "read once, not at every frame";
    std::filesystem::remove(File());
    EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unusable);
    EXPECT_EQ(At(b, QV_SIM_GLOBAL, 10), 2);
    // Forget makes the next refresh report the file as it is, for a reset to start from.
    EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unchanged);
    fileB.Forget();
    EXPECT_EQ(fileB.Refresh(b), SimStateFile::Refreshed::Unusable);
}

struct LockAttempt {
    bool early;  // had before `meanwhile` ran
    bool held;   // had at all
};

// Takes `file`'s lock on another thread, runs `meanwhile` after `wait`, then lets the thread end.
LockAttempt LockFromAnotherThread(SimStateFile& file, std::chrono::milliseconds wait,
                                  const std::function<void()>& meanwhile) {
    std::atomic<bool> done{false};
    bool held = false;
    std::thread other([&] {
        auto hold = file.Lock();
        held = hold.Held();
        done = true;
    });
    std::this_thread::sleep_for(wait);
    const bool early = done;
    meanwhile();
    other.join();
    return {early, held};
}

TEST_F(TwoViews, OneHolderAtATimeEvenWhenTheLockFileIsRemovedAndMadeAnew) {
    { auto first = fileB.Lock(); }  // B has its lock file open from now on
    {
        auto held = fileA.Lock();
        // B waits until A lets go (the thread is joined after A's hold goes).
        std::optional<SimStateFile::Hold> release(std::move(held));
        const LockAttempt attempt = LockFromAnotherThread(fileB, 50ms, [&] { release.reset(); });
        EXPECT_FALSE(attempt.early);
        EXPECT_TRUE(attempt.held);
    }
    // The lock file is removed while B still has it open; A makes a new one. B must not hold a
    // lock on the removed file while A holds the new one.
    std::filesystem::remove(fileA.LockPath());
    std::optional<SimStateFile::Hold> held(fileA.Lock());
    ASSERT_TRUE(held->Held());
    ASSERT_TRUE(std::filesystem::exists(fileA.LockPath()));
    const LockAttempt attempt = LockFromAnotherThread(fileB, 50ms, [&] { held.reset(); });
    EXPECT_FALSE(attempt.early);
    EXPECT_TRUE(attempt.held);
}

TEST_F(TwoViews, WithoutTheLockTheExchangeGoesAheadAndKeepsItsChange) {
    // A holder that never lets go is waited for only so long.
    {
        auto held = fileA.Lock();
        const auto start = std::chrono::steady_clock::now();
        auto hold = fileB.Lock(30ms);
        EXPECT_FALSE(hold.Held());
        EXPECT_GE(std::chrono::steady_clock::now() - start, 30ms);
    }
    // No lock file where no folder can be made; no state file either, and the change stays in
    // memory to be stored later.
    SimStateFile nowhere("/proc/no-such-folder/kb.state");
    auto hold = nowhere.Lock();
    EXPECT_FALSE(hold.Held());
    EXPECT_EQ(nowhere.Refresh(a), SimStateFile::Refreshed::Unusable);
    Put(a, QV_SIM_GLOBAL, 10, 1);
    EXPECT_FALSE(nowhere.Store(a));
    EXPECT_TRUE(a.Dirty());
}

}  // namespace
}  // namespace qv::hidserv
