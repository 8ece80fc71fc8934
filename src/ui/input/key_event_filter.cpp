#include "ui/input/key_event_filter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <algorithm>

#include "ui/input/qt_key_fallback.h"
#include "ui/input/x11_auto_repeat.h"

namespace qv::ui {

KeyEventFilter& KeyEventFilter::Instance() {
    static KeyEventFilter filter;
    return filter;
}

void KeyEventFilter::Install(KeyHook* hook) {
    if (hook == nullptr) return;
    Remove(hook);
    hooks_.push_back(hook);
}

void KeyEventFilter::Remove(KeyHook* hook) {
    hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

bool KeyEventFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // A hook sees a key before any shortcut does, as it would on Windows; accepting the
        // override lets the key arrive as a key press.
        if (hooks_.empty()) return false;
        event->accept();
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return OnKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::ApplicationDeactivate:
        // Keys let go while another program has the focus send us no release.
        held_.clear();
        return false;
    default:
        return false;
    }
}

// Qt hands one key event to the window, then to the focus widget, then to each parent that
// ignores it; the application's filter sees every step. The hooks are asked at the first.
bool KeyEventFilter::IsLaterStepOfDelivery(QObject* watched, const QKeyEvent* event) const {
    if (last_.event != event || last_.receiver.isNull() || last_.type != event->type() ||
        last_.timestamp != event->timestamp() || last_.qtKey != event->key() ||
        last_.nativeScanCode != event->nativeScanCode()) {
        return false;
    }
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    // From the window the event may go to a widget of another one: an open popup, a grab.
    if (last_.receiver->isWindowType()) return true;
    const auto* previous = qobject_cast<QWidget*>(last_.receiver.data());
    return previous != nullptr && widget != previous && widget->isAncestorOf(previous);
}

bool KeyEventFilter::OnKey(QObject* watched, QKeyEvent* event) {
    if (!watched->isWidgetType() && !watched->isWindowType()) return false;
    if (IsLaterStepOfDelivery(watched, event)) {
        last_.receiver = watched;
        return last_.swallowed;
    }

    const bool swallowed = Dispatch(*event);
    if (swallowed) event->accept();
    last_.event = event;
    last_.receiver = watched;
    last_.type = event->type();
    last_.timestamp = event->timestamp();
    last_.qtKey = event->key();
    last_.nativeScanCode = event->nativeScanCode();
    last_.swallowed = swallowed;
    return swallowed;
}

bool KeyEventFilter::Dispatch(const QKeyEvent& event) {
    const auto translated = TranslateKeyEvent(event);
    if (!translated) return false;
    const bool release = event.type() == QEvent::KeyRelease;
    const auto held = held_.find(translated->linuxKeyCode);
    const bool isHeld = held != held_.end();
    if (release && event.isAutoRepeat()) {
        // Repeats that come as release/press pairs: Windows reports no release in between.
        return isHeld && held->second.swallowed;
    }
    // With detectable auto-repeat an X server repeats a held key as plain presses. Events a
    // program builds itself are taken at their word.
    const bool fromWindowSystem = event.nativeScanCode() != 0;
    const bool repeat = !release && (event.isAutoRepeat() || (fromWindowSystem && isHeld));
    // Repeats and the release report the key the press did, whatever modifier changed since.
    const platform::WindowsKey key = (release || repeat) && isHeld ? held->second.key : translated->key;

    bool swallowed = false;
    const bool offered = release || !key.releaseOnly;
    if (offered && !hooks_.empty()) {
        swallowed = Offer(key.vk, platform::KeyEventLParam(key, release, repeat));
    }
    // A hook may have run a nested event loop (a message box): look the key up afresh.
    if (release) {
        held_.erase(translated->linuxKeyCode);
    } else {
        held_[translated->linuxKeyCode] = HeldKey{key, swallowed};
    }
    return swallowed;
}

bool KeyEventFilter::Offer(std::uint8_t vk, std::uint32_t lParam) {
    // A hook may install or remove hooks while it runs: ask the chain as it was, skipping
    // hooks removed on the way.
    const std::vector<KeyHook*> chain = hooks_;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (std::find(hooks_.begin(), hooks_.end(), *it) == hooks_.end()) continue;
        if ((*it)->OnKeyEvent(vk, lParam)) return true;
    }
    return false;
}

void InstallKeyEventFilter(QCoreApplication& app) {
    KeyEventFilter& filter = KeyEventFilter::Instance();
    // Installing twice would put the filter in the list twice.
    app.removeEventFilter(&filter);
    app.installEventFilter(&filter);
    RequestDetectableAutoRepeat();
}

void InstallKeyHook(KeyHook* hook) { KeyEventFilter::Instance().Install(hook); }
void RemoveKeyHook(KeyHook* hook) { KeyEventFilter::Instance().Remove(hook); }

std::optional<TranslatedKey> TranslateKeyEvent(const QKeyEvent& event) {
    std::uint32_t code = 0;
    if (event.nativeScanCode() > platform::kXkbKeycodeOffset) {
        code = event.nativeScanCode() - platform::kXkbKeycodeOffset;
    } else {
        code = LinuxKeyFromQtKey(event.key(), event.modifiers().testFlag(Qt::KeypadModifier));
    }
    if (code == 0 || code > 0xFFFF) return std::nullopt;
    platform::KeyTranslationState state;
    state.numLockOff = IsKeypadNavigationKey(event.key());
    state.ctrl = event.modifiers().testFlag(Qt::ControlModifier);
    state.alt = event.modifiers().testFlag(Qt::AltModifier);
    const auto key = platform::WindowsKeyFromLinuxKey(static_cast<std::uint16_t>(code), state);
    if (!key) return std::nullopt;
    return TranslatedKey{static_cast<std::uint16_t>(code), *key};
}

}  // namespace qv::ui
