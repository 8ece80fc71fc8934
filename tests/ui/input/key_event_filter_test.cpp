#include "ui/input/key_event_filter.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include <linux/input-event-codes.h>

#include "core/keyboard/key_catalogue.h"

namespace qv::ui {
namespace {

struct HookEvent {
    std::uint8_t vk;
    std::uint32_t lParam;
    KeyCode key() const { return KeyFromWindowsEvent(vk, lParam); }
    bool release() const { return (lParam & 0x80000000u) != 0; }
    bool previousDown() const { return (lParam & 0x40000000u) != 0; }
};

// Installed for its lifetime; records what it is offered.
class RecordingHook : public KeyHook {
public:
    explicit RecordingHook(bool swallow, std::vector<std::string>* order = nullptr, std::string name = {})
        : swallow_(swallow), order_(order), name_(std::move(name)) {
        InstallKeyHook(this);
    }
    ~RecordingHook() override { RemoveKeyHook(this); }
    bool OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) override {
        events.push_back({vk, lParam});
        if (order_ != nullptr) order_->push_back(name_);
        if (onEvent) onEvent();
        return swallow_;
    }
    std::vector<HookEvent> events;
    std::function<void()> onEvent;

private:
    bool swallow_;
    std::vector<std::string>* order_;
    std::string name_;
};

class KeyTarget : public QWidget {
public:
    explicit KeyTarget(QWidget* parent = nullptr, bool accept = true) : QWidget(parent), accept_(accept) {
        setFocusPolicy(Qt::StrongFocus);
    }
    int presses = 0;
    int releases = 0;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        ++presses;
        e->setAccepted(accept_);
    }
    void keyReleaseEvent(QKeyEvent* e) override {
        ++releases;
        e->setAccepted(accept_);
    }

private:
    bool accept_;
};

void Send(QWidget* w, QEvent::Type type, int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier,
          quint32 linuxCode = 0, bool autoRepeat = false) {
    const quint32 native = linuxCode != 0 ? linuxCode + platform::kXkbKeycodeOffset : 0;
    QKeyEvent e(type, qtKey, mods, native, 0, 0, QString(), autoRepeat);
    QApplication::sendEvent(w, &e);
}

TEST(KeyEventFilter, ChainAsksTheLastInstalledFirstAndStopsAtTheHookThatSwallows) {
    KeyTarget target;
    std::vector<std::string> order;
    {
        RecordingHook first(false, &order, "first");
        RecordingHook second(false, &order, "second");
        QTest::keyClick(&target, Qt::Key_A);
        EXPECT_EQ(order, (std::vector<std::string>{"second", "first", "second", "first"}));
        EXPECT_EQ(target.presses, 1);
        EXPECT_EQ(target.releases, 1);
    }
    order.clear();
    RecordingHook first(false, &order, "first");
    RecordingHook swallower(true, &order, "swallower");
    QTest::keyClick(&target, Qt::Key_A);
    EXPECT_EQ(order, (std::vector<std::string>{"swallower", "swallower"}));
    EXPECT_EQ(target.presses, 1);  // the window never saw the second click
    EXPECT_EQ(target.releases, 1);
}

TEST(KeyEventFilter, ReinstallingMovesAHookToTheHeadAndRemovingIsHarmlessTwice) {
    KeyTarget target;
    std::vector<std::string> order;
    RecordingHook a(false, &order, "a");
    RecordingHook b(false, &order, "b");
    InstallKeyHook(&a);
    QTest::keyPress(&target, Qt::Key_B);
    EXPECT_EQ(order, (std::vector<std::string>{"a", "b"}));

    order.clear();
    RemoveKeyHook(&a);
    RemoveKeyHook(&a);
    QTest::keyRelease(&target, Qt::Key_B);
    EXPECT_EQ(order, (std::vector<std::string>{"b"}));
}

TEST(KeyEventFilter, AHookMayRemoveItselfAndTheNextWhileItRuns) {
    KeyTarget target;
    std::vector<std::string> order;
    RecordingHook below(false, &order, "below");
    RecordingHook top(false, &order, "top");
    top.onEvent = [&] {
        RemoveKeyHook(&top);
        RemoveKeyHook(&below);
    };
    QTest::keyClick(&target, Qt::Key_C);
    EXPECT_EQ(order, (std::vector<std::string>{"top"}));
    EXPECT_EQ(target.presses, 1);
}

TEST(KeyEventFilter, KeysArrivingWhileAHookRunsANestedLoopLeaveTheHeldKeysRight) {
    KeyTarget target;
    RecordingHook hook(true);
    Send(&target, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, KEY_A);
    bool nested = false;
    hook.onEvent = [&] {
        if (nested) return;
        nested = true;
        // As a message box opened by a hook would let through: many other keys at once.
        for (quint32 code = KEY_1; code <= KEY_SLASH; ++code) {
            Send(&target, QEvent::KeyPress, 0, Qt::NoModifier, code);
        }
    };
    Send(&target, QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, KEY_A);
    hook.onEvent = nullptr;
    Send(&target, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, KEY_A);
    EXPECT_EQ(hook.events.back().key(), 0x01E);
    EXPECT_FALSE(hook.events.back().previousDown());
    Send(&target, QEvent::KeyPress, Qt::Key_B, Qt::NoModifier, KEY_B);
    EXPECT_TRUE(hook.events.back().previousDown());  // pressed inside the nested loop
    for (quint32 code = KEY_1; code <= KEY_SLASH; ++code) {
        Send(&target, QEvent::KeyRelease, 0, Qt::NoModifier, code);
    }
}

