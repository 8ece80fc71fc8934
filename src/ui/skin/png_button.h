#pragma once
// The image button: its faces are cut from full-window state pictures at the button's place, so a
// whole dialog's look lives in a few pictures.

#include <QAbstractButton>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QString>

#include <functional>
#include <optional>

#include "ui/skin/key_colour.h"
#include "ui/skin/skin_pictures.h"

class QPainter;

namespace qv::ui {

class CPngButton : public QAbstractButton {
    Q_OBJECT
public:
    enum class Face { kNormal, kHover, kPressed, kDisabled, kAltOff, kAltOn, kFrame };
    // Called after every paint with the button and whether the normal face is showing.
    using PaintCallback = std::function<void(CPngButton*, bool normalFaceShown)>;

    explicit CPngButton(int controlId, QWidget* parent = nullptr);

    // A piece of a picture a key keeps while it shows a lighting colour.
    struct PictureCut {
        QImage image;
        qint64 pictureKey = 0;
        QRect rect;
    };

    int ControlId() const { return controlId_; }

    void SetFaces(int sourceX, int sourceY, const FaceSet& faces, bool redraw = true);
    void SetFaces(const FaceSet& faces, bool redraw = true);
    void SetSourceOrigin(int x, int y, bool redraw = true);
    QPoint SourceOrigin() const { return {sourceX_, sourceY_}; }
    const FaceSet& Faces() const { return faces_; }
    void SetAltFaces(const QPixmap* off, const QPixmap* on, bool switchOn, bool showOn, bool redraw = true);

    // Caption drawing: the button's text over its face.
    void SetDrawCaption(bool on);
    void SetCaptionFont(const QString& face, double points, QColor colour, int format = kCentred);
    void SetCaptionMargins(int left, int right, int top, int bottom);
    void SetEscapement(int tenthsOfDegree, bool bold);
    void SetPaintCallback(PaintCallback callback) { paintCallback_ = std::move(callback); }
    void SetFrame(QColor colour, bool on);

    void SetTooltip(const QString& text, bool active);
    QString TooltipText() const { return tooltip_; }
    bool TooltipActive() const { return tooltipActive_; }

    // The key has an assignment of its own (key buttons mark it).
    void SetAssigned(bool assigned);
    bool Assigned() const { return assigned_; }

    // The lighting view: a key shows a colour on a light cap cut from `caps`, multiplied by the
    // colour, with its legends on top in the ink that reads on that colour. The pictures are
    // borrowed like the faces.
    void SetColourFaces(const QPixmap* caps, const KeyLegends* legends);
    void ShowLightColour(QColor colour);
    // Back to the plain look: no lighting colour, not pressed.
    void ShowPlainLook();
    std::optional<QColor> LightColour() const { return lightColour_; }

    bool Hovered() const { return hover_; }

    // Draws the button's look, as its paint event does, into `p` at the button's own
    // coordinates; returns the face it chose. Only a caption may reach past the button's rect.
    Face PaintLook(QPainter& p);
    // While a host paints the button over it (the lighting view's key field), every change of
    // its look is told to the host instead of repainting the button; an empty host ends that.
    // The text is then changed with SetCaption, which tells the host as well.
    void SetLookHost(std::function<void(CPngButton*)> host);
    void SetCaption(const QString& text);
    // The face the next paint shows, by the fixed order: disabled, alternative pair, pressed,
    // hover, normal.
    Face ChooseFace() const;

    // Draw-text format bits used by the captions (single line, centred both ways).
    static constexpr int kCentred = 37;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    const QPixmap* SourceFor(Face face) const;
    // The look changed: the button repaints, or its host is told.
    void Refresh();
    // Qt repainted the button on its own (pressed, released, enabled): a host has to be told.
    void TellHost();
    // Where this button's face lies in the face pictures, in logical pixels.
    QRectF FaceRect() const;
    void DrawCaption(QPainter& p);
    // False when the colour pictures are missing (the key then shows its faces).
    bool DrawLightColour(QPainter& p);

    int controlId_;
    FaceSet faces_;
    const QPixmap* altOff_ = nullptr;
    const QPixmap* altOn_ = nullptr;
    bool altSwitch_ = false;
    bool altShowOn_ = false;
    bool hover_ = false;
    bool tracking_ = false;
    int sourceX_ = 0;
    int sourceY_ = 0;
    bool drawCaption_ = false;
    double fontPoints_ = 8;
    QString fontFace_ = QStringLiteral("Tahoma");
    QColor textColour_ = Qt::white;
    int textFormat_ = kCentred;
    int marginLeft_ = 0, marginRight_ = 0, marginTop_ = 0, marginBottom_ = 0;
    int escapement_ = 0;
    bool bold_ = false;
    PaintCallback paintCallback_;
    std::function<void(CPngButton*)> lookHost_;
    QString tooltip_;
    bool tooltipActive_ = false;
    bool frameMode_ = false;
    QColor frameColour_;
    bool assigned_ = false;
    const QPixmap* colourCaps_ = nullptr;
    const KeyLegends* legends_ = nullptr;
    std::optional<QColor> lightColour_;
    // The light cap and the legends' coverage under this key, cut from the pictures, and the key
    // in its last colour.
    PictureCut capCut_;
    PictureCut coverageCut_;
    QImage coloured_;
    std::optional<QRgb> colouredFor_;
};

}  // namespace qv::ui
