#include "hidserv/hidapi/hardware_backend.h"

namespace qv::hidserv {
namespace {

// Placeholder until the hidapi backend lands: no keyboard is ever found.
class NoHardware final : public Backend {
public:
    int DeviceCount() override { return 0; }
    int WriteVendorReport(const std::uint8_t*, std::size_t) override { return -1; }
    int WriteStatusReport(const std::uint8_t*, std::size_t) override { return -1; }
    int ReadStatusReport(std::uint8_t*, std::size_t) override { return -1; }
};

}  // namespace

std::unique_ptr<Backend> CreateHardwareBackend(ListenerRegistry&) {
    return std::make_unique<NoHardware>();
}

}  // namespace qv::hidserv
