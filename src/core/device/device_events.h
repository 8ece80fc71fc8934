#pragma once
// The input side of the device link started as the main window does it: consumer codes and
// presence changes wired to the listener, the listeners registered, and a first presence worker
// for the keyboards present at start. Destroy it before the DeviceLink it uses.

#include "core/device/consumer_codes.h"
#include "core/device/device_link.h"
#include "core/device/main_window_link.h"
#include "core/device/presence_worker.h"

namespace qv::device {

class DeviceEvents {
public:
    DeviceEvents(DeviceLink& link, MainWindowLink& window);
    ~DeviceEvents();
    DeviceEvents(const DeviceEvents&) = delete;
    DeviceEvents& operator=(const DeviceEvents&) = delete;

    // Registers the listeners, asks for the keyboard count and starts a worker with it; with no
    // keyboard the auto-open flag is set, so a keyboard attached later does not open the window.
    void Start();

    PresenceWorker& Presence() { return presence_; }
    ConsumerCodes& Codes() { return codes_; }

private:
    DeviceLink& link_;
    MainWindowLink& window_;
    PresenceWorker presence_;
    ConsumerCodes codes_;
};

}  // namespace qv::device
