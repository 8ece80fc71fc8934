#include "ui/skin/png_button.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace qv::ui {
namespace {

// The Windows DrawText bits the captions use.
constexpr int kDtCenter = 0x01;
constexpr int kDtRight = 0x02;
constexpr int kDtVCenter = 0x04;
constexpr int kDtBottom = 0x08;

Qt::Alignment AlignmentOf(int format) {
    Qt::Alignment a;
    a |= (format & kDtCenter) ? Qt::AlignHCenter : ((format & kDtRight) ? Qt::AlignRight : Qt::AlignLeft);
    a |= (format & kDtVCenter) ? Qt::AlignVCenter : ((format & kDtBottom) ? Qt::AlignBottom : Qt::AlignTop);
    return a;
}

// The piece of `picture` at `rect` (in its pixels), cut again only when the picture or the place
// changed; true when it was. The legends are made at the caps picture's scale, so the pieces
// match; a picture at another scale is fitted.
bool CutFrom(CPngButton::PictureCut& cut, const QImage& picture, const QRect& rect, const QSize& size, QImage::Format format) {
    if (!cut.image.isNull() && cut.pictureKey == picture.cacheKey() && cut.rect == rect) return false;
    cut.image = picture.copy(rect).convertToFormat(format);
    if (cut.image.size() != size) cut.image = cut.image.scaled(size);
    cut.pictureKey = picture.cacheKey();
    cut.rect = rect;
    return true;
}

// Perceived brightness decides which legend ink stays readable on a coloured cap.
bool LegendIsDark(const QColor& cap) {
    return (cap.red() * 299 + cap.green() * 587 + cap.blue() * 114) / 1000 > 150;
}

}  // namespace

CPngButton::CPngButton(int controlId, QWidget* parent) : QAbstractButton(parent), controlId_(controlId) {
    setMouseTracking(true);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Pressing and releasing change the face through Qt's own repaint.
    for (auto signal : {&QAbstractButton::pressed, &QAbstractButton::released}) {
        connect(this, signal, this, &CPngButton::TellHost);
    }
}

