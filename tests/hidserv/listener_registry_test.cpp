#include "hidserv/listener_registry.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace qv::hidserv {
namespace {

ListenerRegistry* g_registry = nullptr;
std::atomic<std::uint32_t> g_selfUnit{0};
std::atomic<int> g_calls{0};
std::atomic<bool> g_inside{false};
std::atomic<bool> g_release{false};

int DeletesItself(const HidServEvent*) {
    ++g_calls;
    g_registry->Remove(g_selfUnit.load());
    return 1;
}

int Blocks(const HidServEvent*) {
    g_inside = true;
    while (!g_release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ++g_calls;
    return 1;
}

TEST(ListenerRegistry, CallbackMayDeleteItsOwnRequest) {
    ListenerRegistry registry;
    g_registry = &registry;
    g_calls = 0;
    g_selfUnit = registry.AddListener(Collection::Consumer, &DeletesItself, HIDSERV_TAG_CONSUMER);
    const std::uint8_t report[2] = {0x01, 0x04};
    registry.DeliverData(Collection::Consumer, report, 2);
    registry.DeliverData(Collection::Consumer, report, 2);
    EXPECT_EQ(g_calls.load(), 1);
    EXPECT_FALSE(registry.Remove(g_selfUnit.load()));
}

TEST(ListenerRegistry, DeleteWaitsForARunningCallback) {
    ListenerRegistry registry;
    g_calls = 0;
    g_inside = false;
    g_release = false;
    const std::uint32_t unit = registry.AddListener(Collection::Vendor, &Blocks, HIDSERV_TAG_VENDOR);
    std::thread library([&] { registry.DeliverPresence(1); });
    while (!g_inside.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::atomic<bool> removed{false};
    std::thread program([&] {
        registry.Remove(unit);
        removed = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(removed.load());
    g_release = true;
    program.join();
    library.join();
    EXPECT_TRUE(removed.load());
    EXPECT_EQ(g_calls.load(), 1);
    // Requests of other collections or kinds get no reports.
    registry.AddRequest(Collection::Vendor, &Blocks, HIDSERV_TAG_STATUS);
    registry.DeliverPresence(0);
    EXPECT_EQ(g_calls.load(), 1);
}

}  // namespace
}  // namespace qv::hidserv
