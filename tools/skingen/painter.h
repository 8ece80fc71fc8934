#pragma once
// Draws the pictures of a skinned window from its description.

#include <QImage>

#include "skin_description.h"

namespace skingen {

enum class Face { kNormal, kOver, kDown, kDisable };

// The window as it looks before any control paints: frame, panels and every image button in its
// normal face.
QImage DrawBackground(const Dialog& d);
// A full-window face picture of one state. Faces are cut one pixel up and to the left of a
// button's position, so the picture is drawn shifted by (-1, -1); the strip of face origins
// below the window is drawn unshifted.
QImage DrawFaces(const Dialog& d, Face face, const std::string& set);
// Windows shape: black where the window is, white elsewhere.
QImage DrawMask(const Dialog& d);
// The lighting view's key pictures: light caps without legends (lit), and the legends alone.
QImage DrawColourKeys(const Dialog& d, bool lit);
QImage DrawArrows();
// The opening mark of the drop-down lists on every dialog.
QImage DrawComboArrow();

// Small pictures of the lighting strip and the busy indicator.
QImage DrawSlider(int position, bool speed);
QImage DrawSwitch(bool on);
QImage DrawColourful(bool on);
QImage DrawDirection(const QString& kind, bool chosen);
QImage DrawSwatch(QColor colour, bool chosen);
QImage DrawTool(bool paint, bool chosen);
QImage DrawBusy(int frame);
// The arrow of the lighting panel's drop-down lists.
QImage DrawDropArrow();
QImage DrawTrayIcon(int kind, int size);

}  // namespace skingen
