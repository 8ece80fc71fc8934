#include "ui/skin/mask_region.h"

#include <algorithm>

namespace qv::ui {

std::vector<QRect> MaskRuns(const QImage& mask, QRgb key, QRgb tolerance) {
    std::vector<QRect> runs;
    if (mask.isNull()) return runs;
    const QImage pixels = mask.convertToFormat(QImage::Format_RGB32);
    const auto upper = [](int base, int tol) { return std::min(255, base + tol); };
    const int rLo = qRed(key), gLo = qGreen(key), bLo = qBlue(key);
    const int rHi = upper(rLo, qRed(tolerance)), gHi = upper(gLo, qGreen(tolerance)),
              bHi = upper(bLo, qBlue(tolerance));
    const auto transparent = [&](QRgb px) {
        const int r = qRed(px), g = qGreen(px), b = qBlue(px);
        return r >= rLo && r <= rHi && g >= gLo && g <= gHi && b >= bLo && b <= bHi;
    };
    for (int y = 0; y < pixels.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        int x = 0;
        const int w = pixels.width();
        while (x < w) {
            while (x < w && transparent(row[x])) ++x;
            const int start = x;
            while (x < w && !transparent(row[x])) ++x;
            if (x > start) runs.emplace_back(start, y, x - start, 1);
        }
    }
    return runs;
}

QRegion RegionFromRuns(const std::vector<QRect>& rects, int batch) {
    QRegion result;
    for (std::size_t i = 0; i < rects.size(); i += static_cast<std::size_t>(batch)) {
        const std::size_t n = std::min(rects.size() - i, static_cast<std::size_t>(batch));
        QRegion part;
        part.setRects(rects.data() + i, static_cast<int>(n));
        result = result.united(part);
    }
    return result;
}

QRegion RegionFromMask(const QImage& mask, QRgb key, QRgb tolerance) {
    return RegionFromRuns(MaskRuns(mask, key, tolerance));
}

}  // namespace qv::ui