// Every face covers the whole button, so nothing behind it needs painting. Fusion, the style the
// standard dialogs wear, takes that mark off buttons when it polishes them; it is put back, or
// a preview tick would repaint the window's background under every key as well.
bool CPngButton::event(QEvent* event) {
    const bool handled = QAbstractButton::event(event);
    if (event->type() == QEvent::Polish) setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

void CPngButton::changeEvent(QEvent* event) {
    QAbstractButton::changeEvent(event);
    if (event->type() == QEvent::StyleChange) setAttribute(Qt::WA_OpaquePaintEvent);
    if (event->type() == QEvent::EnabledChange) TellHost();
}

void CPngButton::SetFaces(int sourceX, int sourceY, const FaceSet& faces, bool redraw) {
    sourceX_ = sourceX;
    sourceY_ = sourceY;
    SetFaces(faces, redraw);
}

void CPngButton::SetFaces(const FaceSet& faces, bool redraw) {
    faces_ = faces;
    hover_ = false;
    tracking_ = false;
    setDown(false);
    if (redraw) Refresh();
}

void CPngButton::SetSourceOrigin(int x, int y, bool redraw) {
    sourceX_ = x;
    sourceY_ = y;
    if (redraw) Refresh();
}

void CPngButton::SetAltFaces(const QPixmap* off, const QPixmap* on, bool switchOn, bool showOn, bool redraw) {
    altOff_ = off;
    altOn_ = on;
    altSwitch_ = switchOn;
    altShowOn_ = showOn;
    if (redraw) Refresh();
}

void CPngButton::SetDrawCaption(bool on) {
    drawCaption_ = on;
    Refresh();
}

void CPngButton::SetCaptionFont(const QString& face, double points, QColor colour, int format) {
    fontFace_ = face;
    fontPoints_ = points;
    textColour_ = colour;
    textFormat_ = format;
    drawCaption_ = true;
    Refresh();
}

void CPngButton::SetCaptionMargins(int left, int right, int top, int bottom) {
    marginLeft_ = left;
    marginRight_ = right;
    marginTop_ = top;
    marginBottom_ = bottom;
    Refresh();
}

void CPngButton::SetEscapement(int tenthsOfDegree, bool bold) {
    escapement_ = tenthsOfDegree;
    bold_ = bold;
    Refresh();
}

void CPngButton::SetFrame(QColor colour, bool on) {
    frameColour_ = colour;
    frameMode_ = on;
    Refresh();
}

void CPngButton::SetTooltip(const QString& text, bool active) {
    tooltip_ = text;
    tooltipActive_ = active;
    setToolTip(active ? text : QString());
}

void CPngButton::SetAssigned(bool assigned) {
    if (assigned_ == assigned) return;
    assigned_ = assigned;
    Refresh();
}

void CPngButton::SetColourFaces(const QPixmap* caps, const KeyLegends* legends) {
    colourCaps_ = caps;
    legends_ = legends;
    if (lightColour_) Refresh();
}

void CPngButton::ShowLightColour(QColor colour) {
    // The preview sets most keys to the colour they already show; only a change repaints.
    if (lightColour_ && *lightColour_ == colour) return;
    lightColour_ = colour;
    Refresh();
}

void CPngButton::ShowPlainLook() {
    const bool changed = lightColour_.has_value() || isDown();
    lightColour_.reset();
    setDown(false);
    if (changed) Refresh();
}

bool CPngButton::DrawLightColour(QPainter& p) {
    if (!colourCaps_ || !legends_ || legends_->coverage.isNull()) return false;
    QColor colour = *lightColour_;
    if (isDown()) colour = colour.darker(150);
    const QRectF source = PixelRect(*colourCaps_, FaceRect());
    const QRect cut = source.toAlignedRect();
    const QRect coverageCut = PixelRect(legends_->coverage, FaceRect()).toAlignedRect();
    // The key's pieces of the pictures are cut once, and coloured only when its colour changes:
    // hover, press and the window's own repaints draw the kept result again.
    const bool newCap = CutFrom(capCut_, colourCaps_->toImage(), cut, cut.size(), QImage::Format_RGB32);
    const bool newCoverage = CutFrom(coverageCut_, legends_->coverage, coverageCut, cut.size(), QImage::Format_Grayscale8);
    if (newCap || newCoverage || colouredFor_ != colour.rgb()) {
        ColourKey(capCut_.image, coverageCut_.image, LegendIsDark(colour) ? legends_->onLight : legends_->onDark, colour, coloured_);
        colouredFor_ = colour.rgb();
    }
    p.drawImage(QRectF(rect()), coloured_, source.translated(-cut.topLeft()));
    if (hover_) {
        p.setPen(QPen(QColor(255, 255, 255, 170), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -2.5), 5, 5);
    }
    return true;
}

QRectF CPngButton::FaceRect() const { return QRectF(sourceX_ - 1, sourceY_ - 1, width(), height()); }

CPngButton::Face CPngButton::ChooseFace() const {
    if (!isEnabled()) return Face::kDisabled;
    if (altSwitch_) return altShowOn_ ? Face::kAltOn : Face::kAltOff;
    if (isDown()) return Face::kPressed;
    if (hover_) return Face::kHover;
    return Face::kNormal;
}

const QPixmap* CPngButton::SourceFor(Face face) const {
    switch (face) {
    case Face::kDisabled: return faces_.disabled;
    case Face::kAltOff: return altOff_;
    case Face::kAltOn: return altOn_;
    case Face::kPressed: return faces_.down;
    case Face::kHover: return faces_.over;
    case Face::kNormal:
    case Face::kFrame: break;
    }
    return faces_.normal;
}

void CPngButton::SetLookHost(std::function<void(CPngButton*)> host) {
    lookHost_ = std::move(host);
    if (!lookHost_) update();
}

void CPngButton::Refresh() {
    if (lookHost_) {
        lookHost_(this);
    } else {
        update();
    }
}

void CPngButton::TellHost() {
    if (lookHost_) lookHost_(this);
}

void CPngButton::SetCaption(const QString& text) {
    if (text == this->text()) return;
    setText(text);
    Refresh();
}

void CPngButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const Face face = PaintLook(p);
    p.end();
    if (paintCallback_) paintCallback_(this, face == Face::kNormal);
}

