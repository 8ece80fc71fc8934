#include "core/device/device_link.h"

namespace qv::device {

DeviceLink::DeviceLink(std::unique_ptr<HidService> service, EngineClock& clock)
    : service_(std::move(service)), engine_(*service_, clock), listener_(*service_, engine_),
      commands_(engine_) {}

std::unique_ptr<DeviceLink> DeviceLink::Open(const std::filesystem::path& folder, std::string* error,
                                             EngineClock& clock) {
    auto service = HidService::Load(folder, error);
    if (!service) return nullptr;
    return std::make_unique<DeviceLink>(std::move(service), clock);
}

}  // namespace qv::device
