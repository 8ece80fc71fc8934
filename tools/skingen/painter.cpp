#include "painter.h"
#include "palette.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace skingen {
namespace {

QFont UiFont(double px, int weight = QFont::Normal) {
    QFont f("DejaVu Sans");
    f.setPixelSize(static_cast<int>(px + 0.5));
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

QPainterPath Rounded(const QRectF& r, double radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void DrawWindowFrame(QPainter& p, const Dialog& d) {
    const QRectF all(0, 0, d.size.width(), d.size.height());
    QLinearGradient bg(0, 0, 0, all.height());
    bg.setColorAt(0, QColor(0x1c, 0x1f, 0x25));
    bg.setColorAt(1, QColor(0x10, 0x12, 0x16));
    p.fillRect(all, bg);
    // Header band with a thin accent line under it.
    p.fillRect(QRectF(0, 0, all.width(), 54), QColor(0x14, 0x16, 0x1b));
    QLinearGradient line(0, 0, all.width(), 0);
    line.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    line.setColorAt(0.25, kAccent);
    line.setColorAt(0.75, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 90));
    line.setColorAt(1, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    p.fillRect(QRectF(0, 54, all.width(), 1), line);
    for (const QRect& r : d.panels) {
        p.setPen(QPen(QColor(0x2a, 0x2e, 0x36), 1));
        QLinearGradient fill(r.topLeft(), r.bottomLeft());
        fill.setColorAt(0, QColor(0x19, 0x1c, 0x21));
        fill.setColorAt(1, QColor(0x15, 0x17, 0x1b));
        p.setBrush(fill);
        p.drawPath(Rounded(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 10));
    }
    if (!d.title.isEmpty()) {
        p.setPen(kText);
        p.setFont(UiFont(15, QFont::Bold));
        p.drawText(QRectF(24, 12, 400, 30), Qt::AlignLeft | Qt::AlignVCenter, d.title);
    }
    for (const auto& [r, text] : d.headings) {
        p.setPen(kMuted);
        p.setFont(UiFont(10, QFont::Bold));
        p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    p.setPen(QPen(QColor(0x30, 0x35, 0x3e), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(Rounded(all.adjusted(0.5, 0.5, -0.5, -0.5), d.cornerRadius));
}

struct CapColours {
    QColor top, bottom, border, legend;
    double sink = 0;
};

CapColours CapFor(Face face) {
    switch (face) {
    case Face::kOver: return {QColor(0x3c, 0x42, 0x4e), QColor(0x2e, 0x33, 0x3c), kAccent, Qt::white};
    case Face::kDown: return {QColor(0x17, 0x6a, 0x88), QColor(0x0f, 0x49, 0x5e), kAccent, Qt::white, 1.5};
    case Face::kDisable: return {QColor(0x21, 0x24, 0x29), QColor(0x1c, 0x1e, 0x22), QColor(0x28, 0x2b, 0x30), kDim};
    case Face::kNormal: break;
    }
    return {QColor(0x33, 0x37, 0x40), QColor(0x26, 0x29, 0x30), QColor(0x42, 0x47, 0x52), kText};
}

// A cap's legends inside its body: the shifted one small above the main one, or the main one
// alone, sized by its length.
void DrawLegend(QPainter& p, const QRectF& body, const QString& legend, const QString& shifted, QColor main,
                QColor small) {
    const QRectF text = body.adjusted(4, 3, -4, -3);
    if (!shifted.isEmpty()) {
        const bool word = shifted.size() > 1;
        p.setFont(UiFont(word ? 8 : 10));
        p.setPen(small);
        p.drawText(text.adjusted(0, 0, 0, -text.height() / 2), Qt::AlignHCenter | Qt::AlignVCenter, shifted);
        p.setPen(main);
        p.setFont(UiFont(12, QFont::DemiBold));
        p.drawText(text.adjusted(0, text.height() / 2, 0, 0), Qt::AlignHCenter | Qt::AlignVCenter, legend);
        return;
    }
    const bool single = legend.size() <= 2;
    const bool longWord = legend.size() > 5;
    p.setPen(main);
    p.setFont(single ? UiFont(legend.size() == 1 ? 14 : 12, QFont::DemiBold) : UiFont(longWord ? 9 : 10));
    p.drawText(text, Qt::AlignCenter, legend);
}

void DrawCap(QPainter& p, const QRectF& r, Face face, const QString& legend, const QString& shifted,
             bool accentLegend) {
    const CapColours c = CapFor(face);
    // Shadow under the cap, then the cap itself.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x09, 0x0b));
    p.drawPath(Rounded(r.adjusted(0, 2, 0, 1), 5));
    const QRectF body = r.adjusted(0, c.sink, 0, c.sink - 1);
    QLinearGradient g(body.topLeft(), body.bottomLeft());
    g.setColorAt(0, c.top);
    g.setColorAt(1, c.bottom);
    p.setBrush(g);
    p.setPen(QPen(c.border, face == Face::kOver || face == Face::kDown ? 1.4 : 1.0));
    p.drawPath(Rounded(body.adjusted(0.5, 0.5, -0.5, -0.5), 5));
    if (face == Face::kNormal || face == Face::kOver) {
        p.setPen(QPen(QColor(255, 255, 255, face == Face::kOver ? 40 : 22), 1));
        p.drawLine(QPointF(body.left() + 5, body.top() + 1.5), QPointF(body.right() - 5, body.top() + 1.5));
    }
    QColor legendColour = c.legend;
    if (accentLegend && face == Face::kNormal) legendColour = kAccent;
    const QColor small = face == Face::kDisable ? kDim : (face == Face::kNormal ? kMuted : legendColour);
    DrawLegend(p, body, legend, shifted, legendColour, small);
}

void DrawButton(QPainter& p, const QRectF& r, Face face, bool primary, double radius = 6) {
    QColor top, bottom, border;
    switch (face) {
    case Face::kNormal:
        top = primary ? QColor(0x16, 0x8f, 0xbb) : QColor(0x2e, 0x32, 0x3b);
        bottom = primary ? QColor(0x0e, 0x6b, 0x8d) : QColor(0x25, 0x28, 0x2f);
        border = primary ? QColor(0x29, 0xb4, 0xe4) : QColor(0x3d, 0x42, 0x4c);
        break;
    case Face::kOver:
        top = primary ? QColor(0x22, 0xa9, 0xda) : QColor(0x38, 0x3e, 0x4a);
        bottom = primary ? QColor(0x14, 0x82, 0xab) : QColor(0x2d, 0x32, 0x3b);
        border = kAccent;
        break;
    case Face::kDown:
        top = QColor(0x0c, 0x54, 0x6e);
        bottom = QColor(0x0a, 0x43, 0x58);
        border = kAccent;
        break;
    case Face::kDisable:
        top = QColor(0x23, 0x25, 0x2a);
        bottom = QColor(0x1f, 0x21, 0x25);
        border = QColor(0x2b, 0x2e, 0x33);
        break;
    }
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.setBrush(g);
    p.setPen(QPen(border, 1));
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}

void DrawTab(QPainter& p, const QRectF& r, Face face) {
    const bool lit = face == Face::kDown;
    QColor fill = lit ? QColor(0x15, 0x33, 0x40) : (face == Face::kOver ? QColor(0x2c, 0x31, 0x3a) : QColor(0x22, 0x25, 0x2b));
    if (face == Face::kDisable) fill = QColor(0x1d, 0x1f, 0x23);
    p.setPen(QPen(face == Face::kOver ? kAccent : QColor(0x34, 0x38, 0x41), 1));
    p.setBrush(fill);
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    if (lit) {
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(QRectF(r.left() + 10, r.bottom() - 3, r.width() - 20, 3), 1.5, 1.5);
        QRadialGradient glow(QPointF(r.center().x(), r.bottom()), r.width() / 2);
        glow.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 60));
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(glow);
        p.drawRect(r.adjusted(1, r.height() / 2, -1, -4));
    }
}

void DrawIcon(QPainter& p, const QRectF& r, Face face, const QString& what) {
    const bool close = what == "close";
    if (face == Face::kOver || face == Face::kDown) {
        p.setPen(Qt::NoPen);
        QColor bg = close ? QColor(0xd9, 0x35, 0x4a) : QColor(0x2e, 0x33, 0x3c);
        if (face == Face::kDown) bg = close ? QColor(0xa8, 0x24, 0x36) : QColor(0x0e, 0x5a, 0x75);
        p.setBrush(bg);
        p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 5));
    }
    const QColor ink = face == Face::kNormal ? QColor(0xa9, 0xaf, 0xb9) : (face == Face::kDisable ? kDim : Qt::white);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    if (close) {
        p.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
        p.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
    } else if (what == "min") {
        p.drawLine(c + QPointF(-6, 4), c + QPointF(6, 4));
    } else if (what == "osk") {
        // A small keyboard: body, three rows of keys, space bar.
        p.setPen(QPen(ink, 1.3));
        p.drawRoundedRect(QRectF(c.x() - 11, c.y() - 7, 22, 14), 2.5, 2.5);
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 5; ++col) {
                p.drawRect(QRectF(c.x() - 8.5 + col * 3.6, c.y() - 4.5 + row * 3.4, 2.2, 2.0));
            }
        }
        p.drawRect(QRectF(c.x() - 5, c.y() + 2.6, 10, 1.8));
    } else if (what == "menu") {
        for (int dy : {-5, 0, 5}) p.drawLine(c + QPointF(-6, dy), c + QPointF(6, dy));
    } else {
        p.setFont(UiFont(15, QFont::Bold));
        p.setPen(ink);
        p.drawText(r, Qt::AlignCenter, what);
    }
}

