#pragma once
// The one table of keys: name, place in the key list, virtual-key codes and HID usage of every
// catalogue row, and the pure lookups over it. Lookups by list position and by usage scan the
// rows from slot 0 upward and stop at the first match; callers rely on that order.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/keyboard/key_code.h"

namespace qv {

inline constexpr std::uint16_t kNotInKeyList = 0x8000;
inline constexpr std::uint16_t kEmptyRow = 0xFFFF;
inline constexpr int kKeyListSize = 106;
inline constexpr std::size_t kKeyNameChars = 260;

struct CatalogueRow {
    const char* name = nullptr;       // UTF-8; null for empty rows and the media rows
    std::uint16_t listPosition = kEmptyRow;
    std::uint8_t primaryVk = 0;
    std::uint8_t secondaryVk = 0;     // the code Windows reports with Num Lock off
    std::uint8_t usage = 0;           // encoded as KeyToHidUsage reads it
    std::int8_t mediaIndex = -1;      // media rows take their name from the media table
};

using KeyCatalogueTable = std::array<CatalogueRow, kCatalogueRows>;
const KeyCatalogueTable& KeyCatalogue();

// 32 consumer usages, entries 18..31 zero.
const std::array<std::uint16_t, 32>& ConsumerUsageTable();

// Virtual-key code -> slot (0 = none): the inverse of the primary-VK column with its exceptions.
const std::array<CatalogueSlot, 256>& VirtualKeyMap();

struct HidUsage {
    std::uint16_t page = 0;
    std::uint16_t usage = 0;
    bool operator==(const HidUsage&) const = default;
};

inline constexpr std::uint16_t kPageGenericDesktop = 0x01;
inline constexpr std::uint16_t kPageKeyboard = 0x07;
inline constexpr std::uint16_t kPageConsumer = 0x0C;

// The row's name, or the UNKNOWN_KEY text filled with the code; cut to capacity - 1 characters.
std::string KeyName(KeyCode code, std::size_t capacity = kKeyNameChars);
std::string KeyListName(int position);
KeyCode KeyCodeAtListPosition(int position);
std::uint16_t KeyListPositionOf(KeyCode code);
HidUsage KeyToHidUsage(KeyCode code);
KeyCode HidUsageToKey(std::uint16_t page, std::uint16_t usage);
// Resolves a key event of the keyboard hooks (virtual key, lParam with the scan code in bits 16..24).
KeyCode KeyFromWindowsEvent(std::uint8_t vk, std::uint32_t lParam);

}  // namespace qv
