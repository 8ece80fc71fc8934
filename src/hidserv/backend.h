#pragma once
// What the exported entry points need from a keyboard backend (real hidapi or simulated).

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "hidserv/hidserv.h"

namespace qv::hidserv {

enum class Collection { Vendor, Consumer, Status, None };

// The collection an identity names; None for another device or usage.
Collection CollectionOf(const DeviceIdentity* identity);

class Backend {
public:
    virtual ~Backend() = default;
    // Keyboards present now.
    virtual int DeviceCount() = 0;
    // One output report to the vendor collection (64 bytes, report id first) or the 2-byte
    // status report; above 0 when sent.
    virtual int WriteVendorReport(const std::uint8_t* report, std::size_t length) = 0;
    virtual int WriteStatusReport(const std::uint8_t* status, std::size_t length) = 0;
    // The last status report written; the byte count or -1.
    virtual int ReadStatusReport(std::uint8_t* out, std::size_t capacity) = 0;
    // Device nodes of the keyboard that are present but cannot be opened (permissions), with the
    // first one's path; and who to tell, from a library thread, when that number changes.
    virtual int InaccessibleNodes(std::string* /*firstPath*/) { return 0; }
    virtual void SetAccessObserver(std::function<void(int)> /*observer*/) {}
};

}  // namespace qv::hidserv
