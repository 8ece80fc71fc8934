#include "ui/controls/focus_wheel_combo.h"

#include <QWheelEvent>

namespace qv::ui {

CFocusWheelComboBox::CFocusWheelComboBox(QWidget* parent) : QComboBox(parent) {
    // Not Qt::WheelFocus: turning the wheel must not be what gives it the focus.
    setFocusPolicy(Qt::StrongFocus);
}

void CFocusWheelComboBox::wheelEvent(QWheelEvent* event) {
    if (!hasFocus()) {
        event->ignore();  // goes on to the parent
        return;
    }
    QComboBox::wheelEvent(event);
}

}  // namespace qv::ui
