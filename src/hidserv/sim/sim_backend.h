#pragma once
// The simulated keyboard as a backend of the service library: a SimKeyboard behind the vendor,
// consumer and status collections, answers delivered from its own threads after a settable
// latency, faults injected by the control interface, memory kept in a state file.
//
// Memory is the keyboard's, shared by every process of the user through the state file
// (SimStateFile). This process holds the file's lock from the first frame or control call on
// memory of a burst until kLinger passes without one: it reads the file again when it takes the
// lock and stores what changed before it lets go, so no process works on memory older than
// another's or writes over another's change. Within the hold, changes are stored like the
// keyboard's flash is written: when a config group closes, and at once outside any group.
// The rest is this process's view of the keyboard: whether it is plugged in (its loader, its
// inaccessible nodes), the status report, which a real keyboard forgets when unplugged, faults,
// latency and the frame log.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <vector>

#include "hidserv/backend.h"
#include "hidserv/listener_registry.h"
#include "hidserv/sim/delivery_thread.h"
#include "hidserv/sim/due_call.h"
#include "hidserv/sim/sim_faults.h"
#include "hidserv/sim/sim_keyboard.h"
#include "hidserv/sim/sim_state_file.h"

namespace qv::hidserv {

class SimBackend final : public Backend {
public:
    SimBackend(ListenerRegistry& listeners, std::filesystem::path statePath, bool attached);
    ~SimBackend() override;

    int DeviceCount() override;
    int WriteVendorReport(const std::uint8_t* report, std::size_t length) override;
    int WriteStatusReport(const std::uint8_t* status, std::size_t length) override;
    int ReadStatusReport(std::uint8_t* out, std::size_t capacity) override;

    // Plugged in but its nodes refuse to open, until it is attached (the rule was installed and
    // the keyboard replugged).
    void SetInaccessible(bool inaccessible);
    int InaccessibleNodes(std::string* firstPath) override;
    void SetAccessObserver(std::function<void(int)> observer) override;

    // Control interface (sim_control.h).
    void Reset(const char* statePath, bool attached);
    void Attach(bool attached);
    bool SendConsumerCode(std::uint16_t code);
    void SetLatency(std::chrono::microseconds latency);
    bool InjectFault(int fault, std::uint32_t count);
    // Faults by frame number counted from the next frame (1 = the next one).
    void ScheduleFaults(const std::vector<ScheduledFault>& faults);
    void ClearFaults();
    bool ReadMemory(int area, std::size_t offset, std::uint8_t* out, std::size_t length);
    bool WriteMemory(int area, std::size_t offset, const std::uint8_t* data, std::size_t length);
    std::uint32_t FrameCount();
    bool FrameAt(std::uint32_t index, std::uint8_t* out);
    void ClearFrameLog();
    bool Save();

    // The default state file: $XDG_STATE_HOME (or ~/.local/state) /quorvane/simulated-keyboard.
    static std::filesystem::path DefaultStatePath();

private:
    static constexpr std::size_t kLogCapacity = 16384;
    // Long enough to span the gaps between the frames of one download, short enough that another
    // process never notices the wait.
    static constexpr std::chrono::milliseconds kLinger{10};

    void DetachLocked();
    // The update-mode frame: the keyboard leaves for its firmware loader and comes back later
    // with its memory as it was.
    void EnterLoaderLocked();
    // The keyboard leaves: its memory saved, pending reports dropped, presence 0 announced.
    void LeaveLocked();
    void ReturnFromLoader();
    // Memory as the state file holds it, for this process until it lets go.
    void TakeMemoryLocked();
    // Stores what changed and lets the state file go.
    void ReleaseMemoryLocked();
    void ReleaseMemoryWhenIdle();
    void StoreOutsideGroupLocked();
    // Starts over from the state file, or from the factory state when it holds no keyboard.
    void LoadLocked();
    void LogFrameLocked(const std::array<std::uint8_t, 64>& frame);

    ListenerRegistry& listeners_;
    std::mutex mutex_;
    SimKeyboard keyboard_;
    std::optional<SimStateFile> state_;
    std::optional<SimStateFile::Hold> memoryHold_;
    DeliveryThread::Clock::time_point lastMemoryUse_{};
    bool attached_;
    bool inLoader_ = false;
    bool inaccessible_ = false;
    std::function<void(int)> accessObserver_;
    FaultPlan faults_;
    std::uint32_t framesReceived_ = 0;  // since start; fault frame numbers count on it
    std::optional<DeliveryThread::Item> heldAnswer_;  // a late answer waiting for the next frame
    std::chrono::microseconds latency_{0};
    std::vector<std::array<std::uint8_t, 64>> log_;
    std::uint32_t frameCount_ = 0;
    // Last members: their threads stop first on destruction.
    DeliveryThread vendorThread_;
    DeliveryThread consumerThread_;
    DueCall loader_{[this] { ReturnFromLoader(); }};
    DueCall memoryRelease_{[this] { ReleaseMemoryWhenIdle(); }};
};

}  // namespace qv::hidserv
