// The hardware backend's own logic through a fake of the hidapi calls.
#include "hidserv/hidapi/hidapi_backend.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "hidserv/fake_hid_api.h"
#include "hidserv/listener_registry.h"
#include "protocol/keyboard_memory.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"

namespace qv::hidserv {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using test::FakeHidApi;

struct Heard {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> presence;
    std::vector<std::vector<std::uint8_t>> vendor;
    std::vector<std::vector<std::uint8_t>> consumer;

    template <typename Pred>
    bool WaitFor(Pred pred) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), pred);
    }
};
Heard* g_heard = nullptr;

int Listen(const HidServEvent* event) {
    std::lock_guard lock(g_heard->mutex);
    const HidServRequest& r = *event->request;
    if (event->kind == HIDSERV_EVENT_PRESENCE) {
        g_heard->presence.push_back(static_cast<int>(r.count));
    } else if (r.tag == HIDSERV_TAG_VENDOR) {
        g_heard->vendor.emplace_back(r.data, r.data + r.count);
    } else {
        g_heard->consumer.emplace_back(r.data, r.data + r.count);
    }
    g_heard->changed.notify_all();
    return 1;
}

class HidapiBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_heard = &heard_;
        registry_.AddListener(Collection::Vendor, &Listen, HIDSERV_TAG_VENDOR);
        registry_.AddListener(Collection::Consumer, &Listen, HIDSERV_TAG_CONSUMER);
    }
    void TearDown() override {
        backend_.reset();
        registry_.Clear();
        g_heard = nullptr;
    }
    void Start() {
        backend_ = std::make_unique<HidapiBackend>(registry_, std::make_unique<FakeHidApi>(world_),
                                                   std::chrono::milliseconds(5));
    }
    static test::RawFrame Frame(std::uint8_t command) {
        return test::BuildFrame(command, command == device::frame::kReadGlobalBlock ? 44 : 0, 0);
    }

    FakeHidApi::World world_;
    ListenerRegistry registry_;
    Heard heard_;
    std::unique_ptr<HidapiBackend> backend_;
};

TEST_F(HidapiBackendTest, FindsTheThreeCollectionsAndAnswersComeBackOnTheReader) {
    Start();
    EXPECT_EQ(backend_->DeviceCount(), 1);
    const auto f = Frame(0x03);
    EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), 64);
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.vendor.size() == 1; }));
    EXPECT_EQ(heard_.vendor[0].size(), 64u);
    const test::DecodedFrame answer(heard_.vendor[0]);
    EXPECT_EQ(answer.Command(), device::frame::kReadGlobalBlock);
    EXPECT_EQ(answer.Data()[protocol::kMacroCapacityAt], 255);

    const std::uint8_t status[2] = {0x05, 0x03};
    EXPECT_EQ(backend_->WriteStatusReport(status, 2), 2);
    std::uint8_t back[2] = {};
    EXPECT_EQ(backend_->ReadStatusReport(back, 2), 2);
    EXPECT_EQ(back[1], 0x03);

    std::lock_guard lock(world_.mutex);
    ASSERT_EQ(world_.writes.size(), 2u);
    EXPECT_EQ(world_.writes[0].first, FakeHidApi::kVendorNode);
    EXPECT_EQ(test::DecodedFrame(world_.writes[0].second).ReportId(), device::frame::kReportId);
    EXPECT_EQ(world_.writes[1].first, FakeHidApi::kStatusNode);
    EXPECT_THAT(world_.writes[1].second, ElementsAre(0x05, 0x03));
}

TEST_F(HidapiBackendTest, ConsumerReportsReachTheConsumerListener) {
    Start();
    world_.PushInput(FakeHidApi::kConsumerNode, {0x11, 0x18});
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.consumer.size() == 1; }));
    EXPECT_THAT(heard_.consumer[0], ElementsAre(0x11, 0x18));
    EXPECT_TRUE(heard_.vendor.empty());
}

TEST_F(HidapiBackendTest, OneNodeForVendorAndConsumerIsSplitByReportId) {
    world_.sharedNode = true;
    Start();
    EXPECT_EQ(backend_->DeviceCount(), 1);
    world_.PushInput(FakeHidApi::kVendorNode, {0x01, 0x04});
    const auto f = Frame(0x01);
    backend_->WriteVendorReport(f.data(), f.size());
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.consumer.size() == 1 && heard_.vendor.size() == 1; }));
    EXPECT_THAT(heard_.consumer[0], ElementsAre(0x01, 0x04));
    EXPECT_EQ(test::DecodedFrame(heard_.vendor[0]).Command(), device::frame::kBeginConfig);
}

