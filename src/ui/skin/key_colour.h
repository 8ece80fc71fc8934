#pragma once
// A key in the lighting colours: its light cap multiplied by the colour, its legends laid over.
// A preview tick recolours a hundred keys; one pass over the pixels here replaces a Multiply fill
// and a blend of the legends through QPainter, with the same sums, so the look is unchanged.

#include <QColor>
#include <QImage>

#include <array>

namespace qv::ui {

// One legend ink, premultiplied at each of the 256 coverages.
using LegendInk = std::array<QRgb, 256>;
LegendInk MakeLegendInk(const QColor& ink);

// The legends of the coloured keys: how much ink covers each pixel (the legends picture's
// brightness, Grayscale8, at the caps picture's scale) and the ink for dark and for light colours.
// A byte a pixel, shared by both inks: the keys read it on every change of colour.
struct KeyLegends {
    QImage coverage;
    LegendInk onDark = MakeLegendInk(QColor(0xf4, 0xf6, 0xf8));
    LegendInk onLight = MakeLegendInk(QColor(0x12, 0x14, 0x18));
};

// `out` = the ink at `coverage` over (`cap` × `colour`), as QPainter's Multiply mode and then its
// SourceOver would paint the premultiplied legend layer. `cap` is RGB32 and `coverage` Grayscale8
// of the same size; `out` is written in place when it already has that size, and takes the
// cap's device pixel ratio.
void ColourKey(const QImage& cap, const QImage& coverage, const LegendInk& ink, const QColor& colour, QImage& out);

}  // namespace qv::ui
