#pragma once
// Counts the paint events a widget gets, to tell which widgets a repaint reached.

#include <QEvent>
#include <QObject>

namespace qv::test {

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

}  // namespace qv::test
