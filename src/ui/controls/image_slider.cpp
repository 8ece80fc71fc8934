#include "ui/controls/image_slider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace qv::ui {

CImageSlider::CImageSlider(int controlId, int positions, QWidget* parent)
    : QWidget(parent), controlId_(controlId), positions_(std::max(2, positions)) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setProperty("controlId", controlId);
}

void CImageSlider::SetPictures(std::vector<QPixmap> pictures) {
    pictures_ = std::move(pictures);
    update();
}

void CImageSlider::SetPosition(int position) {
    const int p = std::clamp(position, 0, positions_ - 1);
    if (p == position_) return;
    position_ = p;
    update();
}

int CImageSlider::Margin() const {
    // The pictures leave room at both ends for the knob; a tenth of the width on small sliders.
    return std::min(10, width() / 10);
}

int CImageSlider::PositionX(int position) const {
    const int span = width() - 2 * Margin();
    return Margin() + span * std::clamp(position, 0, positions_ - 1) / (positions_ - 1);
}

int CImageSlider::PositionAt(int x) const {
    const double span = std::max(1, width() - 2 * Margin());
    const double at = (x - Margin()) * (positions_ - 1) / span;
    return std::clamp(static_cast<int>(std::lround(at)), 0, positions_ - 1);
}

void CImageSlider::MoveTo(int position) {
    const int p = std::clamp(position, 0, positions_ - 1);
    if (p == position_) return;
    position_ = p;
    // The picture follows at once, before anyone hears of the move.
    repaint();
    emit moved(controlId_, position_);
}

void CImageSlider::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const std::size_t i = static_cast<std::size_t>(position_);
    if (i < pictures_.size() && !pictures_[i].isNull()) p.drawPixmap(0, 0, pictures_[i]);
    if (hasFocus()) {
        // Keyboard users see where the arrow keys act.
        p.setPen(QPen(QColor(0x21, 0xc7, 0xff, 110), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    }
}

void CImageSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    dragging_ = true;
    setFocus(Qt::MouseFocusReason);
    MoveTo(PositionAt(static_cast<int>(event->position().x())));
}

void CImageSlider::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton)) MoveTo(PositionAt(static_cast<int>(event->position().x())));
}

void CImageSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragging_ = false;
}

void CImageSlider::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down: MoveTo(position_ - 1); return;
    case Qt::Key_Right:
    case Qt::Key_Up: MoveTo(position_ + 1); return;
    case Qt::Key_Home: MoveTo(0); return;
    case Qt::Key_End: MoveTo(positions_ - 1); return;
    default: QWidget::keyPressEvent(event);
    }
}

void CImageSlider::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) MoveTo(position_ + steps);
    event->accept();
}

}  // namespace qv::ui
