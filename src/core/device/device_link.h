#pragma once
// The device link put together the way the program and quorvanectl use it: the HID service
// library, the request engine, the input listener and the command set over them.

#include <filesystem>
#include <memory>
#include <string>

#include "core/device/command_set.h"
#include "core/device/engine_clock.h"
#include "core/device/hid_service.h"
#include "core/device/input_listener.h"
#include "core/device/request_engine.h"

namespace qv::device {

class DeviceLink {
public:
    // Loads and starts libHidServ.so from `folder`. The listeners are not registered yet, so
    // handlers can be set first; call Start. nullptr with a reason when the library is unusable.
    static std::unique_ptr<DeviceLink> Open(const std::filesystem::path& folder, std::string* error,
                                            EngineClock& clock = SystemEngineClock());

    // Registers the listeners (see InputListener::Start).
    void Start() { listener_.Start(); }

    HidService& Service() { return *service_; }
    RequestEngine& Engine() { return engine_; }
    InputListener& Listener() { return listener_; }
    CommandSet& Commands() { return commands_; }
    int KeyboardCount() const { return service_->DeviceCount(VendorIdentity()); }

    explicit DeviceLink(std::unique_ptr<HidService> service, EngineClock& clock);

private:
    std::unique_ptr<HidService> service_;
    RequestEngine engine_;
    InputListener listener_;
    CommandSet commands_;
};

}  // namespace qv::device
