#pragma once
// The macro recorder: while it records, every key press and release that reaches the tool is
// swallowed and becomes a row of the macro page, with the time since the previous event as the
// pause before it. Media keys pass on untouched.

#include <cstdint>
#include <functional>
#include <string>

#include "core/app/settings.h"
#include "core/keyboard/key_code.h"
#include "core/keyboard/key_hook.h"
#include "core/editor/editor_view.h"

namespace qv {

class MacroPage;

// Milliseconds, like GetTickCount: wraps, only differences count.
using TickClock = std::function<std::uint32_t()>;
TickClock SystemTickClock();

// The pause recorded when the measured pauses are not kept.
inline constexpr int kUnmeasuredPauseMs = 50;
// The pause between the synthetic press of a release-only key and the event itself.
inline constexpr int kSyntheticPressPauseMs = 2;
// The keyboard keeps pauses in 10 ms units in 12 bits; a longer measured pause is stored as the
// longest a typed pause may be.
inline constexpr int kLongestStorablePauseMs = 40950;

// The 18 media keys: recorder and single-key capture let them pass.
bool IsMediaKey(KeyCode key);
// Keys whose events come without a press of their own (Sys Req, KL, KR, Print Screen).
bool GetsSyntheticPress(KeyCode key);

class MacroRecorder : public KeyHook {
public:
    MacroRecorder(EditorContext& context, MacroPage& page, SettingsStore settings, TickClock clock);

    // On open: idle, with the Record button's caption as the language file gives it.
    void Reset(std::string idleCaption);

    // The Record button (1020): starts when idle (a macro must be current), stops when recording.
    void Toggle();
    // Page switch, pause edit, Apply, OK and close.
    void StopIfActive();
    bool Recording() const { return recording_; }
    // "Record" or "Stop Record"; the button shows its pressed face while recording.
    const std::string& Caption() const { return caption_; }

    // The record-delay option (1027) of this user: loaded on open and written straight back, so a
    // stored value other than 0 or 1 becomes 0; each click flips and stores it.
    void LoadRecordDelay();
    void ToggleRecordDelay();
    int RecordDelay() const { return recordDelay_; }
    bool RecordDelayChecked() const { return recordDelay_ == 1; }
    // Forgotten on close; the next opening loads it again.
    void ForgetRecordDelay() { recordDelay_ = 0; }

    // Key events while recording; false passes the event on.
    bool OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) override;

private:
    void Record(KeyCode key, std::uint16_t direction);
    int ChosenPause(std::uint32_t measured) const;

    EditorContext& context_;
    MacroPage& page_;
    SettingsStore settings_;
    TickClock clock_;

    bool recording_ = false;
    std::uint32_t lastTick_ = 0;
    std::uint8_t lastWindowsKey_ = 0;  // vk of the Windows key last seen pressed
    int recordDelay_ = 0;
    std::string idleCaption_;
    std::string caption_;
};

}  // namespace qv
