#pragma once
// A key in the lighting colours: its light cap multiplied by the colour, its legends laid over.
// A preview tick recolours a hundred keys; one pass over the pixels here replaces a Multiply fill
// and a blend of the legends through QPainter, with the same sums, so the look is unchanged.

#include <QColor>
#include <QImage>

namespace qv::ui {

// `out` = `legend` over (`cap` × `colour`), as QPainter's Multiply mode and then its SourceOver
// would paint it. `cap` is RGB32 and `legend` ARGB32_Premultiplied of the same size; `out` is
// written in place when it already has that size.
void ColourKey(const QImage& cap, const QImage& legend, const QColor& colour, QImage& out);

}  // namespace qv::ui
