#pragma once
// Draws the pictures of a skinned window from its description.

#include <QImage>

#include "skin_description.h"

namespace skingen {

enum class Face { kNormal, kOver, kDown, kDisable };

// Every picture is drawn in the window's logical coordinates; `scale` says how many device pixels
// one logical pixel gets (1 for the plain files, 2 and 3 for the "@2x" and "@3x" variants), so one
// drawing serves every screen and the layout files never change.
QImage Canvas(QSize logical, double scale, QImage::Format format);

// The window as it looks before any control paints: frame, panels and every image button in its
// normal face.
QImage DrawBackground(const Dialog& d, double scale);
// A full-window face picture of one state. Faces are cut one pixel up and to the left of a
// button's position, so the picture is drawn shifted by (-1, -1); the strip of face origins
// below the window is drawn unshifted.
QImage DrawFaces(const Dialog& d, Face face, const std::string& set, double scale);
// Windows shape: black where the window is, white elsewhere.
QImage DrawMask(const Dialog& d);
// The lighting view's key pictures: light caps without legends (lit), and the legends alone.
QImage DrawColourKeys(const Dialog& d, bool lit, double scale);
QImage DrawArrows(double scale);
// The opening mark of the drop-down lists on every dialog.
QImage DrawComboArrow(double scale);

// Small pictures of the lighting strip and the busy indicator.
QImage DrawSlider(int position, bool speed, double scale);
QImage DrawSwitch(bool on, double scale);
QImage DrawColourful(bool on, double scale);
QImage DrawDirection(const QString& kind, bool chosen, double scale);
QImage DrawSwatch(QColor colour, bool chosen, double scale);
QImage DrawTool(bool paint, bool chosen, double scale);
QImage DrawBusy(int frame, double scale);
// The arrow of the lighting panel's drop-down lists.
QImage DrawDropArrow(double scale);
QImage DrawTrayIcon(int kind, int size);

}  // namespace skingen
