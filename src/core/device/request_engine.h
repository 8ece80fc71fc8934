#pragma once
// Sends one 64-byte frame on the vendor collection and waits for its answer, which the vendor
// listener hands over from a library thread. One exchange at a time: a lock around the whole
// exchange takes the place of the in-flight flag's 1001 ms pause, so two callers never share the
// single reply slot. The lock is always released on return (and an exchange is bounded at about
// 3 s), so an abandoned exchange cannot hold up later ones for long; a caller that still cannot
// get it within 10 s gets 0 ("waiting failed").

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "core/device/command_set.h"
#include "core/device/engine_clock.h"
#include "core/device/hid_service.h"

namespace qv::device {

// "sent: 04 21 00 ..." : a frame as the frame trace prints it, every byte in hex.
std::string DescribeFrameBytes(std::string_view label, const std::uint8_t* bytes, std::size_t length);

class RequestEngine final : public Exchanger {
public:
    static constexpr std::chrono::milliseconds kAnswerWait{1000};
    static constexpr std::chrono::milliseconds kRetryPause{10};
    static constexpr int kAttempts = 3;
    static constexpr std::chrono::seconds kLockWait{10};

    explicit RequestEngine(const HidService& service, EngineClock& clock = SystemEngineClock());

    int ExchangeReport(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
                       std::size_t answerCapacity, std::size_t* received) override;
    int SendReportNoReply(const std::uint8_t* frame, std::size_t length) override;
    void Pause(std::chrono::milliseconds duration) override { clock_.Sleep(duration); }

    // The vendor listener's hand-over: while an exchange is in flight the first report of the
    // attempt (cut to the slot's capacity) goes into the slot and wakes the caller; otherwise it
    // is dropped.
    void DeliverReply(const std::uint8_t* report, std::size_t length);

    // Where each frame written and each answer taken goes as one line ("sent: 04 21 ..."):
    // `sink` when set, else the diagnostic trace when QUORVANE_TRACE is set. Set it before
    // exchanges run.
    using FrameSink = std::function<void(std::string_view line)>;
    void SetFrameSink(FrameSink sink) { frameSink_ = std::move(sink); }
    // Nothing in flight (start, and after the listener was registered again).
    void Reset();
    bool InFlight() const;

private:
    void TraceFrame(const char* label, const std::uint8_t* bytes, std::size_t length) const;
    FrameSink frameSink_;
    const HidService& service_;
    EngineClock& clock_;
    const DeviceIdentity vendor_;
    // Held for a whole exchange (a flag under a mutex rather than a timed mutex, whose timed
    // lock the thread sanitizer cannot follow).
    bool TakeExchange();
    void ReleaseExchange();
    std::mutex exchangeMutex_;
    std::condition_variable exchangeFree_;
    bool exchangeBusy_ = false;

    mutable std::mutex slotMutex_;
    std::condition_variable replyEvent_;
    bool inFlight_ = false;
    bool signalled_ = false;
    std::uint8_t* slot_ = nullptr;
    std::size_t capacity_ = 0;
    std::size_t received_ = 0;
};

}  // namespace qv::device
