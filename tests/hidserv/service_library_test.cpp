// libHidServ.so as the program loads it, and the simulated keyboard behind it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "core/device/command_set.h"
#include "core/device/hid_service.h"
#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv::hidserv {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using device::HidService;
using test::SimulatedKeyboard;

TEST(ServiceLibrary, ExportsTheTwelveEntryPoints) {
    test::ChooseSimulatedKeyboard();
    std::string error;
    auto service = HidService::Load(QV_BIN_DIR, &error);
    ASSERT_TRUE(service) << error;
    void* handle = service->Handle();
    for (const char* name : {"Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId",
                             "DeleteRequestFromHandle", "RequestWrite", "RequestWriteOne",
                             "RequestStatusWrite", "RequestStatusGet", "RequestAsyncRead",
                             "RequestStatusSetFeature"}) {
        EXPECT_NE(::dlsym(handle, name), nullptr) << name;
    }
    // Nothing else of the library leaks out but the simulated keyboard's control calls.
    EXPECT_EQ(::dlsym(handle, "_ZN2qv7hidserv7ServiceEv"), nullptr);
    // Another collection or device is never counted.
    DeviceIdentity other = device::VendorIdentity();
    other.productId = 0x1234;
    EXPECT_EQ(service->DeviceCount(other), 0);
}

TEST(ServiceLibrary, ExportsNothingOfTheLayersLinkedIntoIt) {
    // The protocol and platform libraries are linked in statically; their functions must stay
    // inside, or a program loading the library could bind to a second copy of its own code.
    const auto library = std::filesystem::path(QV_BIN_DIR) / "libHidServ.so";
    const std::string command = "nm -D --defined-only " + library.string() + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) GTEST_SKIP() << "cannot run nm";
    std::vector<std::string> strong;
    char line[4096];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        std::istringstream fields(line);
        std::string address, type, name;
        if (!(fields >> address >> type >> name)) continue;
        // Weak and unique symbols are the standard library's template copies.
        if (type == "T" || type == "D" || type == "B" || type == "R") strong.push_back(name);
    }
    if (::pclose(pipe) != 0 || strong.empty()) GTEST_SKIP() << "no nm to list the exports";
    const std::set<std::string> entryPoints{
        "Debug", "Init", "End", "RequestGetDeviceCount", "DeleteRequestFromUnitId", "DeleteRequestFromHandle",
        "RequestWrite", "RequestWriteOne", "RequestStatusWrite", "RequestStatusGet", "RequestAsyncRead",
        "RequestStatusSetFeature", "HidServInaccessibleNodes", "HidServSetAccessCallback"};
    for (const std::string& name : strong) {
        EXPECT_TRUE(entryPoints.contains(name) || name.starts_with("QvSim")) << name;
    }
}

TEST(ServiceLibrary, LoadReportsAMissingLibraryOrEntryPoint) {
    test::TempDir dir;
    std::string error;
    EXPECT_FALSE(HidService::Load(dir.path(), &error));
    EXPECT_THAT(error, HasSubstr("libHidServ.so"));

    // A library that is not the HID service lacks the entry points.
    std::filesystem::path other;
    for (const char* candidate : {"/lib/x86_64-linux-gnu/libm.so.6", "/usr/lib/x86_64-linux-gnu/libm.so.6",
                                  "/lib64/libm.so.6"}) {
        if (std::filesystem::exists(candidate)) other = candidate;
    }
    if (other.empty()) GTEST_SKIP() << "no libm to stand in";
    std::filesystem::copy_file(other, dir.path() / "libHidServ.so");
    EXPECT_FALSE(HidService::Load(dir.path(), &error));
    EXPECT_THAT(error, HasSubstr("Debug"));
}

TEST(ServiceLibrary, ProgramEndsQuietlyWhenTheLibraryIsMissing) {
    // Run in a fresh process: the library's threads from earlier tests do not survive a fork.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    test::TempDir dir;
    EXPECT_EXIT(HidService::LoadOrExit(dir.path()), ::testing::ExitedWithCode(0), "^$");
}

