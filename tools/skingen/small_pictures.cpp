// The small pictures: drop-down arrows, flip arrows, the lighting strip's sliders, switches,
// direction and colour pictures, the busy indicator and the tray icons.

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "painter.h"
#include "palette.h"

namespace skingen {

QImage DrawComboArrow(double scale) {
    QImage img = Canvas(QSize(12, 8), scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(2, 2), QPointF(6, 6));
    p.drawLine(QPointF(6, 6), QPointF(10, 2));
    return img;
}

QImage DrawArrows(double scale) {
    QImage img = Canvas(ArrowPictureSize(), scale, QImage::Format_RGB32);
    img.fill(QColor(0x23, 0x26, 0x2d));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (const ArrowFace& a : ArrowFaces()) {
        const QRectF r(a.rect);
        p.setPen(QPen(a.lit ? kAccent : QColor(0xb4, 0xba, 0xc4), 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF c = r.center();
        const double s = a.up ? -1 : 1;
        p.drawLine(c + QPointF(-4, -2 * s), c + QPointF(0, 2 * s));
        p.drawLine(c + QPointF(0, 2 * s), c + QPointF(4, -2 * s));
    }
    return img;
}

QImage DrawSlider(int position, bool speed, double scale) {
    QImage img = Canvas(QSize(150, 30), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = 10, right = 140, y = 15;
    const double x = left + (right - left) * position / 5.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2c, 0x30, 0x38));
    p.drawRoundedRect(QRectF(left, y - 3, right - left, 6), 3, 3);
    QLinearGradient g(left, 0, right, 0);
    g.setColorAt(0, speed ? QColor(0x7b, 0x5c, 0xff) : kAccentDeep);
    g.setColorAt(1, speed ? QColor(0xc0, 0x7b, 0xff) : kAccent);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(left, y - 3, x - left, 6), 3, 3);
    for (int i = 0; i <= 5; ++i) {
        const double tx = left + (right - left) * i / 5.0;
        p.setBrush(i <= position ? QColor(255, 255, 255, 120) : QColor(0x3a, 0x3f, 0x48));
        p.drawEllipse(QPointF(tx, y), 1.5, 1.5);
    }
    p.setBrush(Qt::white);
    p.setPen(QPen(speed ? QColor(0xa0, 0x7b, 0xff) : kAccent, 2));
    p.drawEllipse(QPointF(x, y), 7, 7);
    return img;
}

QImage DrawSwitch(bool on, double scale) {
    QImage img = Canvas(QSize(60, 30), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(on ? kAccent : QColor(0x3a, 0x3f, 0x48), 1));
    p.setBrush(on ? kAccentDeep : QColor(0x24, 0x27, 0x2e));
    p.drawRoundedRect(QRectF(4, 5, 52, 20), 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? Qt::white : QColor(0x8a, 0x90, 0x9a));
    p.drawEllipse(QPointF(on ? 45 : 15, 15), 7, 7);
    return img;
}

QImage DrawColourful(bool on, double scale) {
    QImage img = Canvas(QSize(24, 24), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (on) {
        QConicalGradient g(QPointF(12, 12), 90);
        const QColor stops[] = {Qt::red, Qt::yellow, Qt::green, Qt::cyan, Qt::blue, Qt::magenta, Qt::red};
        for (int i = 0; i < 7; ++i) g.setColorAt(i / 6.0, stops[i]);
        p.setBrush(g);
        p.setPen(QPen(Qt::white, 1.5));
    } else {
        p.setBrush(QColor(0x24, 0x27, 0x2e));
        p.setPen(QPen(QColor(0x4a, 0x4f, 0x58), 1.5));
    }
    p.drawEllipse(QPointF(12, 12), 9, 9);
    return img;
}

QImage DrawDirection(const QString& kind, bool chosen, double scale) {
    QImage img = Canvas(QSize(44, 30), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(chosen ? kAccent : QColor(0x34, 0x38, 0x41), 1));
    p.setBrush(chosen ? QColor(0x12, 0x3f, 0x50) : QColor(0x22, 0x25, 0x2b));
    p.drawRoundedRect(QRectF(0.5, 0.5, 43, 29), 6, 6);
    p.setPen(QPen(chosen ? Qt::white : QColor(0xa9, 0xaf, 0xb9), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QPointF c(22, 15);
    auto arrow = [&](QPointF from, QPointF to) {
        p.drawLine(from, to);
        const QPointF d = to - from;
        const double len = std::hypot(d.x(), d.y());
        const QPointF u = d / len, n(-u.y(), u.x());
        p.drawLine(to, to - u * 5 + n * 4);
        p.drawLine(to, to - u * 5 - n * 4);
    };
    if (kind == "left") arrow(c + QPointF(9, 0), c + QPointF(-9, 0));
    if (kind == "right") arrow(c + QPointF(-9, 0), c + QPointF(9, 0));
    if (kind == "up") arrow(c + QPointF(0, 8), c + QPointF(0, -8));
    if (kind == "down") arrow(c + QPointF(0, -8), c + QPointF(0, 8));
    if (kind == "out") {
        arrow(c + QPointF(-3, 0), c + QPointF(-13, 0));
        arrow(c + QPointF(3, 0), c + QPointF(13, 0));
    }
    if (kind == "in") {
        arrow(c + QPointF(-14, 0), c + QPointF(-4, 0));
        arrow(c + QPointF(14, 0), c + QPointF(4, 0));
    }
    return img;
}

QImage DrawSwatch(QColor colour, bool chosen, double scale) {
    QImage img = Canvas(QSize(28, 28), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(chosen ? Qt::white : QColor(0x0b, 0x0c, 0x0f), chosen ? 2 : 1));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(3, 3, 22, 22), 5, 5);
    if (chosen) {
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(9, 14), QPointF(13, 18));
        p.drawLine(QPointF(13, 18), QPointF(20, 10));
    }
    return img;
}

QImage DrawTool(bool paint, bool chosen, double scale) {
    QImage img = Canvas(QSize(34, 30), scale, QImage::Format_RGB32);
    img.fill(QColor(0x18, 0x1b, 0x20));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(chosen ? kAccent : QColor(0x34, 0x38, 0x41), 1));
    p.setBrush(chosen ? QColor(0x12, 0x3f, 0x50) : QColor(0x22, 0x25, 0x2b));
    p.drawRoundedRect(QRectF(0.5, 0.5, 33, 29), 6, 6);
    const QColor ink = chosen ? Qt::white : QColor(0xa9, 0xaf, 0xb9);
    p.translate(17, 15);
    p.rotate(-40);
    if (paint) {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(-2, -2, 4, 12), 1.5, 1.5);
        p.setBrush(chosen ? kAccent : QColor(0xe0, 0x6a, 0x3a));
        p.drawEllipse(QRectF(-4, -11, 8, 10));
    } else {
        p.setPen(QPen(ink, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(-5, -9, 10, 18), 2, 2);
        p.setBrush(ink);
        p.drawRoundedRect(QRectF(-5, -9, 10, 7), 2, 2);
    }
    return img;
}

QImage DrawDropArrow(double scale) {
    QImage img = Canvas(QSize(12, 8), scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kAccent, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(2, 2), QPointF(6, 6));
    p.drawLine(QPointF(6, 6), QPointF(10, 2));
    return img;
}

QImage DrawBusy(int frame, double scale) {
    QImage img = Canvas(QSize(160, 12), scale, QImage::Format_RGB32);
    img.fill(QColor(0x10, 0x12, 0x16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x25, 0x2b));
    p.drawRoundedRect(QRectF(0, 3, 160, 6), 3, 3);
    const double centre = -20 + (frame - 1) * 200.0 / 9.0;
    QLinearGradient g(centre - 40, 0, centre + 40, 0);
    g.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    g.setColorAt(0.5, kAccent);
    g.setColorAt(1, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 3, 160, 6), 3, 3);
    return img;
}

QImage DrawTrayIcon(int kind, int size) {
    // kind 0: no keyboard, 1: keyboard present, 2: macro activity
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    const QColor body = kind == 0 ? QColor(0x6b, 0x71, 0x7b) : kAccent;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x14, 0x16, 0x1b));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
    QPainterPath chevron;
    chevron.moveTo(14, 14);
    chevron.lineTo(32, 32);
    chevron.lineTo(14, 50);
    chevron.lineTo(22, 50);
    chevron.lineTo(40, 32);
    chevron.lineTo(22, 14);
    chevron.closeSubpath();
    p.setBrush(body);
    p.drawPath(chevron);
    p.drawPath(chevron.translated(12, 0));
    if (kind == 2) {
        p.setBrush(QColor(0xff, 0x4d, 0x5e));
        p.setPen(QPen(QColor(0x14, 0x16, 0x1b), 3));
        p.drawEllipse(QPointF(50, 14), 9, 9);
    }
    return img;
}

}  // namespace skingen
