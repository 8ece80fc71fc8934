// The twelve exported entry points. They pick the backend once at Init (simulated keyboard when
// QUORVANE_SIMULATE chooses it, hidapi when it is unset or empty, none for other values) and
// route each call to it.
#include "hidserv/hidserv.h"

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <memory>
#include <shared_mutex>

#include "hidserv/backend.h"
#include "hidserv/hidapi/hardware_backend.h"
#include "hidserv/listener_registry.h"
#include "hidserv/service_state.h"
#include "hidserv/sim/sim_backend.h"
#include "hidserv/sim/sim_faults.h"
#include "platform/simulate_setting.h"

namespace qv::hidserv {

ServiceState& Service() {
    // Never destroyed: the program never ends the service, and joining its threads from a static
    // destructor at exit (or in a forked child, where they do not exist) would hang.
    static ServiceState* const state = new ServiceState;
    return *state;
}

namespace {

std::unique_ptr<Backend> CreateBackend(ServiceState& state) {
    const char* simulate = std::getenv(qv::platform::kSimulateVariable);
    const qv::platform::SimulateSetting setting = qv::platform::ParseSimulateSetting(simulate);
    // A value we do not know starts nothing: guessing "simulated" or "real" would send the
    // user's changes to the keyboard they did not mean.
    if (setting == qv::platform::SimulateSetting::Invalid) {
        std::fprintf(stderr, "HidServ: %s\n", qv::platform::InvalidSimulateMessage(simulate).c_str());
        return nullptr;
    }
    if (setting != qv::platform::SimulateSetting::RealKeyboard) {
        std::filesystem::path statePath = SimBackend::DefaultStatePath();
        if (const char* path = std::getenv("QUORVANE_SIM_STATE"); path != nullptr && *path != '\0') {
            statePath = path;
        }
        // Nothing runs on a half-understood fault list.
        std::vector<ScheduledFault> faults;
        if (const char* list = std::getenv("QUORVANE_SIM_FAULTS"); list != nullptr) {
            std::string error;
            auto parsed = ParseFaultList(list, &error);
            if (!parsed) {
                std::fprintf(stderr, "HidServ: QUORVANE_SIM_FAULTS: %s; the simulated keyboard is not started\n",
                             error.c_str());
                return nullptr;
            }
            faults = std::move(*parsed);
        }
        const bool inaccessible = setting == qv::platform::SimulateSetting::Inaccessible;
        const bool attached = setting == qv::platform::SimulateSetting::Attached;
        auto sim = std::make_unique<SimBackend>(state.listeners, statePath, attached);
        sim->ScheduleFaults(faults);
        if (inaccessible) sim->SetInaccessible(true);
        state.sim = sim.get();
        return sim;
    }
    return CreateHardwareBackend(state.listeners);
}

// Runs `f` with the backend under the shared lock; `fallback` when the service is not running.
template <typename F>
int WithBackend(int fallback, F f) {
    ServiceState& state = Service();
    std::shared_lock lock(state.mutex);
    if (!state.backend) return fallback;
    return f(*state.backend);
}

}  // namespace
}  // namespace qv::hidserv

using namespace qv::hidserv;

