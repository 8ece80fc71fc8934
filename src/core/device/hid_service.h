#pragma once
// The HID service library loaded at run time from the program folder, with its twelve entry
// points. The program ends quietly (exit code 0) when it cannot be used; quorvanectl reports why.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "hidserv/hidserv.h"

namespace qv::device {

inline constexpr const char* kHidServiceFileName = "libHidServ.so";

// The identities of the keyboard's three collections.
DeviceIdentity VendorIdentity();
DeviceIdentity ConsumerIdentity();
DeviceIdentity StatusIdentity();

class HidService {
public:
    // Loads `folder`/libHidServ.so and all twelve entry points, then calls Init. nullptr with a
    // one-line reason when the library, a symbol or Init fails.
    static std::unique_ptr<HidService> Load(const std::filesystem::path& folder, std::string* error);
    // The program's way: any failure ends the process at once with exit code 0 and no message.
    static std::unique_ptr<HidService> LoadOrExit(const std::filesystem::path& folder);

    ~HidService();
    HidService(const HidService&) = delete;
    HidService& operator=(const HidService&) = delete;

    // The library handle, for looking up extra exports (the simulated keyboard's control calls).
    void* Handle() const { return handle_; }

    int DeviceCount(const DeviceIdentity& identity) const;
    int DeleteRequestFromUnitId(std::uint32_t unitId) const;
    int WriteOne(const DeviceIdentity& identity, const std::uint8_t* data, std::uint32_t length) const;
    int StatusWrite(const DeviceIdentity& identity, HidServCallback callback, ListenerTag tag,
                    const std::uint8_t* data, std::uint32_t length, std::uint32_t* unitId) const;
    int AsyncRead(const DeviceIdentity& identity, HidServCallback callback, ListenerTag tag,
                  std::uint32_t* unitId) const;

    // Keyboard nodes that are plugged in but cannot be opened, with the first one's path; 0 when
    // the library cannot tell. Not one of the twelve: looked up when asked, never required.
    int InaccessibleNodes(std::string* firstPath = nullptr) const;
    // `handler` runs on a library thread whenever that number changes; false when the library
    // cannot tell. The handler lives as long as this object.
    bool SetAccessHandler(std::function<void(int)> handler);

    struct EntryPoints {
        HidServDebugFn debug = nullptr;
        HidServInitFn init = nullptr;
        HidServEndFn end = nullptr;
        HidServCountFn requestGetDeviceCount = nullptr;
        HidServDeleteUnitFn deleteRequestFromUnitId = nullptr;
        HidServDeleteHandleFn deleteRequestFromHandle = nullptr;
        HidServWriteFn requestWrite = nullptr;
        HidServWriteFn requestWriteOne = nullptr;
        HidServWriteFn requestStatusWrite = nullptr;
        HidServStatusGetFn requestStatusGet = nullptr;
        HidServAsyncReadFn requestAsyncRead = nullptr;
        HidServWriteFn requestStatusSetFeature = nullptr;
    };
    const EntryPoints& Entries() const { return entries_; }

private:
    HidService(void* handle, const EntryPoints& entries) : handle_(handle), entries_(entries) {}

    void* handle_;
    EntryPoints entries_;
    std::function<void(int)> accessHandler_;
};

}  // namespace qv::device
