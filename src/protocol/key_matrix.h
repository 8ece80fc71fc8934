#pragma once
// The keyboard's key matrix: 126 positions (6 rows x 21 columns) of 3 bytes each, and the
// factory matrix the tool knows before it has read the keyboard's own.

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

inline constexpr std::size_t kMatrixPositions = 126;
inline constexpr std::size_t kKeyMatrixBytes = kMatrixPositions * 3;

using KeyMatrix = std::array<std::uint8_t, kKeyMatrixBytes>;

// The built-in copy of the factory matrix, used until the keyboard's own has been read.
const KeyMatrix& BuiltInFactoryMatrix();

}  // namespace qv
