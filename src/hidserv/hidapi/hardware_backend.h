#pragma once
// The backend for real keyboards (hidapi over hidraw).

#include <memory>

#include "hidserv/backend.h"
#include "hidserv/listener_registry.h"

namespace qv::hidserv {

std::unique_ptr<Backend> CreateHardwareBackend(ListenerRegistry& listeners);

}  // namespace qv::hidserv
