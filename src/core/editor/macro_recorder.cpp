#include "core/editor/macro_recorder.h"

#include <algorithm>
#include <array>
#include <chrono>

#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/editor/macro_page.h"

namespace qv {
namespace {

constexpr std::uint32_t kReleaseBit = 1u << 31;
constexpr std::uint32_t kPreviousStateBit = 1u << 30;
constexpr std::uint8_t kVkLeftWin = 0x5B;
constexpr std::uint8_t kVkRightWin = 0x5C;

constexpr std::array<KeyCode, 18> kMediaKeys = {0x120, 0x130, 0x12E, 0x124, 0x122, 0x119,
                                                0x110, 0x16D, 0x132, 0x167, 0x168, 0x16A,
                                                0x169, 0x166, 0x165, 0x16B, 0x121, 0x16C};

}  // namespace

TickClock SystemTickClock() {
    return [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    };
}

bool IsMediaKey(KeyCode key) { return std::find(kMediaKeys.begin(), kMediaKeys.end(), key) != kMediaKeys.end(); }

bool GetsSyntheticPress(KeyCode key) { return key == 0x054 || key == 0x071 || key == 0x072 || key == 0x137; }

MacroRecorder::MacroRecorder(EditorContext& context, MacroPage& page, SettingsStore settings, TickClock clock)
    : context_(context), page_(page), settings_(std::move(settings)), clock_(std::move(clock)) {
    if (!clock_) clock_ = SystemTickClock();
}

void MacroRecorder::Reset(std::string idleCaption) {
    recording_ = false;
    lastWindowsKey_ = 0;
    idleCaption_ = std::move(idleCaption);
    caption_ = idleCaption_;
    context_.Changed(kChangedRecording | kChangedMacroButtons);
}

void MacroRecorder::Toggle() {
    if (recording_) {
        recording_ = false;
        caption_ = Text(TextId::MACRO_ACTION_RECORD);
    } else {
        // Recorded actions go into the current macro's rows; without one there is nowhere to go.
        if (page_.CurrentMacro() < 0) return;
        recording_ = true;
        caption_ = Text(TextId::MACRO_ACTION_STOP_RECORD);
        lastTick_ = clock_();
        lastWindowsKey_ = 0;
    }
    context_.Changed(kChangedRecording | kChangedMacroButtons | kChangedSelector);
}

void MacroRecorder::StopIfActive() {
    if (recording_) Toggle();
}

void MacroRecorder::LoadRecordDelay() {
    recordDelay_ = settings_.WriteRecordDelay(settings_.ReadRecordDelay());
    context_.Changed(kChangedRecordDelay);
}

void MacroRecorder::ToggleRecordDelay() {
    recordDelay_ = settings_.WriteRecordDelay(recordDelay_ == 1 ? 0 : 1);
    context_.Changed(kChangedRecordDelay);
}

int MacroRecorder::ChosenPause(std::uint32_t measured) const {
    if (recordDelay_ != 1) return kUnmeasuredPauseMs;
    return measured > static_cast<std::uint32_t>(kLongestStorablePauseMs) ? kMaxMacroDelayMs
                                                                           : static_cast<int>(measured);
}

void MacroRecorder::Record(KeyCode key, std::uint16_t direction) {
    const std::uint32_t now = clock_();
    if (GetsSyntheticPress(key)) page_.AddAction(ChosenPause(kSyntheticPressPauseMs), key, kPress, true);
    page_.AddAction(ChosenPause(now - lastTick_), key, direction, true);
    lastTick_ = now;
}

bool MacroRecorder::OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) {
    if (!recording_) return false;
    const bool release = (lParam & kReleaseBit) != 0;
    // Any release forgets the Windows key last pressed, as the desktop-wide hook did.
    if (release) lastWindowsKey_ = 0;
    if (vk == kVkLeftWin || vk == kVkRightWin) {
        const bool repeat = !release && (vk == lastWindowsKey_ || (lParam & kPreviousStateBit) != 0);
        if (!release) lastWindowsKey_ = vk;
        if (!repeat) Record(vk == kVkLeftWin ? KeyCode{0x15B} : KeyCode{0x15C}, release ? kRelease : kPress);
        return true;
    }
    const KeyCode key = KeyFromWindowsEvent(vk, lParam);
    if (key == kNoKey || IsMediaKey(key)) return false;
    if (!release && (lParam & kPreviousStateBit) != 0) return true;  // auto-repeat
    Record(key, release ? kRelease : kPress);
    return true;
}

}  // namespace qv
