#include "core/device/consumer_codes.h"

#include <chrono>
#include <thread>

namespace qv::device {

std::array<std::string_view, 9> GKeyCaptions(int bank) {
    if (bank == 0) return {"A1", "A2", "A3", "A4", "A5", "", "", "", ""};
    return {"B1", "B2", "B3", "B4", "B5", "", "", "", ""};
}

ConsumerCodes::ConsumerCodes(InputListener& listener, MainWindowLink& window)
    : listener_(listener), window_(window) {}

ConsumerCodes::~ConsumerCodes() { iconThreads_.JoinAll(); }

void ConsumerCodes::Handle(std::uint16_t code) {
    switch (code) {
        case kCodeToggleBank: ToggleBank(); break;
        case kCodeReloadLighting: window_.StartWindowTimer(kTimerLightingReload, 0); break;
        case kCodeAlternateIcon:
            iconThreads_.Spawn([this] { SetIcon(kTrayAlternate, kIconAlternate); });
            break;
        case kCodeNormalIcon:
            iconThreads_.Spawn([this] { SetIcon(kTrayNormal, 0); });
            break;
        default: break;
    }
}

void ConsumerCodes::ToggleBank() {
    const int bank = listener_.FlipBank();
    listener_.WriteStatusReport();
    window_.SendWindowMessage(kMsgStatusChanged, kStatusChangedTag);
    window_.ShowGKeyBank(bank, GKeyCaptions(bank));
}

void ConsumerCodes::SetIcon(int kind, int iconId) {
    // The busy flag of old, as a lock: one icon change at a time, with a short pause before the
    // next may start.
    std::lock_guard busy(iconBusy_);
    window_.SetTrayState(kind, iconId);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

}  // namespace qv::device
