#pragma once
// The keyboard's macro memory: a 16-byte header (marker 0x55AA, total size, macro count, names
// flag), an offset table and one block per macro with 4-byte encoded actions and, optionally,
// the macro's name.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/macro/macro_record.h"

namespace qv {

inline constexpr std::size_t kMacroImageHeaderSize = 16;
inline constexpr std::uint16_t kMacroImageMarker = 0x55AA;
// Sizes and offsets inside an image are 16-bit.
inline constexpr std::size_t kMaxMacroImageSize = 0xFFFF;
// A delay above what 12 bits of 10 ms hold is stored as the longest typed delay.
inline constexpr std::int32_t kLongestEncodableDelayMs = 40950;

struct MacroImageSize {
    std::size_t withNames = 0;
    std::size_t withoutNames = 0;
};

MacroImageSize MacroImageSizes(const MacroList& list);

// The most macro memory a keyboard can report: its global block gives it in one byte of 128-byte
// units.
inline constexpr std::size_t kLargestMacroCapacityBytes = 255 * 128;

// How a list fits a macro memory of `capacityBytes`, as a download sends it: with the names when
// they fit, else without them; not at all when even that is too large.
enum class MacroFit { WithNames, WithoutNames, TooLarge };
MacroFit FitMacros(const MacroList& list, std::size_t capacityBytes);

// The 16-bit action word: delay units, usage-page kind, press bit.
std::uint16_t DelayUnits(std::int32_t delayMs);

// An image of exactly `size` bytes (one of the two sizes of MacroImageSizes); empty when the
// size does not match the list or exceeds what 16-bit offsets can address.
std::vector<std::uint8_t> EncodeMacroImage(const MacroList& list, std::size_t size, bool withNames);

// The macros of an image, ids renumbered 1..n. An image without the marker holds no macros; an
// offset, count or name that runs past `image` ends the decode with the macros before it.
MacroList DecodeMacroImage(std::span<const std::uint8_t> image);

}  // namespace qv