TEST(KeyEventFilter, EachKeyEventIsOfferedOnceAlongTheWidgetsAndTheWindow) {
    QWidget top;
    auto* ignoring = new KeyTarget(&top, false);
    top.resize(200, 100);
    top.show();
    ignoring->setFocus();
    top.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&top));

    RecordingHook hook(false);
    // Ignored by the child, the event climbs to its parent; the hooks hear it once.
    QTest::keyClick(ignoring, Qt::Key_D);
    ASSERT_EQ(hook.events.size(), 2u);
    // Through the window, as events of the window system come.
    QTest::keyClick(top.windowHandle(), Qt::Key_E);
    ASSERT_EQ(hook.events.size(), 4u);
    EXPECT_EQ(hook.events[2].key(), 0x012);
    EXPECT_EQ(ignoring->presses, 2);

    RecordingHook swallower(true);
    QTest::keyClick(top.windowHandle(), Qt::Key_F);
    EXPECT_EQ(swallower.events.size(), 2u);
    EXPECT_EQ(ignoring->presses, 2);
}

TEST(KeyEventFilter, AKeyAnOpenPopupTakesIsOfferedOnce) {
    QWidget top;
    top.resize(200, 100);
    top.show();
    top.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&top));
    QMenu menu(&top);
    menu.addAction("one");
    menu.addAction("two");
    menu.popup(top.mapToGlobal(QPoint(10, 10)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));

    RecordingHook hook(false);
    QTest::keyClick(top.windowHandle(), Qt::Key_Down);
    EXPECT_EQ(hook.events.size(), 2u);
    menu.close();
}

TEST(KeyEventFilter, PressRepeatAndReleaseCarryTheirStateBits) {
    KeyTarget target;
    RecordingHook hook(true);
    Send(&target, QEvent::KeyPress, Qt::Key_A);
    Send(&target, QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, 0, true);
    Send(&target, QEvent::KeyRelease, Qt::Key_A);
    ASSERT_EQ(hook.events.size(), 3u);
    EXPECT_EQ(hook.events[0].vk, 0x41);
    EXPECT_EQ(hook.events[0].lParam, 0x001E0001u);
    EXPECT_EQ(hook.events[1].lParam, 0x401E0001u);
    EXPECT_EQ(hook.events[2].lParam, 0xC01E0001u);
    EXPECT_EQ(target.presses, 0);
}

TEST(KeyEventFilter, RepeatsAsReleasePressPairsReportNoRelease) {
    KeyTarget target;
    RecordingHook hook(true);
    Send(&target, QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, KEY_G);
    Send(&target, QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, KEY_G, true);
    Send(&target, QEvent::KeyPress, Qt::Key_G, Qt::NoModifier, KEY_G, true);
    Send(&target, QEvent::KeyRelease, Qt::Key_G, Qt::NoModifier, KEY_G);
    ASSERT_EQ(hook.events.size(), 3u);
    EXPECT_FALSE(hook.events[0].previousDown());
    EXPECT_TRUE(hook.events[1].previousDown());
    EXPECT_FALSE(hook.events[1].release());
    EXPECT_TRUE(hook.events[2].release());
    // The repeat's release went the way of its press: swallowed.
    EXPECT_EQ(target.releases, 0);
}

TEST(KeyEventFilter, APressOfAHeldKeyFromTheWindowSystemIsARepeat) {
    KeyTarget target;
    RecordingHook hook(true);
    // An X server with detectable auto-repeat sends plain presses while a key is held.
    Send(&target, QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, KEY_H);
    Send(&target, QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, KEY_H);
    Send(&target, QEvent::KeyRelease, Qt::Key_H, Qt::NoModifier, KEY_H);
    Send(&target, QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, KEY_H);
    ASSERT_EQ(hook.events.size(), 4u);
    EXPECT_FALSE(hook.events[0].previousDown());
    EXPECT_TRUE(hook.events[1].previousDown());
    EXPECT_FALSE(hook.events[3].previousDown());

    // A key let go while another program had the focus is not held any more.
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QApplication::sendEvent(qApp, &deactivate);
    Send(&target, QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, KEY_H);
    EXPECT_FALSE(hook.events.back().previousDown());
    Send(&target, QEvent::KeyRelease, Qt::Key_H, Qt::NoModifier, KEY_H);

    // Events a program builds are taken at their word.
    Send(&target, QEvent::KeyPress, Qt::Key_J);
    Send(&target, QEvent::KeyPress, Qt::Key_J);
    EXPECT_FALSE(hook.events.back().previousDown());
    Send(&target, QEvent::KeyRelease, Qt::Key_J);
}

