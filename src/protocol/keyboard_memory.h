#pragma once
// The areas of the keyboard's memory that the block commands address: their sizes, where each
// profile's part starts, and the few bytes of the global block with a meaning. The command set
// builds its addresses from these and the simulated keyboard sizes its memory with them, so the
// two cannot drift apart.

#include <cstddef>
#include <cstdint>

#include "protocol/key_matrix.h"

namespace qv::protocol {

inline constexpr int kProfileCount = 3;

// Frame addresses are two bytes.
inline constexpr int kMaxAddress = 0xFFFF;

// Global block (read and written whole, address 0).
inline constexpr std::size_t kGlobalBlockSize = 44;
inline constexpr std::size_t kActiveProfileAt = 10;
inline constexpr std::size_t kMacroCapacityAt = 11;  // in units of kMacroCapacityUnit bytes
inline constexpr std::size_t kEffectsAt = 12;
inline constexpr std::size_t kEffectsCount = kGlobalBlockSize - kEffectsAt;  // 32 effect codes
// A write takes bytes 0..10 only: the capacity and the effect list belong to the firmware.
inline constexpr std::size_t kGlobalWritableBytes = kMacroCapacityAt;

// Settings memory: one record per profile, back to back.
inline constexpr std::size_t kSettingsRecordSize = 42;
inline constexpr std::size_t kSettingsMemorySize = kProfileCount * kSettingsRecordSize;

constexpr int SettingsAddress(int profile) { return profile * static_cast<int>(kSettingsRecordSize); }

// Key matrices: one per profile, back to back; the factory matrix is an area of its own.
inline constexpr std::size_t kKeyMatricesSize = kProfileCount * kKeyMatrixBytes;

constexpr int KeyMatrixAddress(int profile) { return profile * static_cast<int>(kKeyMatrixBytes); }

// Macro memory, from address 0. Its usable size is the global block's capacity byte in units.
inline constexpr std::size_t kMacroCapacityUnit = 128;
inline constexpr std::uint8_t kLargestMacroCapacity = 255;
inline constexpr std::size_t kMacroMemorySize = kLargestMacroCapacity * kMacroCapacityUnit;  // 32,640

constexpr std::size_t MacroCapacityBytes(std::uint8_t capacityByte) {
    return std::size_t{capacityByte} * kMacroCapacityUnit;
}

// Per-key colours: red, green, blue per matrix position; each profile has 512 bytes of address
// space, more than its 126 positions use.
inline constexpr std::size_t kKeyColourBytes = 3;
inline constexpr std::size_t kKeyColoursPerProfile = 512;
inline constexpr std::size_t kKeyColoursSize = kProfileCount * kKeyColoursPerProfile;

constexpr long KeyColourAddress(int profile, int key) {
    return long{profile} * static_cast<long>(kKeyColoursPerProfile) +
           long{key} * static_cast<long>(kKeyColourBytes);
}

static_assert(kMatrixPositions * kKeyColourBytes <= kKeyColoursPerProfile);
static_assert(kKeyColoursSize - 1 <= static_cast<std::size_t>(kMaxAddress));
static_assert(kMacroMemorySize - 1 <= static_cast<std::size_t>(kMaxAddress));

}  // namespace qv::protocol