extern "C" {

HIDSERV_EXPORT int Debug(int level) {
    Service().debugLevel = level;
    return 1;
}

HIDSERV_EXPORT int Init(int /*reserved*/) {
    ServiceState& state = Service();
    std::unique_lock lock(state.mutex);
    if (!state.backend) state.backend = CreateBackend(state);
    return state.backend ? 1 : 0;
}

HIDSERV_EXPORT int End(void) {
    ServiceState& state = Service();
    std::unique_ptr<Backend> backend;
    {
        std::unique_lock lock(state.mutex);
        backend = std::move(state.backend);
        state.sim = nullptr;
    }
    // Stopped outside the lock: its threads may be inside a callback that calls back in.
    backend.reset();
    state.listeners.Clear();
    return 1;
}

HIDSERV_EXPORT int RequestGetDeviceCount(const DeviceIdentity* identity, HidServCallback /*callback*/,
                                         ListenerTag /*tag*/, uint32_t* /*unitId*/) {
    if (CollectionOf(identity) == Collection::None) return 0;
    return WithBackend(0, [](Backend& b) { return b.DeviceCount(); });
}

HIDSERV_EXPORT int DeleteRequestFromUnitId(uint32_t unitId) {
    if (unitId == 0) return 0;
    return Service().listeners.Remove(unitId) ? 1 : 0;
}

HIDSERV_EXPORT int DeleteRequestFromHandle(void* /*handle*/) {
    // Requests are known by unit id only.
    return 0;
}

HIDSERV_EXPORT int RequestWriteOne(const DeviceIdentity* identity, HidServCallback /*callback*/,
                                   ListenerTag /*tag*/, const uint8_t* data, uint32_t length,
                                   uint32_t* /*unitId*/) {
    if (CollectionOf(identity) != Collection::Vendor || data == nullptr) return 0;
    return WithBackend(0, [&](Backend& b) { return b.WriteVendorReport(data, length) > 0 ? 1 : 0; });
}

HIDSERV_EXPORT int RequestWrite(const DeviceIdentity* identity, HidServCallback callback,
                                ListenerTag tag, const uint8_t* data, uint32_t length,
                                uint32_t* unitId) {
    // Several 64-byte reports in a row; stops at the first that is not sent.
    if (data == nullptr || length == 0) return 0;
    for (uint32_t at = 0; at < length; at += 64) {
        const uint32_t piece = length - at < 64 ? length - at : 64;
        if (RequestWriteOne(identity, callback, tag, data + at, piece, unitId) <= 0) return 0;
    }
    return 1;
}

HIDSERV_EXPORT int RequestStatusWrite(const DeviceIdentity* identity, HidServCallback callback,
                                      ListenerTag tag, const uint8_t* data, uint32_t length,
                                      uint32_t* unitId) {
    if (CollectionOf(identity) != Collection::Status || data == nullptr) return 0;
    const int sent = WithBackend(0, [&](Backend& b) { return b.WriteStatusReport(data, length); });
    if (unitId != nullptr) *unitId = Service().listeners.AddRequest(Collection::Status, callback, tag);
    return sent > 0 ? 1 : 0;
}

HIDSERV_EXPORT int RequestStatusGet(const DeviceIdentity* identity, HidServCallback /*callback*/,
                                    ListenerTag /*tag*/, uint8_t* data, uint32_t length,
                                    uint32_t* /*unitId*/) {
    if (CollectionOf(identity) != Collection::Status || data == nullptr) return 0;
    return WithBackend(0, [&](Backend& b) { return b.ReadStatusReport(data, length) > 0 ? 1 : 0; });
}

HIDSERV_EXPORT int RequestAsyncRead(const DeviceIdentity* identity, HidServCallback callback,
                                    ListenerTag tag, uint32_t* unitId) {
    const Collection collection = CollectionOf(identity);
    if (collection == Collection::None || callback == nullptr) return 0;
    const uint32_t id = Service().listeners.AddListener(collection, callback, tag);
    if (unitId != nullptr) *unitId = id;
    return 1;
}

HIDSERV_EXPORT int RequestStatusSetFeature(const DeviceIdentity* /*identity*/,
                                           HidServCallback /*callback*/, ListenerTag /*tag*/,
                                           const uint8_t* /*data*/, uint32_t /*length*/,
                                           uint32_t* /*unitId*/) {
    // The keyboard has no feature reports the program sets.
    return 0;
}

HIDSERV_EXPORT int HidServInaccessibleNodes(char* path, uint32_t capacity) {
    return WithBackend(0, [&](Backend& b) {
        std::string first;
        const int n = b.InaccessibleNodes(&first);
        if (path != nullptr && capacity > 0) {
            const std::size_t copied = std::min<std::size_t>(first.size(), capacity - 1);
            std::memcpy(path, first.data(), copied);
            path[copied] = '\0';
        }
        return n;
    });
}

HIDSERV_EXPORT int HidServSetAccessCallback(HidServAccessCallback callback, void* context) {
    return WithBackend(0, [&](Backend& b) {
        if (callback == nullptr) {
            b.SetAccessObserver(nullptr);
        } else {
            b.SetAccessObserver([callback, context](int n) { callback(n, context); });
        }
        return 1;
    });
}

}  // extern "C"
