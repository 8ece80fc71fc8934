#pragma once
// What the device link needs from the main window, asked from the service library's threads
// and the presence workers. The Qt window implements it (hopping to its own thread); tests fake
// it. Nothing here runs on the main thread itself.

#include <array>
#include <chrono>
#include <cstdint>
#include <string_view>

#include "protocol/window_messages.h"

namespace qv::device {

// The main-window messages the device threads send (numbers and tags in protocol/).
using protocol::kDeviceGoneTag;
using protocol::kInstanceOpenTag;
using protocol::kMsgDeviceGone;
using protocol::kMsgInstanceOpen;
using protocol::kMsgProfileReload;
using protocol::kMsgStatusChanged;
using protocol::kProfileReloadTag;
using protocol::kStatusChangedTag;

// One-shot main-window timer that reloads the keyboard's lighting settings.
inline constexpr int kTimerLightingReload = 1051;

// Notification-area icons: keyboard present, no keyboard, the keyboard's alternate icon (the
// macro picture).
inline constexpr int kIconKeyboard = 141;
inline constexpr int kIconNoKeyboard = 128;
inline constexpr int kIconAlternate = 142;
// SetTrayState kinds.
inline constexpr int kTrayNormal = 0;     // id: the new normal icon, 0 = the last normal one
inline constexpr int kTrayAlternate = 1;  // the alternate icon

class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;
    // Runs the message's handler on the main thread and returns once it is done. Must return
    // (unhandled) once the window is shutting down, so a worker never waits for a window that
    // no longer runs.
    virtual void SendWindowMessage(unsigned message, std::uintptr_t wParam) = 0;
    // Queues the message and returns at once.
    virtual void PostWindowMessage(unsigned message, std::uintptr_t wParam) = 0;
    // A one-shot main-window timer.
    virtual void StartWindowTimer(int timerId, int delayMilliseconds) = 0;
    virtual void HideWindow() = 0;
    virtual void SetTrayState(int kind, int iconId) = 0;
    // True once the window's deferred initialisation is done; waits at most `atMost` for it.
    virtual bool WaitUntilReady(std::chrono::milliseconds atMost) = 0;
    // The start routine's auto-open flag: 0 lets the first presence worker open the window.
    virtual bool AutoOpenFlag() const = 0;
    virtual void SetAutoOpenFlag(bool value) = 0;
    // The AB button's images (control 1128) for `bank` (0 = A, 1 = B) and the nine G-key captions.
    virtual void ShowGKeyBank(int bank, const std::array<std::string_view, 9>& captions) = 0;
    // A message box with OK; may hold the calling thread until dismissed.
    virtual void ShowMessage(std::string_view text) = 0;
};

}  // namespace qv::device
