#include "ui/controls/picture_button.h"

#include <QPainter>

namespace qv::ui {

CPictureButton::CPictureButton(int controlId, QWidget* parent) : QAbstractButton(parent), controlId_(controlId) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setProperty("controlId", controlId);
}

void CPictureButton::SetPicture(const QPixmap& picture, const QString& name) {
    if (name == name_ && picture.cacheKey() == picture_.cacheKey()) return;
    picture_ = picture;
    name_ = name;
    update();
}

void CPictureButton::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawPixmap(0, 0, picture_);
}

}  // namespace qv::ui
