#pragma once
// The few hidapi calls the hardware backend makes, behind a seam so its own logic (collection
// matching, reader threads, presence, a keyboard pulled out mid-transfer) is tested with a fake.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qv::hidserv {

struct HidCollectionInfo {
    std::string path;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;
    std::uint16_t usage = 0;
};

// An open device node; closed when destroyed.
class HidHandle {
public:
    virtual ~HidHandle() = default;
    // Output report, report id first. Bytes written, or -1.
    virtual int Write(const std::uint8_t* data, std::size_t length) = 0;
    // Input report within `milliseconds`: bytes read, 0 on time-out, -1 when the device is gone.
    virtual int ReadTimeout(std::uint8_t* data, std::size_t capacity, int milliseconds) = 0;
};

// Tells the backend that device nodes of the keyboard came, went or changed (udev events), so
// presence follows the system's events instead of enumerating the bus every half second.
class HotplugWatch {
public:
    virtual ~HotplugWatch() = default;
    // Waits up to `timeout`; true when an event for the keyboard arrived or Interrupt was called.
    virtual bool Wait(std::chrono::milliseconds timeout) = 0;
    // Ends a Wait in progress at once (and the next one, if none is in progress).
    virtual void Interrupt() = 0;
};

class HidApi {
public:
    virtual ~HidApi() = default;
    // nullptr when the system offers no events; the backend then polls.
    virtual std::unique_ptr<HotplugWatch> WatchHotplug(std::uint16_t /*vendorId*/, std::uint16_t /*productId*/) {
        return nullptr;
    }
    virtual std::vector<HidCollectionInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // nullptr when the node cannot be opened (typically its permissions).
    virtual std::unique_ptr<HidHandle> Open(const std::string& path) = 0;
};

// The real calls (hidapi over hidraw).
std::unique_ptr<HidApi> CreateSystemHidApi();
// libudev's monitor of hidraw nodes of this vendor/product; nullptr when it cannot be set up.
std::unique_ptr<HotplugWatch> CreateUdevHotplugWatch(std::uint16_t vendorId, std::uint16_t productId);

}  // namespace qv::hidserv
