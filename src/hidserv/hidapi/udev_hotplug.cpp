// Hotplug events from udev: a monitor on the hidraw subsystem, after udev has applied its rules
// (so a node announced here already carries the permissions the rule gives it).
#include <libudev.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>

#include "hidserv/hidapi/hid_api.h"

namespace qv::hidserv {
namespace {

class UdevHotplugWatch final : public HotplugWatch {
public:
    UdevHotplugWatch(udev* context, udev_monitor* monitor, int wakeFd, std::uint16_t vendorId,
                     std::uint16_t productId)
        : udev_(context), monitor_(monitor), wakeFd_(wakeFd) {
        char id[32];
        // The HID_ID property of the hid parent: bus, vendor and product in hex.
        std::snprintf(id, sizeof id, ":%08X:%08X", static_cast<unsigned>(vendorId),
                      static_cast<unsigned>(productId));
        hidId_ = id;
    }
    ~UdevHotplugWatch() override {
        udev_monitor_unref(monitor_);
        udev_unref(udev_);
        ::close(wakeFd_);
    }

    bool Wait(std::chrono::milliseconds timeout) override {
        pollfd fds[2] = {{udev_monitor_get_fd(monitor_), POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int n = ::poll(fds, 2, static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, timeout.count())));
        if (n <= 0) return false;
        bool relevant = false;
        if ((fds[1].revents & POLLIN) != 0) {
            std::uint64_t count = 0;
            if (::read(wakeFd_, &count, sizeof count) < 0) {
                // Nothing to recover: the wake-up was seen either way.
            }
            relevant = true;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            // Drain what is queued; one rescan covers them all.
            while (udev_device* device = udev_monitor_receive_device(monitor_)) {
                relevant = relevant || Matches(device);
                udev_device_unref(device);
            }
        }
        return relevant;
    }

    void Interrupt() override {
        const std::uint64_t one = 1;
        if (::write(wakeFd_, &one, sizeof one) < 0) {
            // The counter is full: a wake-up is pending anyway.
        }
    }

private:
    bool Matches(udev_device* device) const {
        const char* action = udev_device_get_action(device);
        // A node that goes away has no hid parent left to ask; the rescan tells whether it was
        // the keyboard's.
        if (action != nullptr && std::strcmp(action, "remove") == 0) return true;
        udev_device* hid = udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
        if (hid == nullptr) return true;
        const char* id = udev_device_get_property_value(hid, "HID_ID");
        if (id == nullptr) return true;
        std::string upper(id);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return upper.find(hidId_) != std::string::npos;
    }

    udev* udev_;
    udev_monitor* monitor_;
    int wakeFd_;
    std::string hidId_;
};

}  // namespace

std::unique_ptr<HotplugWatch> CreateUdevHotplugWatch(std::uint16_t vendorId, std::uint16_t productId) {
    udev* context = udev_new();
    if (context == nullptr) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (monitor == nullptr || wakeFd < 0 ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor != nullptr) udev_monitor_unref(monitor);
        if (wakeFd >= 0) ::close(wakeFd);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<UdevHotplugWatch>(context, monitor, wakeFd, vendorId, productId);
}

}  // namespace qv::hidserv
