#pragma once
// A fake of the hidapi calls with the simulated keyboard's memory behind its vendor node: frames
// written there are answered on the node's input queue, like a real keyboard over hidraw.

#include <array>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "hidserv/hidapi/hid_api.h"
#include "hidserv/sim/sim_keyboard.h"

namespace qv::test {

class FakeHidApi final : public hidserv::HidApi {
public:
    static constexpr const char* kVendorNode = "/dev/hidraw7";
    static constexpr const char* kConsumerNode = "/dev/hidraw8";
    static constexpr const char* kStatusNode = "/dev/hidraw9";

    // What the fake shares with the test (the backend owns the fake itself).
    struct World {
        std::mutex mutex;
        std::condition_variable changed;
        bool plugged = true;
        std::set<std::string> unopenable;
        // Vendor and consumer on one node, as some firmware exposes them.
        bool sharedNode = false;
        // The write with this number (1-based, vendor node) finds the keyboard pulled out.
        int pullOutAtWrite = 0;
        int vendorWrites = 0;
        std::vector<std::pair<std::string, std::vector<std::uint8_t>>> writes;
        std::map<std::string, std::deque<std::vector<std::uint8_t>>> input;
        hidserv::SimKeyboard keyboard;
        int enumerations = 0;
        // Hotplug events: when on, the backend gets a watch; Plug() then sends one event.
        bool hotplug = false;
        int hotplugEvents = 0;
        bool interrupted = false;

        void PushInput(const std::string& node, std::vector<std::uint8_t> report);
    };

    explicit FakeHidApi(World& world) : world_(world) {}
    std::vector<hidserv::HidCollectionInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override;
    std::unique_ptr<hidserv::HidHandle> Open(const std::string& path) override;
    std::unique_ptr<hidserv::HotplugWatch> WatchHotplug(std::uint16_t vendorId, std::uint16_t productId) override;

private:
    World& world_;
};

}  // namespace qv::test
