#include "hidserv/hidapi/hardware_backend.h"

#include "hidserv/hidapi/hid_api.h"
#include "hidserv/hidapi/hidapi_backend.h"

namespace qv::hidserv {

std::unique_ptr<Backend> CreateHardwareBackend(ListenerRegistry& listeners) {
    return std::make_unique<HidapiBackend>(listeners, CreateSystemHidApi());
}

}  // namespace qv::hidserv
