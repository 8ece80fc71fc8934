// QUORVANE_SIM_FAULTS comes from the environment: any text must parse or be refused with a
// reason, and whatever parses must mean what it says.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "hidserv/sim/sim_faults.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv::hidserv;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto list = ParseFaultList(text, &error);
    if (!list) {
        if (error.empty()) std::abort();
        return 0;
    }
    FaultPlan plan;
    for (const ScheduledFault& f : *list) {
        if (f.frame == 0 || f.count == 0) std::abort();
        plan.Add(f);
    }
    for (const ScheduledFault& f : *list) {
        if (!plan.At(f.frame)) std::abort();
    }
    return 0;
}
