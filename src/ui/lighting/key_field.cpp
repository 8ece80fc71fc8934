#include "ui/lighting/key_field.h"

#include <QEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

#include "ui/skin/png_button.h"

namespace qv::ui {

CKeyField::CKeyField(std::vector<CPngButton*> keys) {
    std::erase(keys, nullptr);
    if (keys.empty()) return;
    QWidget* window = keys.front()->parentWidget();
    setParent(window);
    // Drawn in the order Qt would stack them, so overlapping keys come out the same.
    const QObjectList& stack = window->children();
    std::ranges::sort(keys, {}, [&stack](CPngButton* key) { return stack.indexOf(key); });
    keys_.assign(keys.begin(), keys.end());
    // Clicks, hover and tooltips are the buttons' under the field.
    setObjectName(QStringLiteral("key_field"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

bool CKeyField::Reshape() {
    // The field is exactly the shown keys: whatever lies between or in place of them (a hidden
    // key's stand-in) stays the window's.
    QRegion shape;
    for (const CPngButton* key : keys_) {
        if (key != nullptr && key->isVisibleTo(parentWidget())) shape += key->geometry();
    }
    if (shape.isEmpty()) return false;
    setGeometry(shape.boundingRect());
    shape_ = shape.translated(-pos());
    setMask(shape_);
    update();
    return true;
}

void CKeyField::Cover() {
    if (covering_ || keys_.empty() || !Reshape()) return;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        CPngButton* key = keys_[i];
        if (key == nullptr) continue;
        key->SetLookHost([this, i](CPngButton* changed) { KeyChanged(i, changed); });
        key->installEventFilter(this);
    }
    covering_ = true;
    raise();
    show();
}

void CKeyField::Uncover() {
    if (!covering_) return;
    covering_ = false;
    hide();
    for (CPngButton* key : keys_) {
        if (key == nullptr) continue;
        key->removeEventFilter(this);
        key->SetLookHost({});
    }
}

bool CKeyField::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (covering_ && !Reshape()) Uncover();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void CKeyField::KeyChanged(std::size_t index, CPngButton* key) {
    if (!covering_) return;
    if (batching_) {
        changed_[index] = true;
    } else if (key->isVisibleTo(parentWidget())) {
        update(key->geometry().translated(-pos()));
    }
}

void CKeyField::BeginBatch() {
    batching_ = true;
    changed_.assign(keys_.size(), false);
}

void CKeyField::EndBatch() {
    batching_ = false;
    if (!covering_) return;
    // Only the keys that changed are repainted: a key left alone may carry a caption, whose text
    // costs more to draw than a cap. Their region is built the cheap way round: a tick changes
    // most keys, and merging a hundred rectangles one by one costs more than painting them.
    std::vector<QRect> changed;
    std::vector<QRect> unchanged;
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const CPngButton* key = keys_[i];
        if (key == nullptr || !key->isVisibleTo(parentWidget())) continue;
        (changed_[i] ? changed : unchanged).push_back(key->geometry().translated(-pos()));
    }
    if (changed.empty()) return;
    QRegion dirty;
    if (changed.size() > unchanged.size()) {
        dirty = shape_;
        for (const QRect& place : unchanged) dirty -= place;
        // A changed key that overlaps one left alone gets its part back.
        for (const QRect& place : changed) {
            if (std::ranges::any_of(unchanged, [&place](const QRect& other) { return other.intersects(place); })) dirty += place;
        }
    } else {
        for (const QRect& place : changed) dirty += place;
    }
    update(dirty);
}

void CKeyField::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect bounds = event->rect();
    for (CPngButton* key : keys_) {
        if (key == nullptr || !key->isVisibleTo(parentWidget())) continue;
        const QRect place = key->geometry().translated(-pos());
        if (!place.intersects(bounds) || !event->region().intersects(place)) continue;
        p.save();
        p.translate(place.topLeft());
        // Each key is drawn clipped to itself: a caption can reach past its key, and on the
        // field's clip of many rectangles Qt draws a picture span by span (on its thread pool
        // once a key is tall enough), where inside one rectangle it copies it row by row.
        p.setClipRect(QRect(QPoint(), place.size()));
        key->PaintLook(p);
        p.restore();
    }
}

}  // namespace qv::ui
