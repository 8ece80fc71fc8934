#pragma once
// The few hidapi calls the hardware backend makes, behind a seam so its own logic (collection
// matching, reader threads, presence, a keyboard pulled out mid-transfer) is tested with a fake.

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

class HidApi {
public:
    virtual ~HidApi() = default;
    virtual std::vector<HidCollectionInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) = 0;
    // nullptr when the node cannot be opened (typically its permissions).
    virtual std::unique_ptr<HidHandle> Open(const std::string& path) = 0;
};

// The real calls (hidapi over hidraw).
std::unique_ptr<HidApi> CreateSystemHidApi();

}  // namespace qv::hidserv