TEST(SimulatedKeyboard, DamagedOrMisaddressedFramesAreRefused) {
    SimulatedKeyboard kb;
    auto& engine = kb.Link().Engine();
    const std::uint8_t data[56] = {0x77};
    auto f = test::BuildFrame(device::frame::kWriteKeyMatrix, 56, 0, data);
    f[device::frame::kData + 1] = 1;  // damaged after the checksum
    std::array<std::uint8_t, 64> answer{};
    std::size_t received = 0;
    ASSERT_EQ(engine.ExchangeReport(f.data(), 64, answer.data(), 64, &received), device::kSuccess);
    EXPECT_EQ(test::RecordOf(test::DecodedFrame(answer)),
              (test::FrameRecord{device::frame::kWriteKeyMatrix, 56, 0, 0xFE}));
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);
    EXPECT_NE(kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 1)[0], 0x77);

    // The last piece may end exactly at the end of the three matrices, not one byte later.
    auto statusFor = [&](const test::RawFrame& request) {
        EXPECT_EQ(engine.ExchangeReport(request.data(), 64, answer.data(), 64, &received), device::kSuccess);
        return test::DecodedFrame(answer).Status();
    };
    EXPECT_EQ(statusFor(test::BuildFrame(device::frame::kWriteKeyMatrix, 56, 3 * 378 - 55, data)), 0xFF);
    EXPECT_EQ(statusFor(test::BuildFrame(device::frame::kWriteKeyMatrix, 56, 3 * 378 - 56, data)), 0x00);

    // An unknown command.
    EXPECT_EQ(statusFor(test::BuildFrame(0x42, 0, 0)), 0xFF);
}

TEST(SimulatedKeyboard, MemoryPersistsInItsStateFile) {
    KeyMatrix m{};
    m.fill(0x31);
    test::TempDir keep;
    const std::filesystem::path state = keep.path() / "sub" / "kb.state";
    {
        SimulatedKeyboard kb;
        ASSERT_EQ(kb.Sim().Reset(state.string(), true), 1);
        auto& cmd = kb.Commands();
        ASSERT_EQ(cmd.BeginConfig(), device::kSuccess);
        // Nothing is stored before memory changes; a group at the latest when it closes.
        EXPECT_FALSE(std::filesystem::exists(state));
        ASSERT_EQ(cmd.WriteKeyMatrix(m, 0), device::kSuccess);
        ASSERT_EQ(cmd.EndConfig(), device::kSuccess);
        EXPECT_TRUE(std::filesystem::exists(state));
        // A write outside any group is stored at once.
        ASSERT_EQ(cmd.SetActiveProfile(2), device::kSuccess);
    }
    SimulatedKeyboard again;
    ASSERT_EQ(again.Sim().Reset(state.string(), true), 1);
    KeyMatrix read{};
    ASSERT_EQ(again.Commands().ReadKeyMatrix(read, 0), device::kSuccess);
    EXPECT_EQ(read, m);
    EXPECT_EQ(again.Commands().GetActiveProfile(), 2);

    // A damaged state file gives the factory state back.
    { std::ofstream(state, std::ios::binary | std::ios::trunc) << "garbage"; }
    ASSERT_EQ(again.Sim().Reset(state.string(), true), 1);
    ASSERT_EQ(again.Commands().ReadKeyMatrix(read, 0), device::kSuccess);
    EXPECT_EQ(read, BuiltInFactoryMatrix());
}

// Collects what the library delivers to a callback of this test.
struct Delivered {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<int> presence;
    std::vector<std::vector<std::uint8_t>> consumer;
    std::vector<std::uint8_t> latestViaBlock;

    template <typename Pred>
    bool WaitFor(Pred pred) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), pred);
    }
};
Delivered* g_delivered = nullptr;

int RecordingCallback(const HidServEvent* event) {
    std::lock_guard lock(g_delivered->mutex);
    const HidServRequest& r = *event->request;
    if (event->kind == HIDSERV_EVENT_PRESENCE) {
        g_delivered->presence.push_back(static_cast<int>(r.count));
    } else if (r.tag == HIDSERV_TAG_CONSUMER) {
        g_delivered->consumer.emplace_back(r.data, r.data + r.count);
        // The standing read's block points at the latest report from its offset 28.
        const auto* raw = reinterpret_cast<const std::uint8_t*>(r.block);
        const std::uint8_t* latest = nullptr;
        std::memcpy(&latest, raw + 28, sizeof latest);
        g_delivered->latestViaBlock.assign(latest, latest + r.count);
    }
    g_delivered->changed.notify_all();
    return 1;
}

