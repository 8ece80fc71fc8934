#pragma once
// The program's two standing reads (vendor and consumer collections), the one callback that
// receives everything from the service library's threads, and the 2-byte status report.
// Answers go into the request engine's reply slot; consumer codes and presence changes go to
// the handlers set before Start (none set: ignored, as in quorvanectl).

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

#include "core/device/hid_service.h"
#include "core/device/request_engine.h"
#include "protocol/status_report.h"

namespace qv::device {

// The service library's callback: dispatches to the running InputListener. Returns 1 always.
int DeviceEventCallback(const HidServEvent* event);

// The first two bytes of a consumer report as one little-endian number; 0 when shorter.
std::uint16_t ConsumerCode(const std::uint8_t* report, std::size_t length);

class InputListener {
public:
    InputListener(const HidService& service, RequestEngine& engine);
    // Deletes its requests (waiting out a callback that is running) and stops taking events.
    ~InputListener();
    InputListener(const InputListener&) = delete;
    InputListener& operator=(const InputListener&) = delete;

    // Run on a library thread; set them before Start.
    void SetConsumerHandler(std::function<void(std::uint16_t code)> handler);
    void SetPresenceHandler(std::function<void(int count)> handler);

    // Status 05 02, unit ids 0, consumer listener, engine reset, vendor listener.
    void Start();
    // Deletes the requests (waiting out a callback that is running); no events arrive afterwards.
    void Stop();
    void RegisterConsumerListener();
    void RegisterVendorListener();
    // Deletes the previous status request, then writes the status report. Not checked.
    void WriteStatusReport();

    std::array<std::uint8_t, protocol::kStatusReportSize> Status() const;
    // Flips the G-key bank bit (bit 0 of byte 1) and returns the new bank (0 = A, 1 = B).
    int FlipBank();

    int HandleEvent(const HidServEvent* event);

private:
    const HidService& service_;
    RequestEngine& engine_;
    std::function<void(std::uint16_t)> onConsumer_;
    std::function<void(int)> onPresence_;
    mutable std::mutex statusMutex_;
    std::array<std::uint8_t, protocol::kStatusReportSize> status_ = protocol::kInitialStatusReport;
    std::uint32_t consumerUnit_ = 0;
    std::uint32_t vendorUnit_ = 0;
    std::uint32_t statusUnit_ = 0;
};

}  // namespace qv::device
