#include "core/device/engine_clock.h"

#include <thread>

namespace qv::device {
namespace {

class SystemClock final : public EngineClock {
public:
    void Sleep(std::chrono::milliseconds duration) override { std::this_thread::sleep_for(duration); }
    std::chrono::steady_clock::duration WaitBudget(std::chrono::milliseconds nominal) override {
        return nominal;
    }
};

}  // namespace

EngineClock& SystemEngineClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace qv::device
