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
        case kCodeNormalIcon: {
            std::uint64_t ticket;
            {
                std::lock_guard lock(iconMutex_);
                ticket = iconTickets_++;
            }
            if (code == kCodeAlternateIcon) {
                iconThreads_.Spawn([this, ticket] { SetIcon(ticket, kTrayAlternate, kIconAlternate); });
            } else {
                iconThreads_.Spawn([this, ticket] { SetIcon(ticket, kTrayNormal, 0); });
            }
            break;
        }
        default: break;
    }
}

void ConsumerCodes::ToggleBank() {
    const int bank = listener_.FlipBank();
    listener_.WriteStatusReport();
    window_.SendWindowMessage(kMsgStatusChanged, kStatusChangedTag);
    window_.ShowGKeyBank(bank, GKeyCaptions(bank));
}

void ConsumerCodes::SetIcon(std::uint64_t ticket, int kind, int iconId) {
    std::unique_lock lock(iconMutex_);
    iconTurn_.wait(lock, [&] { return iconServing_ == ticket; });
    lock.unlock();
    window_.SetTrayState(kind, iconId);
    // A short pause before the next may start, as the busy flag of old had.
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    lock.lock();
    ++iconServing_;
    lock.unlock();
    iconTurn_.notify_all();
}

}  // namespace qv::device
