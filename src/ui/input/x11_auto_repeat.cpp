#include "ui/input/x11_auto_repeat.h"

#include <QGuiApplication>

#if defined(QV_HAVE_X11) && QT_CONFIG(xcb)
#include <X11/XKBlib.h>
#endif

namespace qv::ui {

void RequestDetectableAutoRepeat() {
#if defined(QV_HAVE_X11) && QT_CONFIG(xcb)
    if (qGuiApp == nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->display() == nullptr) return;
    Bool supported = False;
    XkbSetDetectableAutoRepeat(x11->display(), True, &supported);
#endif
}

}  // namespace qv::ui
