#pragma once
// Constant tables of the on-screen lighting preview: the key grid, the key chain, the colour
// wheel, the brightness curves and the orders and shapes some effects follow.

#include <array>
#include <cstdint>
#include <span>

#include "core/lighting/colour.h"

namespace qv::lighting::preview {

inline constexpr int kGridColumns = 23;
inline constexpr int kGridRows = 6;
inline constexpr int kChainLength = 104;
inline constexpr int kWheelSize = 192;

// Key button id per cell (row 0 = top), 0 for an empty cell. A wide key stands in two cells.
using KeyGrid = std::array<std::array<int, kGridColumns>, kGridRows>;
const KeyGrid& Grid();

// The previewed keys in their serpentine order.
const std::array<int, kChainLength>& Chain();

const std::array<std::uint8_t, 32>& RisingRamp();
const std::array<std::uint8_t, 32>& FallingRamp();
// 192 colours around the hue circle, built from the two ramps.
const std::array<ColourRef, kWheelSize>& Wheel();

const std::array<std::uint8_t, 96>& B96();
const std::array<std::uint8_t, 129>& P128();
const std::array<std::uint8_t, 128>& B128();

// Keys that stand in neither the grid nor the chain, each shown with the key beside it. Right
// Win sits in the bottom row between Menu and Right Ctrl; the chain and the order of effect 10
// are laid out for 104 keys, so it takes the colour of Menu in every effect rather than a
// place of its own.
struct PreviewCompanion {
    int key;
    int neighbour;
};
std::span<const PreviewCompanion> Companions();

// Chain positions in the order effect 10 lights them.
const std::array<std::uint8_t, kChainLength>& Perm();

// Rings of effect 18, ring 0 at the centre.
inline constexpr int kRingCount = 12;
std::span<const int> Ring(int k);

// Effect 14's script: the rows of its sweep and the pairs it lights next.
inline constexpr int kSweepRows = 20;
std::span<const int> SweepRow(int n);
inline constexpr int kPairCount = 16;
std::array<int, 2> Pair(int n);

}  // namespace qv::lighting::preview
