#pragma once
// The application-wide key event filter that stands in for the Windows keyboard hooks: every
// key press and release of the program is translated into (virtual key, lParam) and offered to
// the installed KeyHooks, last installed first; a hook returning true swallows the event.
//
// Real events go by their native scan code (the Linux key code + 8 on X11 and Wayland), so a
// key is the key of its position whatever layout the user has chosen. Events without one
// (Qt's offscreen platform, events a test builds) are translated from their Qt::Key instead.
//
// The Windows keys and App are seen only while the program has the keyboard focus; nothing
// grabs the keyboard. Everything here runs on the GUI thread, the hooks too.

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/keyboard/key_hook.h"
#include "platform/key_translation.h"

class QCoreApplication;
class QKeyEvent;

namespace qv::ui {

class KeyEventFilter : public QObject {
    Q_OBJECT
public:
    static KeyEventFilter& Instance();

    void Install(KeyHook* hook);
    void Remove(KeyHook* hook);
    bool HasHooks() const { return !hooks_.empty(); }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct HeldKey {
        platform::WindowsKey key;
        bool swallowed = false;
    };
    struct Delivery {
        const QEvent* event = nullptr;
        QPointer<QObject> receiver;
        int type = 0;
        quint64 timestamp = 0;
        int qtKey = 0;
        quint32 nativeScanCode = 0;
        bool swallowed = false;
    };

    bool OnKey(QObject* watched, QKeyEvent* event);
    bool IsLaterStepOfDelivery(QObject* watched, const QKeyEvent* event) const;
    bool Dispatch(const QKeyEvent& event);
    bool Offer(std::uint8_t vk, std::uint32_t lParam);

    std::vector<KeyHook*> hooks_;  // in order of installation; offered from the back
    std::unordered_map<std::uint16_t, HeldKey> held_;
    Delivery last_;
};

// Installs the filter on the application once; the start routine and UI tests call it.
void InstallKeyEventFilter(QCoreApplication& app);

// Installing a hook that is already installed moves it to the head of the chain.
void InstallKeyHook(KeyHook* hook);
// Removing a hook that is not installed does nothing.
void RemoveKeyHook(KeyHook* hook);

// What the filter makes of one Qt key event, without its memory of held keys.
struct TranslatedKey {
    std::uint16_t linuxKeyCode = 0;
    platform::WindowsKey key;
};
std::optional<TranslatedKey> TranslateKeyEvent(const QKeyEvent& event);

}  // namespace qv::ui
