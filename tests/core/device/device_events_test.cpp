// Consumer codes, the bank toggle and keyboard arrival/removal through the real library and the
// simulated keyboard, with a fake main window.
#include "core/device/device_events.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <thread>
#include <mutex>
#include <string>
#include <vector>

#include "core/app/text_table.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/mainwin/main_window_state.h"
#include "protocol/key_matrix.h"
#include "support/simulated_keyboard.h"

namespace qv::device {
namespace {

using ::testing::ElementsAre;
using test::SimulatedKeyboard;

// Records every request as one line, in order.
class FakeWindow final : public MainWindowLink {
public:
    explicit FakeWindow(bool readyAtStart = true) {
        if (readyAtStart) ready.Set();
    }
    void SendWindowMessage(unsigned message, std::uintptr_t wParam) override {
        if (message == kMsgProfileReload && onProfileReload) onProfileReload();
        Record("send " + Hex(message) + " " + Hex(wParam));
    }
    void PostWindowMessage(unsigned message, std::uintptr_t wParam) override {
        Record("post " + Hex(message) + " " + Hex(wParam));
    }
    void StartWindowTimer(int id, int delay) override {
        Record("timer " + std::to_string(id) + " " + std::to_string(delay));
    }
    void HideWindow() override { Record("hide"); }
    void SetTrayState(int kind, int id) override {
        Record("tray " + std::to_string(kind) + " " + std::to_string(id));
    }
    bool WaitUntilReady(std::chrono::milliseconds atMost) override { return ready.WaitFor(atMost); }
    bool AutoOpenFlag() const override { return autoOpen.load(); }
    void SetAutoOpenFlag(bool value) override { autoOpen.store(value); }
    void ShowGKeyBank(int bank, const std::array<std::string_view, 9>& captions) override {
        std::string line = "bank " + std::to_string(bank);
        for (auto c : captions) line += " " + (c.empty() ? std::string("-") : std::string(c));
        Record(line);
    }
    void ShowMessage(std::string_view text) override { Record("message " + std::string(text)); }

    std::vector<std::string> Lines() {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
    }
    // Waits until `line` has been recorded (true) or 5 s passed.
    bool WaitFor(const std::string& line) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::find(lines_.begin(), lines_.end(), line) != lines_.end();
        });
    }

    mainwin::ReadyFlag ready;
    std::atomic<bool> autoOpen{false};
    std::function<void()> onProfileReload;

