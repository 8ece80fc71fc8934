#include "ui/skin/key_colour.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qv::ui {
namespace {

// One channel times a factor, rounded as QPainter rounds it in both Multiply and SourceOver;
// the sum stays inside 16 bits.
constexpr std::uint16_t Times(std::uint16_t value, std::uint16_t factor) {
    const std::uint16_t x = static_cast<std::uint16_t>(value * factor);
    return static_cast<std::uint16_t>(static_cast<std::uint16_t>(x + (x >> 8) + 0x80) >> 8);
}

// One pixel at a time: the end of a row, or a machine without SSE2.
void ColourPixels(const std::uint8_t* cap, const std::uint8_t* coverage, std::uint8_t* out, std::size_t pixels,
                  const LegendInk& ink, const std::array<std::uint16_t, 4>& factor) {
    for (std::size_t p = 0; p < pixels; ++p) {
        const QRgb inked = ink[coverage[p]];
        std::array<std::uint8_t, 4> legend{};
        std::memcpy(legend.data(), &inked, legend.size());
        const auto clear = static_cast<std::uint16_t>(255 - qAlpha(inked));
        for (std::size_t c = 0; c < 4; ++c) {
            const int sum = legend[c] + Times(Times(cap[p * 4 + c], factor[c]), clear);
            out[p * 4 + c] = static_cast<std::uint8_t>(std::min(sum, 255));
        }
    }
}

#if defined(__SSE2__)
// Times on eight 16-bit lanes.
__m128i Times8(__m128i value, __m128i factor) {
    const __m128i x = _mm_mullo_epi16(value, factor);
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), _mm_set1_epi16(0x80)), 8);
}

// Two pixels widened to 16-bit lanes: the cap times the colour, the legend over it.
__m128i ColourTwo(__m128i cap, __m128i legend, __m128i factor) {
    const __m128i tinted = Times8(cap, factor);
    // Each pixel's legend alpha in all four of its lanes.
    const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(legend, 0xff), 0xff);
    return _mm_add_epi16(legend, Times8(tinted, _mm_sub_epi16(_mm_set1_epi16(255), alpha)));
}

// Four pixels a step; where no ink covers them (most of a key) only the cap is recoloured.
std::size_t ColourRow(const std::uint8_t* cap, const std::uint8_t* coverage, std::uint8_t* out, std::size_t pixels,
                      const LegendInk& ink, const std::array<std::uint16_t, 4>& factor) {
    const __m128i f = _mm_setr_epi16(factor[0], factor[1], factor[2], factor[3], factor[0], factor[1], factor[2], factor[3]);
    const __m128i zero = _mm_setzero_si128();
    const std::size_t whole = pixels - pixels % 4;
    for (std::size_t p = 0; p < whole; p += 4) {
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(cap + p * 4));
        const __m128i cLow = _mm_unpacklo_epi8(c, zero);
        const __m128i cHigh = _mm_unpackhi_epi8(c, zero);
        std::uint32_t covered = 0;
        std::memcpy(&covered, coverage + p, sizeof covered);
        __m128i result;
        if (covered == 0) {
            result = _mm_packus_epi16(Times8(cLow, f), Times8(cHigh, f));
        } else {
            const __m128i l = _mm_setr_epi32(static_cast<int>(ink[coverage[p]]), static_cast<int>(ink[coverage[p + 1]]),
                                             static_cast<int>(ink[coverage[p + 2]]), static_cast<int>(ink[coverage[p + 3]]));
            result = _mm_packus_epi16(ColourTwo(cLow, _mm_unpacklo_epi8(l, zero), f), ColourTwo(cHigh, _mm_unpackhi_epi8(l, zero), f));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + p * 4), result);
    }
    return whole;
}
#else
std::size_t ColourRow(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t, const LegendInk&,
                      const std::array<std::uint16_t, 4>&) {
    return 0;
}
#endif

}  // namespace

LegendInk MakeLegendInk(const QColor& ink) {
    LegendInk inked{};
    for (int a = 0; a < 256; ++a) {
        inked[static_cast<std::size_t>(a)] = qRgba(ink.red() * a / 255, ink.green() * a / 255, ink.blue() * a / 255, a);
    }
    return inked;
}

void ColourKey(const QImage& cap, const QImage& coverage, const LegendInk& ink, const QColor& colour, QImage& out) {
    // The cap is opaque: its alpha of 255 is kept by a factor of 255.
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const std::array<std::uint16_t, 4> factor{static_cast<std::uint16_t>(colour.blue()), static_cast<std::uint16_t>(colour.green()),
                                              static_cast<std::uint16_t>(colour.red()), 255};
#else
    const std::array<std::uint16_t, 4> factor{255, static_cast<std::uint16_t>(colour.red()), static_cast<std::uint16_t>(colour.green()),
                                              static_cast<std::uint16_t>(colour.blue())};
#endif
    if (out.size() != cap.size() || out.format() != QImage::Format_RGB32) out = QImage(cap.size(), QImage::Format_RGB32);
    const auto pixels = static_cast<std::size_t>(cap.width());
    for (int y = 0; y < cap.height(); ++y) {
        const std::uint8_t* c = cap.constScanLine(y);
        const std::uint8_t* l = coverage.constScanLine(y);
        std::uint8_t* o = out.scanLine(y);
        const std::size_t done = ColourRow(c, l, o, pixels, ink, factor);
        ColourPixels(c + done * 4, l + done, o + done * 4, pixels - done, ink, factor);
    }
    out.setDevicePixelRatio(cap.devicePixelRatio());
}

}  // namespace qv::ui
