#pragma once
// The 64-byte command and answer frames on the keyboard's vendor collection. Header-only: the
// command set builds frames and the HID service library's simulated keyboard checks them with the
// very same code.

#include <cstddef>
#include <cstdint>

namespace qv::device::frame {

inline constexpr std::size_t kSize = 64;
inline constexpr std::uint8_t kReportId = 4;

// Byte offsets.
inline constexpr std::size_t kReportIdAt = 0;
inline constexpr std::size_t kChecksumLow = 1;
inline constexpr std::size_t kChecksumHigh = 2;
inline constexpr std::size_t kCommand = 3;
inline constexpr std::size_t kLength = 4;
inline constexpr std::size_t kAddressLow = 5;
inline constexpr std::size_t kAddressHigh = 6;
inline constexpr std::size_t kStatus = 7;
inline constexpr std::size_t kData = 8;
inline constexpr std::size_t kMaxData = kSize - kData;  // 56

inline constexpr std::uint8_t kStatusFF = 0xFF;
inline constexpr std::uint8_t kStatusFE = 0xFE;

// Command bytes.
inline constexpr std::uint8_t kBeginConfig = 0x01;
inline constexpr std::uint8_t kEndConfig = 0x02;
inline constexpr std::uint8_t kReadGlobalBlock = 0x03;
inline constexpr std::uint8_t kWriteGlobalBlock = 0x04;
inline constexpr std::uint8_t kReadSettingsMemory = 0x05;
inline constexpr std::uint8_t kWriteSettingsMemory = 0x06;
inline constexpr std::uint8_t kReadKeyMatrix = 0x07;
inline constexpr std::uint8_t kWriteKeyMatrix = 0x08;
inline constexpr std::uint8_t kReadMacroMemory = 0x09;
inline constexpr std::uint8_t kWriteMacroMemory = 0x0A;
inline constexpr std::uint8_t kReadDefaultKeyMatrix = 0x0F;
inline constexpr std::uint8_t kWriteKeyColours = 0x11;
inline constexpr std::uint8_t kUpdateMode = 0xEE;  // in bytes 3 and 4, without checksum

// Sum of bytes 3..63 as unsigned values, kept to 16 bits.
inline std::uint16_t Checksum(const std::uint8_t* frame) {
    unsigned sum = 0;
    for (std::size_t i = kCommand; i < kSize; ++i) sum += frame[i];
    return static_cast<std::uint16_t>(sum & 0xFFFFu);
}

// Computed last, once every other byte is in place.
inline void StoreChecksum(std::uint8_t* frame) {
    const std::uint16_t sum = Checksum(frame);
    frame[kChecksumLow] = static_cast<std::uint8_t>(sum & 0xFF);
    frame[kChecksumHigh] = static_cast<std::uint8_t>(sum >> 8);
}

inline bool ChecksumMatches(const std::uint8_t* frame) {
    const unsigned stored = frame[kChecksumLow] | (unsigned{frame[kChecksumHigh]} << 8);
    return stored == Checksum(frame);
}

inline int Address(const std::uint8_t* frame) {
    return frame[kAddressLow] | (frame[kAddressHigh] << 8);
}

inline void SetAddress(std::uint8_t* frame, int address) {
    frame[kAddressLow] = static_cast<std::uint8_t>(address & 0xFF);
    frame[kAddressHigh] = static_cast<std::uint8_t>((address >> 8) & 0xFF);
}

}  // namespace qv::device::frame
