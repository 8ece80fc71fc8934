#pragma once
// Counts the paint events a widget gets, to tell which widgets a repaint reached, and what the
// last one painted.

#include <QEvent>
#include <QObject>
#include <QPaintEvent>
#include <QRegion>

namespace qv::test {

class PaintCounter : public QObject {
public:
    int paints = 0;
    QRegion lastRegion;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) {
            ++paints;
            lastRegion = static_cast<QPaintEvent*>(e)->region();
        }
        return false;
    }
};

}  // namespace qv::test
