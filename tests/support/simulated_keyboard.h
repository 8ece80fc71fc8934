#pragma once
// The real libHidServ.so from the program folder, running the simulated keyboard, with a fresh
// state file per test; and an engine clock that records the nominal pauses and waits while
// waiting only briefly.

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "core/device/device_link.h"
#include "core/device/engine_clock.h"
#include "hidserv/sim_control_client.h"
#include "support/temp_dir.h"

namespace qv::test {

class RecordingClock final : public device::EngineClock {
public:
    void Sleep(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::duration WaitBudget(std::chrono::milliseconds nominal) override;

    std::vector<long> Sleeps() const;
    std::vector<long> Waits() const;
    // Sum of every nominal sleep and wait.
    long NominalMilliseconds() const;
    void Clear();

    // Real time allowed for a nominal answer wait; ample for the simulated keyboard.
    std::chrono::milliseconds realWait{40};
    // When set, decides the real wait instead (a test that knows which answers never come).
    std::function<std::chrono::milliseconds()> realWaitNow;

private:
    mutable std::mutex mutex_;
    std::vector<long> sleeps_;
    std::vector<long> waits_;
};

class SimulatedKeyboard {
public:
    // Chooses the simulated keyboard (before the library is first started in this process),
    // resets it onto a state file in a fresh folder and opens a started device link.
    explicit SimulatedKeyboard(bool attached = true);
    ~SimulatedKeyboard();

    device::DeviceLink& Link() { return *link_; }
    device::CommandSet& Commands() { return link_->Commands(); }
    const hidserv::SimControl& Sim() const { return *sim_; }
    RecordingClock& Clock() { return clock_; }
    std::filesystem::path StateFile() const { return dir_.path() / "keyboard.state"; }
    std::vector<std::array<std::uint8_t, 64>> Frames() const { return sim_->Frames(); }
    // What the presence worker reads on arrival: the factory matrix, made the process's, and the
    // macro capacity in bytes (0 when either read failed).
    std::size_t ReadLikeArrival();

private:
    TempDir dir_;
    RecordingClock clock_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<hidserv::SimControl> sim_;
};

// Selects the simulated keyboard for this process; call before any library use.
void ChooseSimulatedKeyboard();

}  // namespace qv::test