CPngButton::Face CPngButton::PaintLook(QPainter& p) {
    const Face face = ChooseFace();
    // A lighting colour is the key's whole look, without the assignment mark.
    const bool coloured = lightColour_ && face != Face::kDisabled && DrawLightColour(p);
    if (!coloured) {
        const QPixmap* source = SourceFor(face);
        if (source != nullptr && source->isNull() && faces_.decode) faces_.decode();
        if (source != nullptr) {
            p.drawPixmap(QRectF(rect()), *source, PixelRect(*source, FaceRect()));
        } else {
            p.fillRect(rect(), QColor(0x1c, 0x1f, 0x25));
        }
    }
    if (frameMode_) {
        p.setPen(QPen(frameColour_, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(2, 2, -2, -2));
    }
    if (assigned_ && !coloured) {
        // A small accent corner says "this key does something else now".
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath corner;
        const double s = std::min(10.0, std::min(width(), height()) / 3.0);
        corner.moveTo(width() - 3 - s, 3);
        corner.lineTo(width() - 3, 3);
        corner.lineTo(width() - 3, 3 + s);
        corner.closeSubpath();
        p.fillPath(corner, QColor(0xff, 0x9f, 0x2e));
    }
    if (drawCaption_) DrawCaption(p);
    return face;
}

void CPngButton::DrawCaption(QPainter& p) {
    const QString text = this->text().left(260);
    if (text.isEmpty()) return;
    QFont font(fontFace_);
    // Points to pixels by the screen's vertical resolution, as the captions were designed.
    const double dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(fontPoints_ * dpi / 72.0))));
    font.setWeight(bold_ ? QFont::Black : QFont::Normal);
    p.setFont(font);
    QColor colour = textColour_;
    if (!isEnabled()) colour.setAlpha(110);  // a disabled button's caption recedes with its face
    if (lightColour_ && isEnabled() && colourCaps_) {
        // On a coloured cap the caption takes the legends' ink, or it would vanish into the cap.
        colour = LegendIsDark(*lightColour_) ? QColor(0x12, 0x14, 0x18) : QColor(0xf4, 0xf6, 0xf8);
    }
    p.setPen(colour);
    p.setRenderHint(QPainter::TextAntialiasing);
    QRect r = rect().adjusted(marginLeft_, marginTop_, marginRight_, marginBottom_);
    if (escapement_ != 0) {
        // Rotate about the centre so the turned text stays centred in the button.
        p.save();
        p.translate(r.center());
        p.rotate(-escapement_ / 10.0);
        const QFontMetrics fm(font);
        const QRect box(-fm.horizontalAdvance(text) / 2 - 2, -fm.height() / 2, fm.horizontalAdvance(text) + 4, fm.height());
        p.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, text);
        p.restore();
        return;
    }
    p.drawText(r, AlignmentOf(textFormat_) | Qt::TextSingleLine, text);
}

void CPngButton::enterEvent(QEnterEvent* event) {
    hover_ = true;
    tracking_ = true;
    Refresh();
    if (tooltipActive_ && !tooltip_.isEmpty()) QToolTip::showText(event->globalPosition().toPoint(), tooltip_, this);
    QAbstractButton::enterEvent(event);
}

void CPngButton::leaveEvent(QEvent* event) {
    hover_ = false;
    tracking_ = false;
    Refresh();
    QAbstractButton::leaveEvent(event);
}

void CPngButton::mouseMoveEvent(QMouseEvent* event) {
    if (!tracking_) {
        tracking_ = true;
        hover_ = true;
        Refresh();
    }
    const bool wasDown = isDown();
    QAbstractButton::mouseMoveEvent(event);
    if (isDown() != wasDown) TellHost();
}

void CPngButton::mouseDoubleClickEvent(QMouseEvent* event) {
    // A fast second click is a click, not something else.
    mousePressEvent(event);
}

}  // namespace qv::ui