TEST_F(HidapiBackendTest, ArrivalAndRemovalArePresenceEvents) {
    world_.plugged = false;
    Start();
    EXPECT_EQ(backend_->DeviceCount(), 0);
    const auto f = Frame(0x01);
    EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), -1);
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = true;
    }
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 1; }));
    EXPECT_EQ(heard_.presence[0], 1);
    EXPECT_EQ(backend_->DeviceCount(), 1);
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = false;
        world_.changed.notify_all();
    }
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 2; }));
    EXPECT_EQ(heard_.presence[1], 0);
    EXPECT_EQ(backend_->DeviceCount(), 0);
}

TEST_F(HidapiBackendTest, PullOutMidTransferFailsWritesCleanly) {
    world_.pullOutAtWrite = 4;
    Start();
    const auto f = Frame(0x08);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), 64);
    EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), -1);
    // Counted absent at once, then the monitor closes it and tells the listeners.
    EXPECT_EQ(backend_->DeviceCount(), 0);
    EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), -1);
    ASSERT_TRUE(heard_.WaitFor([&] { return !heard_.presence.empty(); }));
    EXPECT_THAT(heard_.presence, ElementsAre(0));
    // Back in: found again and usable.
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = true;
        world_.pullOutAtWrite = 0;
    }
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 2; }));
    EXPECT_EQ(backend_->WriteVendorReport(f.data(), f.size()), 64);
}

TEST_F(HidapiBackendTest, UnopenableKeyboardCountsAbsentAndIsReportedOnce) {
    world_.unopenable.insert(FakeHidApi::kVendorNode);
    ::testing::internal::CaptureStderr();
    Start();
    // Several scans later, still one line.
    const int scans = [&] {
        std::lock_guard lock(world_.mutex);
        return world_.enumerations;
    }();
    while ([&] {
        std::lock_guard lock(world_.mutex);
        return world_.enumerations < scans + 3;
    }()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(backend_->DeviceCount(), 0);
    EXPECT_THAT(err, HasSubstr(FakeHidApi::kVendorNode));
    EXPECT_THAT(err, HasSubstr("udev rule"));
    EXPECT_EQ(err.find(FakeHidApi::kVendorNode), err.rfind(FakeHidApi::kVendorNode));
    EXPECT_TRUE(heard_.presence.empty());
}

TEST_F(HidapiBackendTest, WithHotplugEventsArrivalComesFromTheEventNotFromPolling) {
    world_.plugged = false;
    world_.hotplug = true;
    Start();  // asks for 5 ms polling; with events the bus is only rescanned as a safety net
    const int enumerations = [&] {
        std::lock_guard lock(world_.mutex);
        world_.plugged = true;  // plugged in, but no event yet
        return world_.enumerations;
    }();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    EXPECT_EQ(backend_->DeviceCount(), 0);
    {
        std::lock_guard lock(world_.mutex);
        EXPECT_EQ(world_.enumerations, enumerations);
        world_.hotplugEvents = 1;
        world_.changed.notify_all();
    }
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 1; }));
    EXPECT_EQ(heard_.presence[0], 1);
    // A reader that finds the keyboard gone wakes the monitor without any event.
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = false;
        world_.changed.notify_all();
    }
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 2; }));
    EXPECT_EQ(heard_.presence[1], 0);
}

std::atomic<int> g_lastAccess{-1};

TEST_F(HidapiBackendTest, InaccessibleNodesAreCountedAndReportedAgainAfterAReplug) {
    world_.unopenable = {FakeHidApi::kVendorNode, FakeHidApi::kConsumerNode, FakeHidApi::kStatusNode};
    ::testing::internal::CaptureStderr();
    Start();
    std::string first;
    EXPECT_EQ(backend_->InaccessibleNodes(&first), 3);
    EXPECT_EQ(first, FakeHidApi::kVendorNode);
    backend_->SetAccessObserver([](int n) { g_lastAccess = n; });
    auto waitAccess = [&](int wanted) {
        for (int i = 0; i < 500 && g_lastAccess.load() != wanted; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return g_lastAccess.load() == wanted;
    };
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = false;
    }
    ASSERT_TRUE(waitAccess(0));
    EXPECT_EQ(backend_->InaccessibleNodes(nullptr), 0);
    {
        std::lock_guard lock(world_.mutex);
        world_.plugged = true;
    }
    ASSERT_TRUE(waitAccess(3));
    // The rule applied: the nodes open and the keyboard arrives.
    {
        std::lock_guard lock(world_.mutex);
        world_.unopenable.clear();
    }
    ASSERT_TRUE(waitAccess(0));
    ASSERT_TRUE(heard_.WaitFor([&] { return heard_.presence.size() == 1; }));
    EXPECT_EQ(backend_->DeviceCount(), 1);
    const std::string err = ::testing::internal::GetCapturedStderr();
    // One line per node and arrival: two arrivals.
    std::size_t lines = 0;
    for (std::size_t at = err.find(FakeHidApi::kVendorNode); at != std::string::npos;
         at = err.find(FakeHidApi::kVendorNode, at + 1)) {
        ++lines;
    }
    EXPECT_EQ(lines, 2u);
}

}  // namespace
}  // namespace qv::hidserv
