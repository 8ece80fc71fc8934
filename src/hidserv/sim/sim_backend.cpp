#include "hidserv/sim/sim_backend.h"

#include <algorithm>
#include <cstdlib>

#include "protocol/report_frame.h"
#include "protocol/status_report.h"

namespace qv::hidserv {
namespace fr = qv::device::frame;
namespace {

// How long the loader stays: QUORVANE_SIM_LOADER_MS, else a little over a second.
std::chrono::milliseconds LoaderTime() {
    if (const char* text = std::getenv("QUORVANE_SIM_LOADER_MS"); text != nullptr && *text != '\0') {
        char* end = nullptr;
        const long ms = std::strtol(text, &end, 10);
        if (end != nullptr && *end == '\0' && ms >= 0 && ms <= 600000) return std::chrono::milliseconds(ms);
    }
    return std::chrono::milliseconds(1200);
}

}  // namespace

SimBackend::SimBackend(ListenerRegistry& listeners, std::filesystem::path statePath, bool attached)
    : listeners_(listeners),
      attached_(attached),
      vendorThread_([this](const DeliveryThread::Item& item) {
          if (item.presence) {
              listeners_.DeliverPresence(item.count);
          } else {
              listeners_.DeliverData(Collection::Vendor, item.bytes.data(),
                                     static_cast<std::size_t>(item.count));
          }
      }),
      consumerThread_([this](const DeliveryThread::Item& item) {
          listeners_.DeliverData(Collection::Consumer, item.bytes.data(),
                                 static_cast<std::size_t>(item.count));
      }) {
    std::lock_guard lock(mutex_);
    state_.emplace(std::move(statePath));
    LoadLocked();
}

SimBackend::~SimBackend() {
    std::lock_guard lock(mutex_);
    ReleaseMemoryLocked();
}

std::filesystem::path SimBackend::DefaultStatePath() {
    std::filesystem::path base;
    if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
        base = state;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::filesystem::path(home) / ".local" / "state";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / "quorvane" / "simulated-keyboard";
}

int SimBackend::DeviceCount() {
    std::lock_guard lock(mutex_);
    return attached_ ? 1 : 0;
}

void SimBackend::LogFrameLocked(const std::array<std::uint8_t, 64>& frame) {
    if (log_.size() < kLogCapacity) {
        log_.push_back(frame);
    } else {
        log_[frameCount_ % kLogCapacity] = frame;
    }
    ++frameCount_;
}

void SimBackend::LoadLocked() {
    // What this process had not stored yet is dropped, as nobody else has seen it.
    memoryHold_.reset();
    state_->Forget();
    memoryHold_.emplace(state_->Lock());
    lastMemoryUse_ = DeliveryThread::Clock::now();
    if (state_->Refresh(keyboard_) != SimStateFile::Refreshed::Loaded) keyboard_.ResetToFactory();
    // The factory state stays unstored until something changes it, as a new keyboard's flash is
    // written only when something is written to it.
    keyboard_.MarkSaved();
    memoryRelease_.Schedule(kLinger);
}

void SimBackend::TakeMemoryLocked() {
    lastMemoryUse_ = DeliveryThread::Clock::now();
    if (memoryHold_) return;
    memoryHold_.emplace(state_->Lock());
    state_->Refresh(keyboard_);
    memoryRelease_.Schedule(kLinger);
}

void SimBackend::ReleaseMemoryLocked() {
    if (!memoryHold_) return;
    if (keyboard_.Dirty()) state_->Store(keyboard_);
    memoryHold_.reset();
}

void SimBackend::ReleaseMemoryWhenIdle() {
    std::lock_guard lock(mutex_);
    if (!memoryHold_) return;
    const auto idle = DeliveryThread::Clock::now() - lastMemoryUse_;
    if (idle < kLinger) {
        memoryRelease_.Schedule(kLinger - idle);
        return;
    }
    ReleaseMemoryLocked();
}

void SimBackend::StoreOutsideGroupLocked() {
    if (keyboard_.Dirty() && keyboard_.ConfigDepth() == 0) state_->Store(keyboard_);
}

void SimBackend::DetachLocked() {
    if (inLoader_) {
        // Pulled out while in its loader: it is gone already and does not come back by itself.
        inLoader_ = false;
        loader_.Cancel();
        keyboard_.LeaveUpdateMode();
        return;
    }
    if (!attached_) return;
    heldAnswer_.reset();
    keyboard_.LeaveUpdateMode();
    LeaveLocked();
}

void SimBackend::EnterLoaderLocked() {
    inLoader_ = true;
    LeaveLocked();
    loader_.Schedule(LoaderTime());
}

void SimBackend::LeaveLocked() {
    attached_ = false;
    ReleaseMemoryLocked();
    vendorThread_.DropPending();
    consumerThread_.DropPending();
    DeliveryThread::Item gone;
    gone.due = DeliveryThread::Clock::now();
    gone.presence = true;
    gone.count = 0;
    vendorThread_.Push(gone);
}

void SimBackend::ReturnFromLoader() {
    std::lock_guard lock(mutex_);
    if (!inLoader_) return;
    inLoader_ = false;
    keyboard_.LeaveUpdateMode();
    attached_ = true;
    keyboard_.SetStatusReport(protocol::kInitialStatusReport);
    DeliveryThread::Item arrived;
    arrived.due = DeliveryThread::Clock::now();
    arrived.presence = true;
    arrived.count = 1;
    vendorThread_.Push(arrived);
}

int SimBackend::WriteVendorReport(const std::uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0 || length > fr::kSize) return -1;
    std::array<std::uint8_t, 64> frame{};
    std::copy_n(report, length, frame.begin());

