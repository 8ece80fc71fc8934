#include "ui/skin/window_system.h"

#include <QGuiApplication>

namespace qv::ui {
namespace {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace

bool CanPlaceTopLevelWindows() { return !OnWayland(); }

bool MasksShapeTopLevelWindows() { return !OnWayland(); }

}  // namespace qv::ui
