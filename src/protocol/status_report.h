#pragma once
// The 2-byte report on the keyboard's status collection. The program writes it when it starts
// listening and whenever the G-key bank changes; the keyboard starts from the same value.

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv::protocol {

inline constexpr std::size_t kStatusReportSize = 2;
inline constexpr std::array<std::uint8_t, kStatusReportSize> kInitialStatusReport{0x05, 0x02};
// Bank A or B of the G keys: bit 0 of byte 1.
inline constexpr std::size_t kGKeyBankByte = 1;
inline constexpr std::uint8_t kGKeyBankBit = 0x01;

}  // namespace qv::protocol
