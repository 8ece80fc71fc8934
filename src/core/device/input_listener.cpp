#include "core/device/input_listener.h"

#include <atomic>

namespace qv::device {
namespace {

// The listener the library's callback reaches; one per process, like the callback itself.
std::atomic<InputListener*> g_listener{nullptr};

}  // namespace

int DeviceEventCallback(const HidServEvent* event) {
    if (InputListener* listener = g_listener.load(); listener != nullptr) listener->HandleEvent(event);
    return 1;
}

std::uint16_t ConsumerCode(const std::uint8_t* report, std::size_t length) {
    if (report == nullptr || length < 2) return 0;
    return static_cast<std::uint16_t>(report[0] | (report[1] << 8));
}

InputListener::InputListener(const HidService& service, RequestEngine& engine)
    : service_(service), engine_(engine) {}

InputListener::~InputListener() { Stop(); }

void InputListener::Stop() {
    // Deleting a request waits for its callback if one is running, so nothing reaches this
    // object afterwards.
    for (std::uint32_t* unit : {&consumerUnit_, &vendorUnit_, &statusUnit_}) {
        if (*unit != 0) service_.DeleteRequestFromUnitId(*unit);
        *unit = 0;
    }
    InputListener* self = this;
    g_listener.compare_exchange_strong(self, nullptr);
}

void InputListener::SetConsumerHandler(std::function<void(std::uint16_t)> handler) {
    onConsumer_ = std::move(handler);
}

void InputListener::SetPresenceHandler(std::function<void(int)> handler) {
    onPresence_ = std::move(handler);
}

void InputListener::Start() {
    // Started again: the earlier requests go first, so no report is delivered twice.
    Stop();
    {
        std::lock_guard lock(statusMutex_);
        status_ = protocol::kInitialStatusReport;
    }
    g_listener.store(this);
    RegisterConsumerListener();
    engine_.Reset();
    RegisterVendorListener();
}

void InputListener::RegisterConsumerListener() {
    service_.DeleteRequestFromUnitId(consumerUnit_);
    std::uint32_t unit = 0;
    service_.AsyncRead(ConsumerIdentity(), &DeviceEventCallback, HIDSERV_TAG_CONSUMER, &unit);
    consumerUnit_ = unit;
}

void InputListener::RegisterVendorListener() {
    service_.DeleteRequestFromUnitId(vendorUnit_);
    std::uint32_t unit = 0;
    service_.AsyncRead(VendorIdentity(), &DeviceEventCallback, HIDSERV_TAG_VENDOR, &unit);
    vendorUnit_ = unit;
}

void InputListener::WriteStatusReport() {
    std::lock_guard lock(statusMutex_);
    service_.DeleteRequestFromUnitId(statusUnit_);
    std::uint32_t unit = 0;
    service_.StatusWrite(StatusIdentity(), &DeviceEventCallback, HIDSERV_TAG_STATUS, status_.data(),
                         static_cast<std::uint32_t>(status_.size()), &unit);
    statusUnit_ = unit;
}

std::array<std::uint8_t, protocol::kStatusReportSize> InputListener::Status() const {
    std::lock_guard lock(statusMutex_);
    return status_;
}

int InputListener::FlipBank() {
    std::lock_guard lock(statusMutex_);
    status_[protocol::kGKeyBankByte] ^= protocol::kGKeyBankBit;
    return (status_[protocol::kGKeyBankByte] & protocol::kGKeyBankBit) != 0 ? 1 : 0;
}

int InputListener::HandleEvent(const HidServEvent* event) {
    if (event == nullptr || event->request == nullptr) return 1;
    const HidServRequest& request = *event->request;
    if (event->kind == HIDSERV_EVENT_DATA) {
        if (request.tag == HIDSERV_TAG_CONSUMER) {
            // The latest report as the standing read keeps it; the data pointer otherwise.
            const std::uint8_t* report = request.data;
            if (request.block != nullptr && request.block->latestReport != nullptr) {
                report = request.block->latestReport;
            }
            if (onConsumer_) onConsumer_(ConsumerCode(report, request.count));
        } else if (request.tag == HIDSERV_TAG_VENDOR) {
            engine_.DeliverReply(request.data, request.count);
        }
    } else if (event->kind == HIDSERV_EVENT_PRESENCE && request.tag == HIDSERV_TAG_VENDOR) {
        if (onPresence_) onPresence_(static_cast<int>(request.count));
    }
    return 1;
}

}  // namespace qv::device
