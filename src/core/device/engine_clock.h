#pragma once
// Time as the request engine sees it: its pauses and how long it really waits for an answer.
// Tests substitute a clock that records the nominal times and waits only briefly.

#include <chrono>

namespace qv::device {

class EngineClock {
public:
    virtual ~EngineClock() = default;
    virtual void Sleep(std::chrono::milliseconds duration) = 0;
    // The real time to wait for an answer the engine allows `nominal` for.
    virtual std::chrono::steady_clock::duration WaitBudget(std::chrono::milliseconds nominal) = 0;
};

// Real time.
EngineClock& SystemEngineClock();

}  // namespace qv::device
