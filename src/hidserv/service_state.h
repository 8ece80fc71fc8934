#pragma once
// The service library's process-wide state: the backend chosen at Init and the registered
// requests. Entry points hold the lock shared; Init and End hold it exclusively.

#include <atomic>
#include <memory>
#include <shared_mutex>

#include "hidserv/backend.h"
#include "hidserv/listener_registry.h"

namespace qv::hidserv {

class SimBackend;

struct ServiceState {
    std::shared_mutex mutex;
    std::unique_ptr<Backend> backend;
    SimBackend* sim = nullptr;  // the backend, when it is the simulated keyboard
    ListenerRegistry listeners;
    std::atomic<int> debugLevel{0};
};

ServiceState& Service();

}  // namespace qv::hidserv