void DrawRate(QPainter& p, const QRectF& r, Face face, const QString& legend) {
    const bool lit = face == Face::kDown;
    QColor fill = lit ? kAccent : QColor(0x22, 0x25, 0x2b);
    if (face == Face::kOver) fill = QColor(0x2c, 0x31, 0x3a);
    if (face == Face::kDisable) fill = QColor(0x1d, 0x1f, 0x23);
    p.setPen(QPen(face == Face::kOver ? kAccent : (lit ? kAccent : QColor(0x34, 0x38, 0x41)), 1));
    p.setBrush(fill);
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), r.height() / 2));
    p.setPen(lit ? QColor(0x06, 0x1a, 0x22) : (face == Face::kDisable ? kDim : (face == Face::kOver ? Qt::white : QColor(0xb4, 0xba, 0xc4))));
    p.setFont(UiFont(10, lit ? QFont::Bold : QFont::Normal));
    p.drawText(r, Qt::AlignCenter, legend);
}

void DrawLed(QPainter& p, const QRectF& r, Face face, const QString& legend) {
    const bool lit = face == Face::kOver || face == Face::kDown;
    const QPointF c(r.center().x(), r.top() + 10);
    if (lit) {
        QRadialGradient glow(c, 10);
        glow.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 150));
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 10, 10);
    }
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0f), 1));
    p.setBrush(lit ? kAccent : QColor(0x2a, 0x3a, 0x42));
    p.drawEllipse(c, 4, 4);
    p.setPen(lit ? kText : kMuted);
    p.setFont(UiFont(8, QFont::DemiBold));
    p.drawText(QRectF(r.left() - 4, r.top() + 18, r.width() + 8, 14), Qt::AlignCenter, legend);
}