    std::lock_guard lock(mutex_);
    LogFrameLocked(frame);
    if (!attached_) return -1;
    const std::optional<FaultKind> fault = faults_.At(++framesReceived_);
    if (fault == FaultKind::Disconnect) {
        DetachLocked();
        return -1;
    }
    if (heldAnswer_) {
        // A late answer to the previous frame arrives while this one is on its way.
        heldAnswer_->due = DeliveryThread::Clock::now() + latency_;
        vendorThread_.Push(*heldAnswer_);
        heldAnswer_.reset();
    }
    if (fault == FaultKind::NoAnswer) return static_cast<int>(fr::kSize);

    DeliveryThread::Item item;
    item.count = static_cast<int>(fr::kSize);
    std::span<std::uint8_t, 64> answer(item.bytes);
    bool answered = true;
    if (fault == FaultKind::StatusFF || fault == FaultKind::StatusFE) {
        SimKeyboard::RefusalAnswer(frame, fault == FaultKind::StatusFF ? fr::kStatusFF : fr::kStatusFE,
                                   answer);
    } else {
        const bool wasInUpdateMode = keyboard_.InUpdateMode();
        TakeMemoryLocked();
        answered = keyboard_.HandleFrame(frame, answer);
        StoreOutsideGroupLocked();
        if (!wasInUpdateMode && keyboard_.InUpdateMode()) EnterLoaderLocked();
    }
    if (!answered) return static_cast<int>(fr::kSize);
    item.due = DeliveryThread::Clock::now() + latency_;
    if (fault == FaultKind::WrongCommand || fault == FaultKind::ExtraAnswer) {
        DeliveryThread::Item stray = item;
        stray.bytes[fr::kCommand] = static_cast<std::uint8_t>(stray.bytes[fr::kCommand] ^ 0x80);
        fr::StoreChecksum(stray.bytes.data());
        if (fault == FaultKind::WrongCommand) {
            item = stray;
        } else {
            vendorThread_.Push(stray);
        }
    }
    if (fault == FaultKind::LateAnswer) {
        heldAnswer_ = item;
    } else {
        vendorThread_.Push(item);
    }
    return static_cast<int>(fr::kSize);
}

int SimBackend::WriteStatusReport(const std::uint8_t* status, std::size_t length) {
    if (status == nullptr || length == 0) return -1;
    std::lock_guard lock(mutex_);
    if (!attached_) return -1;
    const std::size_t taken = std::min(length, protocol::kStatusReportSize);
    keyboard_.SetStatusReport(std::span<const std::uint8_t>(status, taken));
    return static_cast<int>(taken);
}

int SimBackend::ReadStatusReport(std::uint8_t* out, std::size_t capacity) {
    if (out == nullptr) return -1;
    std::lock_guard lock(mutex_);
    if (!attached_) return -1;
    const auto status = keyboard_.StatusReport();
    const std::size_t n = std::min(capacity, status.size());
    std::copy_n(status.begin(), n, out);
    return static_cast<int>(n);
}

void SimBackend::Reset(const char* statePath, bool attached) {
    std::lock_guard lock(mutex_);
    vendorThread_.DropPending();
    consumerThread_.DropPending();
    memoryHold_.reset();
    if (statePath != nullptr) state_.emplace(statePath);
    inLoader_ = false;
    loader_.Cancel();
    LoadLocked();
    keyboard_.LeaveUpdateMode();
    attached_ = attached;
    inaccessible_ = false;
    faults_.Clear();
    heldAnswer_.reset();
    latency_ = std::chrono::microseconds{0};
    log_.clear();
    frameCount_ = 0;
}

void SimBackend::SetInaccessible(bool inaccessible) {
    std::function<void(int)> observer;
    {
        std::lock_guard lock(mutex_);
        if (inaccessible_ == inaccessible) return;
        inaccessible_ = inaccessible;
        observer = accessObserver_;
    }
    if (observer) observer(inaccessible ? 1 : 0);
}

