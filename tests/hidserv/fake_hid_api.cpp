#include "hidserv/fake_hid_api.h"

#include <algorithm>
#include <chrono>

namespace qv::test {
namespace {

class FakeHandle final : public hidserv::HidHandle {
public:
    FakeHandle(FakeHidApi::World& world, std::string node) : world_(world), node_(std::move(node)) {}

    int Write(const std::uint8_t* data, std::size_t length) override {
        std::unique_lock lock(world_.mutex);
        if (!world_.plugged) return -1;
        const bool vendor = node_ == FakeHidApi::kVendorNode;
        if (vendor && ++world_.vendorWrites == world_.pullOutAtWrite) {
            world_.plugged = false;
            world_.changed.notify_all();
            return -1;
        }
        world_.writes.emplace_back(node_, std::vector<std::uint8_t>(data, data + length));
        if (vendor && length == 64) {
            std::array<std::uint8_t, 64> frame{};
            std::copy_n(data, 64, frame.begin());
            std::array<std::uint8_t, 64> answer{};
            if (world_.keyboard.HandleFrame(frame, answer)) {
                world_.input[node_].emplace_back(answer.begin(), answer.end());
                world_.changed.notify_all();
            }
        }
        return static_cast<int>(length);
    }

    int ReadTimeout(std::uint8_t* data, std::size_t capacity, int milliseconds) override {
        std::unique_lock lock(world_.mutex);
        auto& queue = world_.input[node_];
        world_.changed.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [&] { return !world_.plugged || !queue.empty(); });
        if (!world_.plugged) return -1;
        if (queue.empty()) return 0;
        const auto report = queue.front();
        queue.pop_front();
        const std::size_t n = std::min(capacity, report.size());
        std::copy_n(report.begin(), n, data);
        return static_cast<int>(n);
    }

private:
    FakeHidApi::World& world_;
    std::string node_;
};

class FakeWatch final : public hidserv::HotplugWatch {
public:
    explicit FakeWatch(FakeHidApi::World& world) : world_(world) {}
    bool Wait(std::chrono::milliseconds timeout) override {
        std::unique_lock lock(world_.mutex);
        world_.changed.wait_for(lock, timeout, [&] { return world_.hotplugEvents > 0 || world_.interrupted; });
        if (world_.interrupted) {
            world_.interrupted = false;
            return true;
        }
        if (world_.hotplugEvents == 0) return false;
        --world_.hotplugEvents;
        return true;
    }
    void Interrupt() override {
        std::lock_guard lock(world_.mutex);
        world_.interrupted = true;
        world_.changed.notify_all();
    }

private:
    FakeHidApi::World& world_;
};

}  // namespace

std::unique_ptr<hidserv::HotplugWatch> FakeHidApi::WatchHotplug(std::uint16_t, std::uint16_t) {
    std::lock_guard lock(world_.mutex);
    if (!world_.hotplug) return nullptr;
    return std::make_unique<FakeWatch>(world_);
}

void FakeHidApi::World::PushInput(const std::string& node, std::vector<std::uint8_t> report) {
    std::lock_guard lock(mutex);
    input[node].push_back(std::move(report));
    changed.notify_all();
}

std::vector<hidserv::HidCollectionInfo> FakeHidApi::Enumerate(std::uint16_t vendorId, std::uint16_t productId) {
    std::lock_guard lock(world_.mutex);
    ++world_.enumerations;
    std::vector<hidserv::HidCollectionInfo> found;
    if (!world_.plugged) return found;
    const std::string consumerNode = world_.sharedNode ? kVendorNode : kConsumerNode;
    // The keyboard's own boot interface and a mouse of the same maker are not ours.
    found.push_back({"/dev/hidraw6", vendorId, productId, 0x0001, 0x0006});
    found.push_back({kVendorNode, vendorId, productId, 0xFF1C, 0x0092});
    found.push_back({consumerNode, vendorId, productId, 0x000C, 0x0001});
    found.push_back({kStatusNode, vendorId, productId, 0x0008, 0x0089});
    found.push_back({"/dev/hidraw10", vendorId, 0x1234, 0xFF1C, 0x0092});
    return found;
}

std::unique_ptr<hidserv::HidHandle> FakeHidApi::Open(const std::string& path) {
    std::lock_guard lock(world_.mutex);
    if (!world_.plugged || world_.unopenable.count(path) != 0) return nullptr;
    return std::make_unique<FakeHandle>(world_, path);
}

}  // namespace qv::test
