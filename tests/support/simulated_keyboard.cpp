#include "support/simulated_keyboard.h"

#include <cstdlib>
#include <numeric>
#include <stdexcept>
#include <thread>

#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_matrix_codec.h"

namespace qv::test {

void RecordingClock::Sleep(std::chrono::milliseconds duration) {
    std::lock_guard lock(mutex_);
    sleeps_.push_back(static_cast<long>(duration.count()));
}

std::chrono::steady_clock::duration RecordingClock::WaitBudget(std::chrono::milliseconds nominal) {
    std::lock_guard lock(mutex_);
    waits_.push_back(static_cast<long>(nominal.count()));
    return std::min<std::chrono::steady_clock::duration>(nominal, realWaitNow ? realWaitNow() : realWait);
}

std::vector<long> RecordingClock::Sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
}

std::vector<long> RecordingClock::Waits() const {
    std::lock_guard lock(mutex_);
    return waits_;
}

long RecordingClock::NominalMilliseconds() const {
    std::lock_guard lock(mutex_);
    return std::accumulate(sleeps_.begin(), sleeps_.end(), 0L) +
           std::accumulate(waits_.begin(), waits_.end(), 0L);
}

void RecordingClock::Clear() {
    std::lock_guard lock(mutex_);
    sleeps_.clear();
    waits_.clear();
}

void ChooseSimulatedKeyboard() {
    ::setenv("QUORVANE_SIMULATE", "1", 1);
    // Never the user's own simulated keyboard.
    static TempDir stateDir;
    ::setenv("QUORVANE_SIM_STATE", (stateDir.path() / "initial.state").c_str(), 1);
}

SimulatedKeyboard::SimulatedKeyboard(bool attached) {
    ChooseSimulatedKeyboard();
    std::string error;
    link_ = device::DeviceLink::Open(QV_BIN_DIR, &error, clock_);
    if (!link_) throw std::runtime_error(error);
    sim_ = std::make_unique<hidserv::SimControl>(link_->Service().Handle());
    if (!sim_->Valid() || sim_->Reset(StateFile().string(), attached) != 1) {
        throw std::runtime_error("the HID service does not run the simulated keyboard");
    }
    link_->Start();
}

SimulatedKeyboard::~SimulatedKeyboard() {
    link_.reset();
    // Leave no latency or faults behind for the next test in this process.
    sim_->Reset("", false);
}

std::size_t SimulatedKeyboard::ReadLikeArrival() {
    KeyMatrix factory{};
    if (Commands().ReadDefaultKeyMatrix(factory) != device::kSuccess) return 0;
    SetDefaultKeyMatrix(factory);
    device::GlobalBlock global;
    if (Commands().ReadGlobalBlock(global) != device::kSuccess) return 0;
    return global.MacroCapacityBytes();
}

}  // namespace qv::test