TEST(KeyEventFilter, NativeScanCodeNamesTheKeyWhateverTheLayoutMadeOfIt) {
    KeyTarget target;
    RecordingHook hook(true);
    // An AZERTY board gives Q for the key at the place of A.
    Send(&target, QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, KEY_A);
    Send(&target, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier, KEY_RIGHTCTRL);
    Send(&target, QEvent::KeyPress, Qt::Key_AltGr, Qt::NoModifier, KEY_RIGHTALT);
    Send(&target, QEvent::KeyPress, Qt::Key_Super_R, Qt::MetaModifier, KEY_RIGHTMETA);
    ASSERT_EQ(hook.events.size(), 4u);
    EXPECT_EQ(hook.events[0].key(), 0x01E);
    EXPECT_EQ(hook.events[1].key(), 0x11D);
    EXPECT_EQ(hook.events[2].key(), 0x138);
    EXPECT_EQ(hook.events[3].key(), 0x15C);
}

TEST(KeyEventFilter, EventsWithoutScanCodeGoByTheirQtKey) {
    KeyTarget target;
    RecordingHook hook(true);
    Send(&target, QEvent::KeyPress, Qt::Key_Home, Qt::KeypadModifier);
    Send(&target, QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier);
    Send(&target, QEvent::KeyPress, Qt::Key_Home);
    Send(&target, QEvent::KeyPress, Qt::Key_Enter, Qt::KeypadModifier);
    Send(&target, QEvent::KeyPress, Qt::Key_Meta, Qt::MetaModifier);
    Send(&target, QEvent::KeyPress, Qt::Key_Menu);
    Send(&target, QEvent::KeyPress, Qt::Key_VolumeUp);
    Send(&target, QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier);
    Send(&target, QEvent::KeyPress, Qt::Key_Pause, Qt::ControlModifier);
    ASSERT_EQ(hook.events.size(), 9u);
    EXPECT_EQ(hook.events[0].vk, 0x24);  // Num Lock off
    EXPECT_EQ(hook.events[0].key(), 0x047);
    EXPECT_EQ(hook.events[1].vk, 0x67);
    EXPECT_EQ(hook.events[1].key(), 0x047);
    EXPECT_EQ(hook.events[2].key(), 0x147);
    EXPECT_EQ(hook.events[3].key(), 0x11C);
    EXPECT_EQ(hook.events[4].key(), 0x15B);
    EXPECT_EQ(hook.events[5].key(), 0x15D);
    EXPECT_EQ(hook.events[6].key(), 0x130);
    EXPECT_EQ(hook.events[7].key(), 0x002);
    EXPECT_EQ(hook.events[8].key(), 0x146);

    // Keys no catalogue key stands for reach the window untouched.
    Send(&target, QEvent::KeyPress, Qt::Key_MonBrightnessUp);
    EXPECT_EQ(hook.events.size(), 9u);
    EXPECT_EQ(target.presses, 1);
}

TEST(KeyEventFilter, PrintScreenIsOfferedOnReleaseOnly) {
    KeyTarget target;
    RecordingHook hook(true);
    Send(&target, QEvent::KeyPress, Qt::Key_Print, Qt::NoModifier, KEY_SYSRQ);
    EXPECT_TRUE(hook.events.empty());
    Send(&target, QEvent::KeyRelease, Qt::Key_Print, Qt::NoModifier, KEY_SYSRQ);
    ASSERT_EQ(hook.events.size(), 1u);
    EXPECT_EQ(hook.events[0].key(), 0x137);
    EXPECT_TRUE(hook.events[0].release());
    EXPECT_EQ(target.presses, 1);
    EXPECT_EQ(target.releases, 0);
}

TEST(KeyEventFilter, AReleaseReportsTheKeyItsPressReported) {
    KeyTarget target;
    RecordingHook hook(true);
    // Ctrl let go before Pause: the press was Break, so is the release.
    Send(&target, QEvent::KeyPress, Qt::Key_Pause, Qt::ControlModifier, KEY_PAUSE);
    Send(&target, QEvent::KeyRelease, Qt::Key_Pause, Qt::NoModifier, KEY_PAUSE);
    ASSERT_EQ(hook.events.size(), 2u);
    EXPECT_EQ(hook.events[0].key(), 0x146);
    EXPECT_EQ(hook.events[1].key(), 0x146);
    EXPECT_TRUE(hook.events[1].release());
}

TEST(KeyEventFilter, HooksHearKeysBeforeShortcuts) {
    QWidget window;
    auto* target = new KeyTarget(&window);
    int triggered = 0;
    auto* action = new QAction(&window);
    action->setShortcut(Qt::Key_F5);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, [&] { ++triggered; });
    window.show();
    target->setFocus();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    QTest::keyClick(window.windowHandle(), Qt::Key_F5);
    EXPECT_EQ(triggered, 1);
    {
        RecordingHook hook(true);
        QTest::keyClick(window.windowHandle(), Qt::Key_F5);
        ASSERT_EQ(hook.events.size(), 2u);
        EXPECT_EQ(hook.events[0].key(), 0x03F);
    }
    EXPECT_EQ(triggered, 1);
}

}  // namespace
}  // namespace qv::ui
