#pragma once
// What the keyboard's special keys on the consumer collection ask of the program: the G-key
// bank toggle (on the library's thread), a lighting reload (a main-window timer) and the two
// notification-area icon codes (short threads, one at a time).

#include <array>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string_view>

#include "core/device/input_listener.h"
#include "core/device/main_window_link.h"
#include "core/device/thread_group.h"

namespace qv::device {

inline constexpr std::uint16_t kCodeToggleBank = 0x02FF;
inline constexpr std::uint16_t kCodeReloadLighting = 0x0401;
inline constexpr std::uint16_t kCodeNormalIcon = 0x1810;
inline constexpr std::uint16_t kCodeAlternateIcon = 0x1811;

// Captions of the nine G-key buttons for a bank: "A1".."A5" or "B1".."B5", the last four empty.
std::array<std::string_view, 9> GKeyCaptions(int bank);

class ConsumerCodes {
public:
    ConsumerCodes(InputListener& listener, MainWindowLink& window);
    ~ConsumerCodes();
    ConsumerCodes(const ConsumerCodes&) = delete;
    ConsumerCodes& operator=(const ConsumerCodes&) = delete;

    // Any other code is ignored.
    void Handle(std::uint16_t code);
    void ToggleBank();
    // Waits for the icon threads started so far.
    void WaitForIconThreads() { iconThreads_.JoinAll(); }

private:
    // `ticket` is the code's place in arrival order.
    void SetIcon(std::uint64_t ticket, int kind, int iconId);

    InputListener& listener_;
    MainWindowLink& window_;
    // Icon threads run one at a time and in the order their codes arrived: a quick 0x1811,
    // 0x1810 must end on the normal icon, whichever thread the scheduler starts first.
    std::mutex iconMutex_;
    std::condition_variable iconTurn_;
    std::uint64_t iconTickets_ = 0;
    std::uint64_t iconServing_ = 0;
    ThreadGroup iconThreads_;
};

}  // namespace qv::device
