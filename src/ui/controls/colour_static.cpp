#include "ui/controls/colour_static.h"

namespace qv::ui {

CColourStatic::CColourStatic(int controlId, Style style, QWidget* parent) : QLabel(parent), controlId_(controlId) {
    setProperty("controlId", controlId);
    setAttribute(Qt::WA_TranslucentBackground);
    QFont f = font();
    if (style == Style::kHeading) {
        // Small capitals-like headings over each group, as the report-rate label.
        f.setPixelSize(11);
        f.setBold(true);
        f.setLetterSpacing(QFont::AbsoluteSpacing, 1);
        SetTextColour(QColor(0x8a, 0x90, 0x9a));
    } else {
        f.setPixelSize(12);
        SetTextColour(QColor(0xc8, 0xcc, 0xd3));
    }
    setFont(f);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CColourStatic::SetTextColour(QColor colour) {
    colour_ = colour;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}

}  // namespace qv::ui