private:
    static std::string Hex(std::uintptr_t v) {
        char buf[24];
        std::snprintf(buf, sizeof buf, "%lX", static_cast<unsigned long>(v));
        return buf;
    }
    void Record(std::string line) {
        std::lock_guard lock(mutex_);
        lines_.push_back(std::move(line));
        changed_.notify_all();
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

TEST(DeviceEvents, BankToggleWritesStatusAndSwitchesCaptions) {
    SimulatedKeyboard kb;
    FakeWindow window;
    DeviceEvents events(kb.Link(), window);
    events.Start();
    ASSERT_TRUE(window.WaitFor("post 5350 4F50454E"));
    window.Clear();

    kb.Sim().SendConsumerCode(0x02FF);
    ASSERT_TRUE(window.WaitFor("bank 1 B1 B2 B3 B4 B5 - - - -"));
    EXPECT_THAT(kb.Sim().Read(QV_SIM_STATUS, 0, 2), ElementsAre(0x05, 0x03));
    kb.Sim().SendConsumerCode(0x02FF);
    ASSERT_TRUE(window.WaitFor("bank 0 A1 A2 A3 A4 A5 - - - -"));
    EXPECT_THAT(kb.Sim().Read(QV_SIM_STATUS, 0, 2), ElementsAre(0x05, 0x02));
    // The window hears of the change before the captions switch.
    EXPECT_THAT(window.Lines(), ElementsAre("send 5045 4C4544", "bank 1 B1 B2 B3 B4 B5 - - - -",
                                            "send 5045 4C4544", "bank 0 A1 A2 A3 A4 A5 - - - -"));
    EXPECT_EQ(kb.Link().Listener().Status()[1], 0x02);
}

TEST(DeviceEvents, LightingReloadAndIconCodes) {
    SimulatedKeyboard kb;
    FakeWindow window;
    DeviceEvents events(kb.Link(), window);
    events.Start();
    ASSERT_TRUE(window.WaitFor("post 5350 4F50454E"));
    events.Presence().WaitForWorkers();
    window.Clear();
    kb.Sim().ClearFrameLog();

    kb.Sim().SendConsumerCode(0x1234);  // ignored
    kb.Sim().SendConsumerCode(0x0401);
    ASSERT_TRUE(window.WaitFor("timer 1051 0"));
    kb.Sim().SendConsumerCode(0x1811);
    ASSERT_TRUE(window.WaitFor("tray 1 142"));
    kb.Sim().SendConsumerCode(0x1810);
    ASSERT_TRUE(window.WaitFor("tray 0 0"));
    events.Codes().WaitForIconThreads();
    EXPECT_EQ(window.Lines().size(), 3u);
    // No command frame is ever sent for a consumer code.
    EXPECT_EQ(kb.Sim().FrameCount(), 0u);
}

// Counts how many icon changes overlap and keeps their order.
class IconWindow final : public MainWindowLink {
public:
    void SendWindowMessage(unsigned, std::uintptr_t) override {}
    void PostWindowMessage(unsigned, std::uintptr_t) override {}
    void StartWindowTimer(int, int) override {}
    void HideWindow() override {}
    void SetTrayState(int kind, int id) override {
        const int now = ++inside;
        int seen = most.load();
        while (now > seen && !most.compare_exchange_weak(seen, now)) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        {
            std::lock_guard lock(mutex);
            order.push_back(kind * 1000 + id);
        }
        --inside;
    }
    bool WaitUntilReady(std::chrono::milliseconds) override { return true; }
    bool AutoOpenFlag() const override { return true; }
    void SetAutoOpenFlag(bool) override {}
    void ShowGKeyBank(int, const std::array<std::string_view, 9>&) override {}
    void ShowMessage(std::string_view) override {}

    std::atomic<int> inside{0};
    std::atomic<int> most{0};
    std::mutex mutex;
    std::vector<int> order;
};

TEST(DeviceEvents, IconThreadsRunOneAtATimeInTheOrderOfTheirCodes) {
    SimulatedKeyboard kb;
    IconWindow window;
    ConsumerCodes codes(kb.Link().Listener(), window);
    std::vector<int> expected;
    for (int i = 0; i < 12; ++i) {
        const bool alternate = i % 3 != 2;
        codes.Handle(alternate ? kCodeAlternateIcon : kCodeNormalIcon);
        expected.push_back(alternate ? 1142 : 0);
    }
    codes.WaitForIconThreads();
    EXPECT_EQ(window.most.load(), 1);
    EXPECT_EQ(window.order, expected);
}

// The factory layout is process-wide: each test starts from, and leaves, the built-in copy.
struct BuiltInFactoryLayout {
    BuiltInFactoryLayout() { ResetDefaultKeyMatrix(); }
    ~BuiltInFactoryLayout() { ResetDefaultKeyMatrix(); }
};

TEST(DeviceEvents, KeyboardAttachedLaterIsReadButDoesNotOpenTheWindow) {
    BuiltInFactoryLayout layoutGuard;
    SimulatedKeyboard kb(/*attached=*/false);
    KeyMatrix factory{};
    factory.fill(0x2C);
    ASSERT_EQ(kb.Sim().Write(QV_SIM_FACTORY, 0, std::vector<std::uint8_t>(factory.begin(), factory.end())), 1);
    ASSERT_EQ(kb.Sim().Write(QV_SIM_GLOBAL, 11, {100}), 1);
    FakeWindow window;
    DeviceEvents events(kb.Link(), window);
    // The two reads are done by the time the window is asked to reload.
    std::size_t framesAtReload = 0;
    window.onProfileReload = [&] { framesAtReload = kb.Sim().FrameCount(); };
    events.Start();
    events.Presence().WaitForWorkers();
    EXPECT_TRUE(window.autoOpen.load());
    EXPECT_TRUE(window.Lines().empty());
    EXPECT_EQ(events.Presence().FactoryLayout(), BuiltInFactoryMatrix());

    kb.Sim().Attach(true);
    ASSERT_TRUE(window.WaitFor("tray 0 141"));
    events.Presence().WaitForWorkers();
    EXPECT_THAT(window.Lines(), ElementsAre("send 5452 50524F46", "tray 0 141"));
    EXPECT_EQ(framesAtReload, 8u);  // 7 pieces of the factory matrix, the global block
    EXPECT_EQ(events.Presence().FactoryLayout(), factory);
    EXPECT_EQ(DefaultKeyMatrix(), factory);  // what the key matrix encoding now uses
    EXPECT_EQ(events.Presence().MacroCapacityBytes(), 12800u);
    EXPECT_EQ(events.Presence().LastKnownCount(), 1);
}

TEST(DeviceEvents, WindowOpensOnceWhenReadyAndRemovalHidesIt) {
    SimulatedKeyboard kb;
    FakeWindow window(/*readyAtStart=*/false);
    DeviceEvents events(kb.Link(), window);
    // The worker wakes when the window is ready, not at its next look for a stop.
    events.Presence().stopPoll = std::chrono::seconds(30);
    events.Start();
    ASSERT_TRUE(window.WaitFor("send 5452 50524F46"));
    // Nothing more until the deferred initialisation is done.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(window.Lines().size(), 1u);
    window.ready.Set();
    ASSERT_TRUE(window.WaitFor("post 5350 4F50454E"));
    events.Presence().WaitForWorkers();
    EXPECT_THAT(window.Lines(), ElementsAre("send 5452 50524F46", "tray 0 141", "post 5350 4F50454E"));
    EXPECT_EQ(kb.Commands().GetActiveProfile(), 0);
    window.Clear();

    kb.Sim().Attach(false);
    ASSERT_TRUE(window.WaitFor("tray 0 128"));
    events.Presence().WaitForWorkers();
    EXPECT_THAT(window.Lines(), ElementsAre("send 4753 0", "hide", "tray 0 128"));
    EXPECT_EQ(kb.Commands().CachedActiveProfile(), -1);
    window.Clear();

    // Back again: reloaded, but the window is not opened a second time.
    kb.Sim().Attach(true);
    ASSERT_TRUE(window.WaitFor("tray 0 141"));
    events.Presence().WaitForWorkers();
    EXPECT_THAT(window.Lines(), ElementsAre("send 5452 50524F46", "tray 0 141"));
}

TEST(DeviceEvents, FailedFactoryReadIsReportedAndKeepsTheOldCopy) {
    BuiltInFactoryLayout layoutGuard;
    SimulatedKeyboard kb(/*attached=*/false);
    FakeWindow window;
    DeviceEvents events(kb.Link(), window);
    events.Start();
    events.Presence().WaitForWorkers();
    // The first piece of the factory matrix is refused three times.
    kb.Sim().InjectFault(QV_SIM_FAULT_STATUS_FF, 3);
    kb.Sim().Attach(true);
    ASSERT_TRUE(window.WaitFor("tray 0 141"));
    events.Presence().WaitForWorkers();
    EXPECT_THAT(window.Lines(),
                ElementsAre("message " + Text(TextId::MAIN_DEFAULT_MATRIX_PROMPT), "send 5452 50524F46",
                            "tray 0 141"));
    EXPECT_EQ(events.Presence().FactoryLayout(), BuiltInFactoryMatrix());
    EXPECT_EQ(events.Presence().MacroCapacityBytes(), 32640u);
}

TEST(PresenceWorker, SameCountAgainDoesNothing) {
    SimulatedKeyboard kb;
    FakeWindow window;
    PresenceWorker worker(kb.Commands(), window);
    worker.Run(1);
    const auto frames = kb.Sim().FrameCount();
    window.Clear();
    worker.Run(1);
    EXPECT_TRUE(window.Lines().empty());
    EXPECT_EQ(kb.Sim().FrameCount(), frames);
    worker.Run(0);
    EXPECT_EQ(worker.LastKnownCount(), 0);
    worker.Run(0);
    EXPECT_THAT(window.Lines(), ElementsAre("send 4753 0", "hide", "tray 0 128"));
}

// A window that never finishes its start (the program ends first) must not hold the worker, nor
// the program's end that joins it.
TEST(PresenceWorker, StopsWaitingForAWindowThatNeverBecomesReady) {
    SimulatedKeyboard kb;
    FakeWindow window(/*readyAtStart=*/false);
    PresenceWorker worker(kb.Commands(), window);
    worker.stopPoll = std::chrono::milliseconds(5);
    worker.Launch(1);
    ASSERT_TRUE(window.WaitFor("send 5452 50524F46"));
    worker.RequestStop();
    worker.WaitForWorkers();
    EXPECT_THAT(window.Lines(), ElementsAre("send 5452 50524F46")) << "no tray state, no opening";
    EXPECT_EQ(worker.LastKnownCount(), 0);
}

}  // namespace
}  // namespace qv::device