void DrawBank(QPainter& p, const QRectF& r, Face face) {
    const bool bankB = face == Face::kOver || face == Face::kDown;
    const QRectF a(r.left(), r.top() + 4, r.width() / 2 - 2, r.height() - 8);
    const QRectF b(r.center().x() + 2, r.top() + 4, r.width() / 2 - 2, r.height() - 8);
    auto half = [&](const QRectF& h, const QString& text, bool lit) {
        p.setPen(QPen(lit ? kAccent : QColor(0x34, 0x38, 0x41), 1));
        p.setBrush(lit ? QColor(0x12, 0x3f, 0x50) : QColor(0x1d, 0x20, 0x25));
        p.drawPath(Rounded(h.adjusted(0.5, 0.5, -0.5, -0.5), 4));
        p.setPen(lit ? Qt::white : kDim);
        p.setFont(UiFont(12, QFont::Bold));
        p.drawText(h, Qt::AlignCenter, text);
    };
    half(a, "A", !bankB);
    half(b, "B", bankB);
}

void DrawFlipTab(QPainter& p, const QRectF& r, Face face) {
    p.setPen(QPen(face == Face::kOver || face == Face::kDown ? kAccent : QColor(0x34, 0x38, 0x41), 1));
    p.setBrush(face == Face::kDown ? QColor(0x0e, 0x5a, 0x75) : QColor(0x23, 0x26, 0x2d));
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 4));
}