TEST(SimulatedKeyboard, DeliversPresenceAndConsumerReportsOnItsOwnThreads) {
    SimulatedKeyboard kb;
    Delivered delivered;
    g_delivered = &delivered;
    const auto& entries = kb.Link().Service().Entries();
    const DeviceIdentity vendor = device::VendorIdentity();
    const DeviceIdentity consumer = device::ConsumerIdentity();
    std::uint32_t vendorUnit = 0;
    std::uint32_t consumerUnit = 0;
    ASSERT_EQ(entries.requestAsyncRead(&vendor, &RecordingCallback, HIDSERV_TAG_VENDOR, &vendorUnit), 1);
    ASSERT_EQ(entries.requestAsyncRead(&consumer, &RecordingCallback, HIDSERV_TAG_CONSUMER, &consumerUnit), 1);
    EXPECT_NE(vendorUnit, 0u);
    EXPECT_NE(vendorUnit, consumerUnit);

    kb.Sim().Attach(false);
    kb.Sim().Attach(true);
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.presence.size() == 2; }));
    EXPECT_THAT(delivered.presence, ElementsAre(0, 1));

    ASSERT_EQ(kb.Sim().SendConsumerCode(0x02FF), 1);
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.consumer.size() == 1; }));
    EXPECT_THAT(delivered.consumer[0], ElementsAre(0xFF, 0x02));
    EXPECT_EQ(delivered.latestViaBlock, delivered.consumer[0]);

    // Deleted requests get nothing more.
    EXPECT_EQ(entries.deleteRequestFromUnitId(vendorUnit), 1);
    EXPECT_EQ(entries.deleteRequestFromUnitId(consumerUnit), 1);
    EXPECT_EQ(entries.deleteRequestFromUnitId(consumerUnit), 0);
    kb.Sim().SendConsumerCode(0x0401);
    kb.Sim().Attach(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::lock_guard lock(delivered.mutex);
    EXPECT_EQ(delivered.consumer.size(), 1u);
    EXPECT_EQ(delivered.presence.size(), 2u);
    g_delivered = nullptr;
}

TEST(SimulatedKeyboard, UpdateModeLeavesForTheLoaderAndComesBackWithItsMemory) {
    setenv("QUORVANE_SIM_LOADER_MS", "150", 1);
    SimulatedKeyboard kb;
    Delivered delivered;
    g_delivered = &delivered;
    const auto& entries = kb.Link().Service().Entries();
    const DeviceIdentity vendor = device::VendorIdentity();
    std::uint32_t unit = 0;
    ASSERT_EQ(entries.requestAsyncRead(&vendor, &RecordingCallback, HIDSERV_TAG_VENDOR, &unit), 1);
    const std::vector<std::uint8_t> macro{0x55, 0xAA, 0x10, 0x00, 0x01, 0x00};
    ASSERT_EQ(kb.Sim().Write(QV_SIM_MACRO, 0, macro), 1);

    ASSERT_EQ(kb.Commands().EnterUpdateMode(), 1);
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.presence.size() == 1; }));
    EXPECT_EQ(kb.Link().Service().DeviceCount(vendor), 0) << "in its loader it is not this keyboard";
    device::GlobalBlock block;
    EXPECT_NE(kb.Commands().ReadGlobalBlock(block), 1);

    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.presence.size() == 2; }));
    EXPECT_THAT(delivered.presence, ElementsAre(0, 1));
    EXPECT_EQ(kb.Link().Service().DeviceCount(vendor), 1);
    EXPECT_EQ(kb.Commands().ReadGlobalBlock(block), 1) << "it answers again";
    EXPECT_EQ(kb.Sim().Read(QV_SIM_MACRO, 0, 6), macro) << "memory intact";
    EXPECT_THAT(kb.Sim().Read(QV_SIM_UPDATE_MODE, 0, 1), ElementsAre(0));

    // Pulled out while in its loader, it stays away.
    ASSERT_EQ(kb.Commands().EnterUpdateMode(), 1);
    EXPECT_TRUE(delivered.WaitFor([&] { return delivered.presence.size() == 3; }));
    kb.Sim().Attach(false);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    {
        std::lock_guard lock(delivered.mutex);
        EXPECT_THAT(delivered.presence, ElementsAre(0, 1, 0));
    }
    EXPECT_EQ(entries.deleteRequestFromUnitId(unit), 1);
    g_delivered = nullptr;
    unsetenv("QUORVANE_SIM_LOADER_MS");
}

TEST(SimulatedKeyboard, StatusReportIsKeptAndReadBack) {
    SimulatedKeyboard kb;
    const auto& entries = kb.Link().Service().Entries();
    const DeviceIdentity status = device::StatusIdentity();
    const std::uint8_t bankB[2] = {0x05, 0x03};
    std::uint32_t unit = 0;
    ASSERT_EQ(entries.requestStatusWrite(&status, nullptr, HIDSERV_TAG_STATUS, bankB, 2, &unit), 1);
    EXPECT_NE(unit, 0u);
    EXPECT_THAT(kb.Sim().Read(QV_SIM_STATUS, 0, 2), ElementsAre(0x05, 0x03));
    std::uint8_t back[2] = {};
    ASSERT_EQ(entries.requestStatusGet(&status, nullptr, 0, back, 2, nullptr), 1);
    EXPECT_EQ(back[1], 0x03);
    EXPECT_EQ(entries.deleteRequestFromUnitId(unit), 1);
    // The status goes to the status collection only.
    const DeviceIdentity vendor = device::VendorIdentity();
    EXPECT_EQ(entries.requestStatusWrite(&vendor, nullptr, HIDSERV_TAG_STATUS, bankB, 2, &unit), 0);
}

}  // namespace
}  // namespace qv::hidserv
