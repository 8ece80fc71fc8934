#pragma once
// Lighting colours are held as 32-bit values with red in the lowest byte, green in the next and
// blue in the third, and travel to the keyboard as the three bytes red, green, blue.

#include <cstdint>

namespace qv::lighting {

using ColourRef = std::uint32_t;

constexpr ColourRef MakeColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColourRef{r} | (ColourRef{g} << 8) | (ColourRef{b} << 16);
}
constexpr std::uint8_t RedOf(ColourRef c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(ColourRef c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(ColourRef c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// Each component times v / 255, truncated.
constexpr ColourRef ScaleColour(ColourRef c, int v) {
    const auto part = [v](std::uint8_t x) { return static_cast<std::uint8_t>(x * v / 255); };
    return MakeColour(part(RedOf(c)), part(GreenOf(c)), part(BlueOf(c)));
}

inline constexpr ColourRef kRed = MakeColour(255, 0, 0);
inline constexpr ColourRef kBlack = MakeColour(0, 0, 0);

}  // namespace qv::lighting