void DrawBrand(QPainter& p, const QRectF& r, Face face) {
    // A chevron mark in front of the word.
    const QColor mark = face == Face::kOver ? Qt::white : kAccent;
    QPainterPath chevron;
    const double h = r.height() - 10;
    const QPointF o(r.left() + 2, r.top() + 5);
    chevron.moveTo(o);
    chevron.lineTo(o + QPointF(h * 0.55, h / 2));
    chevron.lineTo(o + QPointF(0, h));
    chevron.lineTo(o + QPointF(h * 0.25, h));
    chevron.lineTo(o + QPointF(h * 0.8, h / 2));
    chevron.lineTo(o + QPointF(h * 0.25, 0));
    chevron.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    p.drawPath(chevron);
    p.drawPath(chevron.translated(h * 0.38, 0));
    QFont f = UiFont(19, QFont::Bold);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 2.2);
    p.setFont(f);
    p.setPen(face == Face::kOver ? kAccent : (face == Face::kDown ? kMuted : QColor(0xf2, 0xf4, 0xf7)));
    p.drawText(r.adjusted(h * 1.3 + 4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, "QUORVANE");
}

void DrawField(QPainter& p, const QRectF& r, Face face) {
    p.setPen(QPen(face == Face::kOver ? kAccent : (face == Face::kDown ? kAccent : QColor(0x34, 0x38, 0x41)), 1));
    p.setBrush(face == Face::kDown ? QColor(0x12, 0x2f, 0x3b) : QColor(0x17, 0x19, 0x1e));
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    p.setPen(QPen(face == Face::kDisable ? kDim : kAccent, 1.6, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(r.right() - 16, r.center().y());
    p.drawLine(c + QPointF(-4, -2), c + QPointF(0, 2));
    p.drawLine(c + QPointF(0, 2), c + QPointF(4, -2));
}

void DrawZone(QPainter& p, const QRectF& r) {
    p.setPen(QPen(QColor(0x23, 0x26, 0x2c), 1));
    p.setBrush(QColor(0x12, 0x14, 0x18));
    p.drawPath(Rounded(r.adjusted(-2.5, -2.5, -1.5, 1.5), 7));
}

// Buttons whose pictures carry their meaning instead of a caption: add and delete.
void DrawGlyph(QPainter& p, const QRectF& r, Face face, const QString& what) {
    const QColor ink = face == Face::kDisable ? kDim : (face == Face::kNormal ? kText : Qt::white);
    if (what == "reset") {
        // A turning arrow left of the caption: back to the factory function.
        const QPointF c(r.left() + 18, r.center().y());
        p.setPen(QPen(face == Face::kDisable ? kDim : kAccent, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - 6, c.y() - 6, 12, 12), 100 * 16, 290 * 16);
        p.drawLine(c + QPointF(-1.5, -6), c + QPointF(-5.5, -8.5));
        p.drawLine(c + QPointF(-1.5, -6), c + QPointF(-4.5, -2));
        return;
    }
    if (what != "add" && what != "delete") return;
    p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
    const QPointF c = r.center();
    p.drawLine(c + QPointF(-7, 0), c + QPointF(7, 0));
    if (what == "add") p.drawLine(c + QPointF(0, -7), c + QPointF(0, 7));
}

bool InSet(const Element& e, const std::string& set) {
    return e.sets.empty() || std::find(e.sets.begin(), e.sets.end(), set) != e.sets.end();
}

void DrawRecordButton(QPainter& p, const QRectF& r, Face face) {
    DrawButton(p, r, face, false);
    // The record light: dark red at rest, lit while pressed (recording shows the pressed face).
    const QPointF c(r.left() + 15, r.center().y());
    const bool lit = face == Face::kDown;
    if (lit || face == Face::kOver) {
        QRadialGradient glow(c, 9);
        glow.setColorAt(0, QColor(0xff, 0x3b, 0x4e, lit ? 170 : 90));
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, 9, 9);
    }
    p.setPen(QPen(QColor(0x0b, 0x0c, 0x0f), 1));
    p.setBrush(face == Face::kDisable ? QColor(0x4a, 0x2a, 0x2e) : (lit ? QColor(0xff, 0x4d, 0x5e) : QColor(0xc8, 0x2d, 0x3d)));
    p.drawEllipse(c, 4.5, 4.5);
}

void DrawTitle(QPainter& p, const QRectF& r, const QString& mark) {
    // A small badge: a key cap for the key settings, a record light for the macro settings.
    const QRectF badge(r.left() + 2, r.center().y() - 13, 26, 26);
    p.setPen(QPen(QColor(0x34, 0x38, 0x41), 1));
    p.setBrush(QColor(0x1d, 0x20, 0x25));
    p.drawPath(Rounded(badge.adjusted(0.5, 0.5, -0.5, -0.5), 6));
    if (mark == "macro") {
        QRadialGradient glow(badge.center(), 10);
        glow.setColorAt(0, QColor(0xff, 0x3b, 0x4e, 120));
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(badge.center(), 10, 10);
        p.setBrush(QColor(0xff, 0x4d, 0x5e));
        p.drawEllipse(badge.center(), 4.5, 4.5);
    } else {
        p.setPen(QPen(kAccent, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(badge.adjusted(6, 6, -6, -7), 3, 3);
        p.drawLine(QPointF(badge.left() + 10, badge.bottom() - 4.5), QPointF(badge.right() - 10, badge.bottom() - 4.5));
    }
}

// A large key cap for the page artwork.
void ArtCap(QPainter& p, const QRectF& r, const QString& legend, bool lit) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x08, 0x09, 0x0b));
    p.drawPath(Rounded(r.adjusted(0, 4, 0, 3), 10));
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, lit ? QColor(0x1b, 0x4d, 0x60) : QColor(0x30, 0x34, 0x3d));
    g.setColorAt(1, lit ? QColor(0x10, 0x33, 0x40) : QColor(0x22, 0x25, 0x2b));
    p.setBrush(g);
    p.setPen(QPen(lit ? kAccent : QColor(0x45, 0x4a, 0x55), 1.5));
    p.drawPath(Rounded(r.adjusted(0.5, 0.5, -0.5, -0.5), 10));
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawLine(QPointF(r.left() + 10, r.top() + 2.5), QPointF(r.right() - 10, r.top() + 2.5));
    p.setPen(lit ? Qt::white : kText);
    p.setFont(UiFont(r.height() * (legend.size() > 1 ? 0.32 : 0.42), QFont::DemiBold));
    p.drawText(r, Qt::AlignCenter, legend);
}

