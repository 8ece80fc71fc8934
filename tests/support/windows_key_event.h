#pragma once
// Key events as a Windows keyboard hook receives them: the lParam carries the repeat count in
// bits 0-15, the scan code in 16-23, the extended-key flag in 24, the previous key state in 30
// and the transition state in 31 (set on release).

#include <cstdint>

namespace qv::test {

struct KeyEvent {
    std::uint8_t vk;
    std::uint32_t lParam;
};

// `scan` is the set-1 make code with 0x100 for the E0 keys (the KeyCode of most keys).
constexpr std::uint32_t KeyLParam(std::uint16_t scan, bool previouslyDown, bool release) {
    return 1u | (static_cast<std::uint32_t>(scan & 0xFF) << 16) | ((scan & 0x100) != 0 ? 1u << 24 : 0u) |
           (previouslyDown ? 1u << 30 : 0u) | (release ? 1u << 31 : 0u);
}

constexpr KeyEvent Press(std::uint8_t vk, std::uint16_t scan) { return {vk, KeyLParam(scan, false, false)}; }
constexpr KeyEvent Repeat(std::uint8_t vk, std::uint16_t scan) { return {vk, KeyLParam(scan, true, false)}; }
constexpr KeyEvent Release(std::uint8_t vk, std::uint16_t scan) { return {vk, KeyLParam(scan, true, true)}; }

// Virtual-key codes and scan codes of the keys the tests press.
inline constexpr std::uint8_t kVkA = 0x41;
inline constexpr std::uint16_t kScanA = 0x01E;
inline constexpr std::uint8_t kVkControl = 0x11;  // the thread hook sees the generic code
inline constexpr std::uint16_t kScanLeftCtrl = 0x01D;
inline constexpr std::uint8_t kVkSnapshot = 0x2C;
inline constexpr std::uint16_t kScanPrintScreen = 0x137;
inline constexpr std::uint8_t kVkVolumeUp = 0xAF;
inline constexpr std::uint16_t kScanVolumeUp = 0x130;
inline constexpr std::uint8_t kVkLeftWin = 0x5B;
inline constexpr std::uint16_t kScanLeftWin = 0x15B;

}  // namespace qv::test
