// The exported control interface of the simulated keyboard (sim_control.h).
#include "hidserv/sim_control.h"

#include <chrono>
#include <mutex>
#include <shared_mutex>

#include "hidserv/service_state.h"
#include "hidserv/sim/sim_backend.h"

namespace qv::hidserv {
namespace {

template <typename F>
int WithSim(F f) {
    ServiceState& state = Service();
    std::shared_lock lock(state.mutex);
    if (state.sim == nullptr) return -1;
    return f(*state.sim);
}

}  // namespace
}  // namespace qv::hidserv

using namespace qv::hidserv;

#define QV_SIM_EXPORT __attribute__((visibility("default")))

extern "C" {

QV_SIM_EXPORT int QvSimReset(const char* statePath, int attached) {
    return WithSim([&](SimBackend& s) { s.Reset(statePath, attached != 0); return 1; });
}

QV_SIM_EXPORT int QvSimAttach(int attached) {
    return WithSim([&](SimBackend& s) { s.Attach(attached != 0); return 1; });
}

QV_SIM_EXPORT int QvSimSetInaccessible(int inaccessible) {
    return WithSim([&](SimBackend& s) {
        if (inaccessible != 0) s.Attach(false);
        s.SetInaccessible(inaccessible != 0);
        return 1;
    });
}

QV_SIM_EXPORT int QvSimSendConsumerCode(uint16_t code) {
    return WithSim([&](SimBackend& s) { return s.SendConsumerCode(code) ? 1 : 0; });
}

QV_SIM_EXPORT int QvSimSetLatencyMicroseconds(uint32_t microseconds) {
    return WithSim([&](SimBackend& s) {
        s.SetLatency(std::chrono::microseconds(microseconds));
        return 1;
    });
}

QV_SIM_EXPORT int QvSimInjectFault(int fault, uint32_t count) {
    return WithSim([&](SimBackend& s) { return s.InjectFault(fault, count) ? 1 : 0; });
}

QV_SIM_EXPORT int QvSimScheduleFaults(const char* list) {
    if (list == nullptr) return 0;
    const auto faults = ParseFaultList(list, nullptr);
    if (!faults) return 0;
    return WithSim([&](SimBackend& s) { s.ScheduleFaults(*faults); return 1; });
}

QV_SIM_EXPORT int QvSimClearFaults(void) {
    return WithSim([](SimBackend& s) { s.ClearFaults(); return 1; });
}

QV_SIM_EXPORT int QvSimReadMemory(int area, uint32_t offset, uint8_t* out, uint32_t length) {
    return WithSim([&](SimBackend& s) { return s.ReadMemory(area, offset, out, length) ? 1 : 0; });
}

QV_SIM_EXPORT int QvSimWriteMemory(int area, uint32_t offset, const uint8_t* data, uint32_t length) {
    return WithSim([&](SimBackend& s) { return s.WriteMemory(area, offset, data, length) ? 1 : 0; });
}

QV_SIM_EXPORT uint32_t QvSimFrameCount(void) {
    const int n = WithSim([](SimBackend& s) { return static_cast<int>(s.FrameCount()); });
    return n < 0 ? 0u : static_cast<uint32_t>(n);
}

QV_SIM_EXPORT int QvSimFrameAt(uint32_t index, uint8_t out[64]) {
    return WithSim([&](SimBackend& s) { return s.FrameAt(index, out) ? 1 : 0; });
}

QV_SIM_EXPORT int QvSimClearFrameLog(void) {
    return WithSim([](SimBackend& s) { s.ClearFrameLog(); return 1; });
}

QV_SIM_EXPORT int QvSimSave(void) {
    return WithSim([](SimBackend& s) { return s.Save() ? 1 : 0; });
}

}  // extern "C"