void ArtGlow(QPainter& p, const QPointF& c, double radius) {
    QRadialGradient glow(c, radius);
    glow.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 38));
    glow.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(c, radius, radius);
}

// The page picture: the panel with a drawing of what the page does in its free right-hand part
// (the macro pages keep the panel plain; their list and buttons fill it).
void DrawPageArt(QPainter& p, const QRectF& panel, const std::string& set) {
    const QRectF art(panel.left() + 420, panel.top() + 24, 140, 230);
    const QPointF c = art.center();
    if (set == "key") {
        ArtGlow(p, c, 110);
        ArtCap(p, QRectF(c.x() - 36, art.top() + 6, 72, 72), "A", false);
        ArtCap(p, QRectF(c.x() - 36, art.bottom() - 78, 72, 72), "B", true);
        p.setPen(QPen(kAccent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const double top = art.top() + 94, bottom = art.bottom() - 94;
        p.drawLine(QPointF(c.x(), top), QPointF(c.x(), bottom));
        p.drawLine(QPointF(c.x() - 7, bottom - 8), QPointF(c.x(), bottom));
        p.drawLine(QPointF(c.x() + 7, bottom - 8), QPointF(c.x(), bottom));
    } else if (set == "media") {
        ArtGlow(p, c, 110);
        p.setPen(QPen(QColor(0x45, 0x4a, 0x55), 2));
        p.setBrush(QColor(0x22, 0x25, 0x2b));
        p.drawEllipse(c, 56, 56);
        p.setPen(QPen(kAccent, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - 56, c.y() - 56, 112, 112), 90 * 16, -250 * 16);
        QPainterPath play;
        play.moveTo(c + QPointF(-14, -22));
        play.lineTo(c + QPointF(24, 0));
        play.lineTo(c + QPointF(-14, 22));
        play.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(play);
        // Volume bars under the disc.
        for (int i = 0; i < 5; ++i) {
            const double h = 6 + i * 5;
            p.setBrush(i < 3 ? kAccent : QColor(0x3a, 0x3f, 0x48));
            p.drawRoundedRect(QRectF(c.x() - 30 + i * 13, art.bottom() - h, 8, h), 2, 2);
        }
    } else if (set == "function") {
        ArtGlow(p, c, 110);
        ArtCap(p, QRectF(c.x() - 44, art.top() + 30, 88, 88), "Fn", true);
        const QString small[] = {"C", "V", "Z"};
        for (int i = 0; i < 3; ++i) {
            ArtCap(p, QRectF(c.x() - 66 + i * 46, art.bottom() - 62, 40, 40), small[i], false);
        }
    }
}

void DrawElement(QPainter& p, const Element& e, Face face, const std::string& set) {
    const QRectF r(e.rect);
    switch (e.look) {
    case Look::kKey: DrawCap(p, r, face, e.legend, e.shifted, false); break;
    case Look::kGKey: DrawCap(p, r, face, e.legend, e.shifted, true); break;
    case Look::kDKey: DrawCap(p, r, face, e.legend, {}, true); break;
    case Look::kButton:
        DrawButton(p, r, face, false);
        DrawGlyph(p, r, face, e.legend);
        break;
    case Look::kPrimary: DrawButton(p, r, face, true); break;
    case Look::kRecord: DrawRecordButton(p, r, face); break;
    case Look::kTitle: DrawTitle(p, r, e.legend); break;
    case Look::kPageArt: DrawPageArt(p, r, set); break;
    case Look::kTab: DrawTab(p, r, face); break;
    case Look::kField: DrawField(p, r, face); break;
    case Look::kRate: DrawRate(p, r, face, e.legend); break;
    case Look::kIcon: DrawIcon(p, r, face, e.legend); break;
    case Look::kLed: DrawLed(p, r, face, e.legend); break;
    case Look::kBank: DrawBank(p, r, face); break;
    case Look::kFlipTab: DrawFlipTab(p, r, face); break;
    case Look::kFlipZone: DrawZone(p, r); break;
    case Look::kBrand: DrawBrand(p, r, face); break;
    case Look::kBlank:
    case Look::kPlain:
    case Look::kHidden: break;
    }
}

// The bank light is created disabled: bank A shows its disabled face, so that face lights A.
Face FaceOf(const Element& e, Face face) {
    if (e.look == Look::kBank && face == Face::kDisable) return Face::kNormal;
    if (e.look == Look::kFlipZone) return Face::kNormal;
    return face;
}

}  // namespace

QImage Canvas(QSize logical, double scale, QImage::Format format) {
    QImage img(static_cast<int>(std::ceil(logical.width() * scale)), static_cast<int>(std::ceil(logical.height() * scale)),
               format);
    img.setDevicePixelRatio(scale);
    return img;
}

QImage DrawBackground(const Dialog& d, double scale) {
    QImage img = Canvas(d.size, scale, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawWindowFrame(p, d);
    const std::string set = d.faceSets.empty() ? std::string() : d.faceSets.front();
    for (const Element& e : d.elements) {
        if (e.imageButton && e.look != Look::kDKey && InSet(e, set)) {
            DrawElement(p, e, FaceOf(e, Face::kNormal), set);
        }
    }
    return img;
}

QImage DrawFaces(const Dialog& d, Face face, const std::string& set, double scale) {
    QImage img = Canvas(QSize(d.size.width(), d.size.height() + d.faceStripHeight), scale, QImage::Format_RGB32);
    img.fill(QColor(0x10, 0x12, 0x16));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(-1, -1);
    DrawWindowFrame(p, d);
    for (const Element& e : d.elements) {
        if (e.imageButton && e.look != Look::kDKey && InSet(e, set)) DrawElement(p, e, FaceOf(e, face), set);
    }
    p.resetTransform();
    // Read at 1x so that every variant takes the same colour.
    const QImage background = DrawBackground(d, 1);
    // What lies around an element in the window lies around it in the strip too.
    for (const FaceOrigin& o : d.faceOrigins) {
        for (const Element& e : d.elements) {
            if (e.key != o.key) continue;
            const QColor around = background.pixelColor(e.rect.center().x(), std::max(0, e.rect.top() - 4));
            p.fillRect(o.rect.adjusted(-4, -4, 4, 4), around);
        }
    }
    for (const FaceOrigin& o : d.faceOrigins) {
        for (const Element& e : d.elements) {
            if (e.key != o.key) continue;
            Element moved = e;
            moved.rect = o.rect;
            DrawElement(p, moved, FaceOf(e, face), set);
        }
    }
    return img;
}

// The mask stays at 1x: the window's shape and hit-testing are in logical pixels.
QImage DrawMask(const Dialog& d) {
    QImage img(d.size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRect(QPoint(0, 0), d.size), d.cornerRadius, d.cornerRadius);
    return img;
}

QImage DrawColourKeys(const Dialog& d, bool lit, double scale) {
    // lit: light caps without legends, which take a lighting colour by multiplication; not lit:
    // the legends alone, white on black, which the program lays over a coloured cap.
    QImage img = Canvas(QSize(d.size.width(), d.size.height() + d.faceStripHeight), scale, QImage::Format_RGB32);
    img.fill(lit ? QColor(0x10, 0x12, 0x16) : Qt::black);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(-1, -1);
    if (lit) DrawWindowFrame(p, d);
    for (const Element& e : d.elements) {
        if (e.look != Look::kKey && e.look != Look::kGKey) continue;
        const QRectF r(e.rect);
        const QRectF body = r.adjusted(0, 0, 0, -1);
        if (!lit) {
            DrawLegend(p, body, e.legend, e.shifted, Qt::white, QColor(0xb0, 0xb0, 0xb0));
            continue;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x08, 0x09, 0x0b));
        p.drawPath(Rounded(r.adjusted(0, 2, 0, 1), 5));
        QLinearGradient g(body.topLeft(), body.bottomLeft());
        g.setColorAt(0, QColor(0xff, 0xff, 0xff));
        g.setColorAt(1, QColor(0xc4, 0xc4, 0xc4));
        p.setBrush(g);
        p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1));
        p.drawPath(Rounded(body.adjusted(0.5, 0.5, -0.5, -0.5), 5));
    }
    return img;
}

}  // namespace skingen
