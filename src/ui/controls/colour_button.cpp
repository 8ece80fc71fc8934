#include "ui/controls/colour_button.h"

#include <QColorDialog>
#include <QPainter>

namespace qv::ui {

CColourButton::CColourButton(int controlId, QWidget* parent) : QAbstractButton(parent), controlId_(controlId) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setProperty("controlId", controlId);
    connect(this, &QAbstractButton::clicked, this, [this] { Choose(); });
}

void CColourButton::SetColour(QColor colour) {
    if (colour == colour_) return;
    colour_ = colour;
    setToolTip(colour_.name(QColor::HexRgb).toUpper());
    update();
}

void CColourButton::Choose() {
    std::optional<QColor> picked;
    if (chooser_) {
        picked = chooser_(colour_, window());
    } else {
        // The toolkit's own dialog, so it wears the skin's look rather than the desktop's.
        const QColor c = QColorDialog::getColor(colour_, window(), QString(), QColorDialog::DontUseNativeDialog);
        if (c.isValid()) picked = c;
    }
    if (!picked || !picked->isValid()) return;
    SetColour(*picked);
    emit colourPicked(controlId_, *picked);
}

void CColourButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(hover_ || isDown() ? QColor(0x21, 0xc7, 0xff) : QColor(0x3d, 0x42, 0x4c), 1));
    p.setBrush(QColor(0x22, 0x25, 0x2b));
    p.drawRoundedRect(frame, 6, 6);
    const QRectF swatch = frame.adjusted(4, 4, -4, -4);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(isEnabled() ? colour_ : colour_.darker(250));
    p.drawRoundedRect(swatch, 4, 4);
}

void CColourButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CColourButton::leaveEvent(QEvent* event) {
    hover_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace qv::ui
