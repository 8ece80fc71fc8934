// The seam's real side: hidapi's hidraw backend.
#include <hidapi.h>

#include "hidserv/hidapi/hid_api.h"

namespace qv::hidserv {
namespace {

class SystemHandle final : public HidHandle {
public:
    explicit SystemHandle(hid_device* device) : device_(device) {}
    ~SystemHandle() override { hid_close(device_); }
    int Write(const std::uint8_t* data, std::size_t length) override {
        return hid_write(device_, data, length);
    }
    int ReadTimeout(std::uint8_t* data, std::size_t capacity, int milliseconds) override {
        return hid_read_timeout(device_, data, capacity, milliseconds);
    }

private:
    hid_device* device_;
};

class SystemHidApi final : public HidApi {
public:
    SystemHidApi() { hid_init(); }
    std::vector<HidCollectionInfo> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override {
        std::vector<HidCollectionInfo> found;
        hid_device_info* list = hid_enumerate(vendorId, productId);
        for (const hid_device_info* d = list; d != nullptr; d = d->next) {
            if (d->path == nullptr) continue;
            found.push_back({d->path, d->vendor_id, d->product_id, d->usage_page, d->usage});
        }
        hid_free_enumeration(list);
        return found;
    }
    std::unique_ptr<HotplugWatch> WatchHotplug(std::uint16_t vendorId, std::uint16_t productId) override {
        return CreateUdevHotplugWatch(vendorId, productId);
    }
    std::unique_ptr<HidHandle> Open(const std::string& path) override {
        hid_device* device = hid_open_path(path.c_str());
        if (device == nullptr) return nullptr;
        return std::make_unique<SystemHandle>(device);
    }
};

}  // namespace

std::unique_ptr<HidApi> CreateSystemHidApi() { return std::make_unique<SystemHidApi>(); }

}  // namespace qv::hidserv
