#pragma once
// A colour button: shows its colour as a swatch; a click opens the colour picker and a colour
// picked there is reported with the button's control id. A cancelled picker reports nothing.

#include <QAbstractButton>
#include <QColor>

#include <functional>
#include <optional>

namespace qv::ui {

class CColourButton : public QAbstractButton {
    Q_OBJECT
public:
    // How a colour is chosen: the current colour in, the picked one out (nothing when cancelled).
    using Chooser = std::function<std::optional<QColor>(QColor current, QWidget* parent)>;

    explicit CColourButton(int controlId, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }
    void SetColour(QColor colour);
    QColor Colour() const { return colour_; }
    // The colour picker dialog unless replaced.
    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

signals:
    void colourPicked(int controlId, QColor colour);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void Choose();

    int controlId_;
    QColor colour_ = Qt::black;
    Chooser chooser_;
    bool hover_ = false;
};

}  // namespace qv::ui
