#pragma once
// The window shape from a mask picture: every maximal run of non-transparent pixels in a row
// becomes a one-pixel-high rectangle.

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

namespace qv::ui {

inline constexpr int kRegionBatch = 2000;

// A pixel is transparent when each channel lies in [key, key + tolerance] (capped at 255).
std::vector<QRect> MaskRuns(const QImage& mask, QRgb key, QRgb tolerance);
// The runs united into a region, 2000 rectangles at a time. Empty when nothing is opaque (the
// window then keeps its rectangle).
QRegion RegionFromMask(const QImage& mask, QRgb key = qRgb(255, 255, 255), QRgb tolerance = qRgb(0, 0, 0));
// Builds the region of `rects` with the batching rule (exposed for tests).
QRegion RegionFromRuns(const std::vector<QRect>& rects, int batch = kRegionBatch);

}  // namespace qv::ui
