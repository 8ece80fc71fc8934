#include "core/device/hid_service.h"

#include <dlfcn.h>

#include <cstdlib>

namespace qv::device {
namespace {

DeviceIdentity Identity(std::uint16_t page, std::uint16_t usage) {
    return DeviceIdentity{HIDSERV_IDENTITY_FLAGS, HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, page, usage, 0};
}

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& out, std::string* error) {
    void* symbol = ::dlsym(handle, name);
    if (symbol == nullptr) {
        if (error != nullptr) *error = std::string("the HID service has no entry point ") + name;
        return false;
    }
    out = reinterpret_cast<Fn>(symbol);
    return true;
}

}  // namespace

DeviceIdentity VendorIdentity() { return Identity(HIDSERV_VENDOR_PAGE, HIDSERV_VENDOR_USAGE); }
DeviceIdentity ConsumerIdentity() { return Identity(HIDSERV_CONSUMER_PAGE, HIDSERV_CONSUMER_USAGE); }
DeviceIdentity StatusIdentity() { return Identity(HIDSERV_STATUS_PAGE, HIDSERV_STATUS_USAGE); }

std::unique_ptr<HidService> HidService::Load(const std::filesystem::path& folder, std::string* error) {
    const std::filesystem::path file = folder / kHidServiceFileName;
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        if (error != nullptr) *error = "cannot load the HID service " + file.string();
        return nullptr;
    }
    EntryPoints e;
    const bool all = Resolve(handle, "Debug", e.debug, error) && Resolve(handle, "Init", e.init, error) &&
                     Resolve(handle, "End", e.end, error) &&
                     Resolve(handle, "RequestGetDeviceCount", e.requestGetDeviceCount, error) &&
                     Resolve(handle, "DeleteRequestFromUnitId", e.deleteRequestFromUnitId, error) &&
                     Resolve(handle, "DeleteRequestFromHandle", e.deleteRequestFromHandle, error) &&
                     Resolve(handle, "RequestWrite", e.requestWrite, error) &&
                     Resolve(handle, "RequestWriteOne", e.requestWriteOne, error) &&
                     Resolve(handle, "RequestStatusWrite", e.requestStatusWrite, error) &&
                     Resolve(handle, "RequestStatusGet", e.requestStatusGet, error) &&
                     Resolve(handle, "RequestAsyncRead", e.requestAsyncRead, error) &&
                     Resolve(handle, "RequestStatusSetFeature", e.requestStatusSetFeature, error);
    if (!all) {
        ::dlclose(handle);
        return nullptr;
    }
    if (e.init(0) <= 0) {
        if (error != nullptr) *error = "the HID service did not start";
        ::dlclose(handle);
        return nullptr;
    }
    return std::unique_ptr<HidService>(new HidService(handle, e));
}

std::unique_ptr<HidService> HidService::LoadOrExit(const std::filesystem::path& folder) {
    auto service = Load(folder, nullptr);
    if (!service) std::exit(0);
    return service;
}

// The library stays loaded: its threads may still run callbacks into the program, and the
// program never tells it to end.
HidService::~HidService() {
    // The library outlives this object; it must not call back into it.
    if (accessHandler_) {
        if (auto set = reinterpret_cast<HidServSetAccessCallbackFn>(::dlsym(handle_, "HidServSetAccessCallback"))) {
            set(nullptr, nullptr);
        }
    }
}

int HidService::DeviceCount(const DeviceIdentity& identity) const {
    return entries_.requestGetDeviceCount(&identity, nullptr, 0, nullptr);
}

int HidService::DeleteRequestFromUnitId(std::uint32_t unitId) const {
    return entries_.deleteRequestFromUnitId(unitId);
}

int HidService::WriteOne(const DeviceIdentity& identity, const std::uint8_t* data,
                         std::uint32_t length) const {
    return entries_.requestWriteOne(&identity, nullptr, 0, data, length, nullptr);
}

int HidService::StatusWrite(const DeviceIdentity& identity, HidServCallback callback, ListenerTag tag,
                            const std::uint8_t* data, std::uint32_t length,
                            std::uint32_t* unitId) const {
    return entries_.requestStatusWrite(&identity, callback, tag, data, length, unitId);
}

int HidService::AsyncRead(const DeviceIdentity& identity, HidServCallback callback, ListenerTag tag,
                          std::uint32_t* unitId) const {
    return entries_.requestAsyncRead(&identity, callback, tag, unitId);
}

}  // namespace qv::device

namespace qv::device {

int HidService::InaccessibleNodes(std::string* firstPath) const {
    auto query = reinterpret_cast<HidServInaccessibleNodesFn>(::dlsym(handle_, "HidServInaccessibleNodes"));
    if (query == nullptr) return 0;
    char path[256] = {};
    const int n = query(path, sizeof path);
    if (firstPath != nullptr) *firstPath = path;
    return n;
}

bool HidService::SetAccessHandler(std::function<void(int)> handler) {
    auto set = reinterpret_cast<HidServSetAccessCallbackFn>(::dlsym(handle_, "HidServSetAccessCallback"));
    if (set == nullptr) return false;
    accessHandler_ = std::move(handler);
    return set(
               [](int nodes, void* context) {
                   auto* self = static_cast<HidService*>(context);
                   if (self->accessHandler_) self->accessHandler_(nodes);
               },
               this) == 1;
}

}  // namespace qv::device
