#include "core/device/request_engine.h"

#include <algorithm>
#include <array>

#include "core/app/trace.h"
#include "core/device/result_codes.h"
#include "protocol/report_frame.h"

namespace qv::device {

RequestEngine::RequestEngine(const HidService& service, EngineClock& clock)
    : service_(service), clock_(clock), vendor_(VendorIdentity()) {}

namespace {

// The first 64 bytes of a longer request; a shorter one padded with zeros.
std::array<std::uint8_t, frame::kSize> ToFrame(const std::uint8_t* request, std::size_t length) {
    std::array<std::uint8_t, frame::kSize> out{};
    if (request != nullptr) std::copy_n(request, std::min(length, frame::kSize), out.begin());
    return out;
}

}  // namespace

std::string DescribeFrameBytes(std::string_view label, const std::uint8_t* bytes, std::size_t length) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line(label);
    line += ':';
    for (std::size_t i = 0; i < length; ++i) {
        line += ' ';
        line += kHex[bytes[i] >> 4];
        line += kHex[bytes[i] & 0xF];
    }
    return line;
}

void RequestEngine::TraceFrame(const char* label, const std::uint8_t* bytes, std::size_t length) const {
    if (frameSink_) {
        frameSink_(DescribeFrameBytes(label, bytes, length));
    } else if (TraceEnabled()) {
        Trace(DescribeFrameBytes(label, bytes, length));
    }
}

int RequestEngine::ExchangeReport(const std::uint8_t* request, std::size_t requestLength,
                                  std::uint8_t* answer, std::size_t answerCapacity,
                                  std::size_t* received) {
    if (received != nullptr) *received = 0;
    if (service_.DeviceCount(vendor_) <= 0) return kNoKeyboard;
    const auto out = ToFrame(request, requestLength);

    if (!TakeExchange()) return kNoKeyboard;
    struct Release {
        RequestEngine* engine;
        ~Release() { engine->ReleaseExchange(); }
    } release{this};

    for (int attempts = 0;;) {
        {
            std::lock_guard lock(slotMutex_);
            slot_ = answer;
            capacity_ = answer != nullptr ? answerCapacity : 0;
            received_ = 0;
            signalled_ = false;
            inFlight_ = true;
        }
        TraceFrame("sent", out.data(), frame::kSize);
        if (service_.WriteOne(vendor_, out.data(), frame::kSize) <= 0) {
            Reset();
            return kWriteRefused;
        }
        bool answered;
        std::size_t length;
        {
            std::unique_lock lock(slotMutex_);
            answered = replyEvent_.wait_for(lock, clock_.WaitBudget(kAnswerWait),
                                            [this] { return signalled_; });
            // Closed before the answer is looked at, so a late report cannot change it meanwhile.
            inFlight_ = false;
            slot_ = nullptr;
            length = received_;
        }
        ++attempts;
        if (answered) TraceFrame("answer", answer, length);
        // A report for another command (a late answer, or one the keyboard sent on its own)
        // counts as no answer.
        const bool matches = answered && length > frame::kCommand &&
                             answer[frame::kCommand] == out[frame::kCommand];
        if (!matches) {
            if (attempts >= kAttempts) return kNoMatchingAnswer;
            clock_.Sleep(kRetryPause);
            continue;
        }
        const bool failed = length > frame::kStatus && (answer[frame::kStatus] == frame::kStatusFF ||
                                                        answer[frame::kStatus] == frame::kStatusFE);
        if (failed && attempts < kAttempts) {
            clock_.Sleep(kRetryPause);
            continue;
        }
        // A third failure status is handed back; the command set turns it into -102 or -103.
        if (received != nullptr) *received = length;
        return kSuccess;
    }
}

bool RequestEngine::TakeExchange() {
    std::unique_lock lock(exchangeMutex_);
    if (!exchangeFree_.wait_for(lock, kLockWait, [this] { return !exchangeBusy_; })) return false;
    exchangeBusy_ = true;
    return true;
}

void RequestEngine::ReleaseExchange() {
    {
        std::lock_guard lock(exchangeMutex_);
        exchangeBusy_ = false;
    }
    exchangeFree_.notify_one();
}

int RequestEngine::SendReportNoReply(const std::uint8_t* frameBytes, std::size_t length) {
    const auto out = ToFrame(frameBytes, length);
    TraceFrame("sent", out.data(), frame::kSize);
    return service_.WriteOne(vendor_, out.data(), frame::kSize);
}

void RequestEngine::DeliverReply(const std::uint8_t* report, std::size_t length) {
    std::lock_guard lock(slotMutex_);
    // The first report of an attempt is the one looked at; a second one arriving before the
    // caller woke must not replace it (a wrong answer followed by the right one still means a
    // resend, whatever the thread timing).
    if (!inFlight_ || signalled_ || report == nullptr) return;
    const std::size_t n = std::min(length, capacity_);
    if (n > 0) std::copy_n(report, n, slot_);
    received_ = n;
    signalled_ = true;
    replyEvent_.notify_all();
}

void RequestEngine::Reset() {
    std::lock_guard lock(slotMutex_);
    inFlight_ = false;
    signalled_ = false;
    slot_ = nullptr;
    capacity_ = 0;
}

bool RequestEngine::InFlight() const {
    std::lock_guard lock(slotMutex_);
    return inFlight_;
}

}  // namespace qv::device
