// A window with the key event filter installed that prints every key event its hook is offered:
// "<press|repeat|release> <key code> <virtual key>", all hex. It prints "ready" once the
// window has the keyboard focus, and swallows every key so nothing else reacts to them.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_hook.h"
#include "ui/input/key_event_filter.h"

namespace {

class PrintingHook : public qv::KeyHook {
public:
    bool OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) override {
        const char* what = (lParam & 0x80000000u) != 0   ? "release"
                           : (lParam & 0x40000000u) != 0 ? "repeat"
                                                         : "press";
        std::printf("%s %03X %02X\n", what, static_cast<unsigned>(qv::KeyFromWindowsEvent(vk, lParam)),
                    static_cast<unsigned>(vk));
        std::fflush(stdout);
        return true;
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    qv::ui::InstallKeyEventFilter(app);
    PrintingHook hook;
    qv::ui::InstallKeyHook(&hook);

    QWidget window;
    window.setWindowTitle("key probe");
    window.setFocusPolicy(Qt::StrongFocus);
    window.setGeometry(0, 0, 320, 200);
    window.show();
    window.activateWindow();

    bool ready = false;
    auto announce = [&] {
        if (ready || QGuiApplication::focusWindow() != window.windowHandle()) return;
        ready = true;
        std::printf("ready\n");
        std::fflush(stdout);
    };
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &window, announce);
    announce();
    // Without a window manager nobody else gives the window the focus; ask again until it has it.
    QTimer retry;
    QObject::connect(&retry, &QTimer::timeout, &window, [&] {
        if (!ready) window.activateWindow();
    });
    retry.start(100);
    // Never outlive the check that started it.
    QTimer::singleShot(60000, &app, &QCoreApplication::quit);
    const int rc = QApplication::exec();
    qv::ui::RemoveKeyHook(&hook);
    return rc;
}
