#pragma once
// The ProfileBlock: a 64-byte header (the profile file's file header and table header) and four
// key tables; 32,832 bytes, exactly the start of a profile file.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/keyboard/key_record.h"

namespace qv {

inline constexpr int kKeyTableCount = 4;  // tables 0..2 are the on-board profiles, 3 is carried
inline constexpr int kOnBoardProfiles = 3;
inline constexpr std::size_t kBlockHeaderSize = 64;
inline constexpr std::size_t kProfileBlockSize =
    kBlockHeaderSize + kKeyTableCount * kKeyTableRecords * KeyRecord::kSize;
static_assert(kProfileBlockSize == 32832);

// The file header (bytes 0..31) and the table header (32..63).
namespace block_header {
inline constexpr std::size_t kMagic = 0;            // "FD"
inline constexpr std::size_t kHeaderSize = 2;       // 32
inline constexpr std::size_t kFormat = 4;           // 3
inline constexpr std::size_t kFormatMinor = 6;      // 1
inline constexpr std::size_t kTotalSize = 8;        // 32-bit
inline constexpr std::size_t kRecordCount = 12;     // 2048
inline constexpr std::size_t kMacroCount = 14;
inline constexpr std::size_t kTextSize = 16;        // 32-bit
inline constexpr std::size_t kFlag = 30;
inline constexpr std::size_t kCheckByte = 31;
inline constexpr std::size_t kTableHeader = 32;

inline constexpr std::uint16_t kMagicValue = 0x4446;
inline constexpr std::uint16_t kFileHeaderSizeValue = 32;
inline constexpr std::uint16_t kFormatValue = 3;
inline constexpr std::uint16_t kFormatMinorValue = 1;
inline constexpr std::uint16_t kRecordCountValue = kKeyTableCount * kKeyTableRecords;
}  // namespace block_header

struct ProfileBlock {
    std::array<std::uint8_t, kBlockHeaderSize> header{};
    std::array<KeyTable, kKeyTableCount> tables{};

    bool operator==(const ProfileBlock&) const = default;

    static void Read(const std::uint8_t* bytes, ProfileBlock& out);  // kProfileBlockSize bytes
    void Write(std::uint8_t* bytes) const;                          // kProfileBlockSize bytes

    std::uint16_t MacroCount() const;
    std::uint32_t TextSize() const;
};

// A block made from nothing: file header for no macros and no texts, the table header, four
// reset key tables.
ProfileBlock NewProfileBlock();

// Rewrites the file header for this many macros and text bytes (flag 0, fresh check byte); the
// table header is carried unchanged.
void SetFileHeader(ProfileBlock& block, std::uint16_t macroCount, std::uint32_t textSize);
void WriteTableHeader(ProfileBlock& block);

// Sum of bytes 0..30 modulo 256.
std::uint8_t HeaderCheckByte(const std::uint8_t* fileHeader);

// Total size a file header must state for M macros and T text bytes.
constexpr std::uint64_t ProfileFileSize(std::uint64_t macroCount, std::uint64_t textSize) {
    return kProfileBlockSize + 16512u * macroCount + textSize;
}

}  // namespace qv