int SimBackend::InaccessibleNodes(std::string* firstPath) {
    std::lock_guard lock(mutex_);
    if (firstPath != nullptr) *firstPath = inaccessible_ ? "/dev/hidraw-simulated" : "";
    return inaccessible_ ? 1 : 0;
}

void SimBackend::SetAccessObserver(std::function<void(int)> observer) {
    std::lock_guard lock(mutex_);
    accessObserver_ = std::move(observer);
}

void SimBackend::Attach(bool attached) {
    if (attached) SetInaccessible(false);
    std::lock_guard lock(mutex_);
    if (!attached) {
        DetachLocked();
        return;
    }
    if (attached_) return;
    // Plugged in again while in its loader: it comes back now, as itself.
    inLoader_ = false;
    loader_.Cancel();
    keyboard_.LeaveUpdateMode();
    attached_ = true;
    keyboard_.SetStatusReport(protocol::kInitialStatusReport);
    DeliveryThread::Item arrived;
    arrived.due = DeliveryThread::Clock::now();
    arrived.presence = true;
    arrived.count = 1;
    vendorThread_.Push(arrived);
}

bool SimBackend::SendConsumerCode(std::uint16_t code) {
    std::lock_guard lock(mutex_);
    if (!attached_) return false;
    DeliveryThread::Item report;
    report.due = DeliveryThread::Clock::now();
    report.count = 2;
    report.bytes[0] = static_cast<std::uint8_t>(code & 0xFF);
    report.bytes[1] = static_cast<std::uint8_t>(code >> 8);
    consumerThread_.Push(report);
    return true;
}

void SimBackend::SetLatency(std::chrono::microseconds latency) {
    std::lock_guard lock(mutex_);
    latency_ = latency;
}

bool SimBackend::InjectFault(int fault, std::uint32_t count) {
    static constexpr FaultKind kByNumber[] = {FaultKind::NoAnswer,   FaultKind::WrongCommand,
                                              FaultKind::StatusFF,   FaultKind::StatusFE,
                                              FaultKind::Disconnect, FaultKind::ExtraAnswer,
                                              FaultKind::LateAnswer};
    if (fault < 0 || fault >= static_cast<int>(std::size(kByNumber))) return false;
    const FaultKind kind = kByNumber[fault];
    std::lock_guard lock(mutex_);
    // A new count replaces what is left of the same kind.
    faults_.DropKind(kind);
    if (count == 0) return true;
    if (kind == FaultKind::Disconnect) {
        faults_.Add({kind, framesReceived_ + count, 1});
    } else {
        faults_.Add({kind, framesReceived_ + 1, count});
    }
    return true;
}

void SimBackend::ScheduleFaults(const std::vector<ScheduledFault>& faults) {
    std::lock_guard lock(mutex_);
    for (ScheduledFault f : faults) {
        f.frame += framesReceived_;
        faults_.Add(f);
    }
}

void SimBackend::ClearFaults() {
    std::lock_guard lock(mutex_);
    faults_.Clear();
    heldAnswer_.reset();
}

bool SimBackend::ReadMemory(int area, std::size_t offset, std::uint8_t* out, std::size_t length) {
    if (out == nullptr && length > 0) return false;
    std::lock_guard lock(mutex_);
    TakeMemoryLocked();
    return keyboard_.ReadArea(area, offset, std::span<std::uint8_t>(out, length));
}

bool SimBackend::WriteMemory(int area, std::size_t offset, const std::uint8_t* data,
                             std::size_t length) {
    if (data == nullptr && length > 0) return false;
    std::lock_guard lock(mutex_);
    TakeMemoryLocked();
    const bool written = keyboard_.WriteArea(area, offset, std::span<const std::uint8_t>(data, length));
    StoreOutsideGroupLocked();
    return written;
}

std::uint32_t SimBackend::FrameCount() {
    std::lock_guard lock(mutex_);
    return frameCount_;
}

bool SimBackend::FrameAt(std::uint32_t index, std::uint8_t* out) {
    if (out == nullptr) return false;
    std::lock_guard lock(mutex_);
    if (index >= frameCount_ || frameCount_ - index > log_.size()) return false;
    const auto& frame = log_.size() < kLogCapacity ? log_[index] : log_[index % kLogCapacity];
    std::copy(frame.begin(), frame.end(), out);
    return true;
}

void SimBackend::ClearFrameLog() {
    std::lock_guard lock(mutex_);
    log_.clear();
    frameCount_ = 0;
}

bool SimBackend::Save() {
    std::lock_guard lock(mutex_);
    TakeMemoryLocked();
    return state_->Store(keyboard_);
}

}  // namespace qv::hidserv
