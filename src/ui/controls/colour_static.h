#pragma once
// A label drawn in its own colour on the skin's background: the texts of the lighting panel.

#include <QColor>
#include <QLabel>

namespace qv::ui {

class CColourStatic : public QLabel {
    Q_OBJECT
public:
    enum class Style { kHeading, kCaption };

    CColourStatic(int controlId, Style style, QWidget* parent = nullptr);

    int ControlId() const { return controlId_; }
    void SetTextColour(QColor colour);
    QColor TextColour() const { return colour_; }

private:
    int controlId_;
    QColor colour_;
};

}  // namespace qv::ui
