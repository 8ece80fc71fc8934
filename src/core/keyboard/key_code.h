#pragma once
// KeyCode: the identity of a key everywhere (scan-code set 1 make code, 0x100 added for the E0
// keys, 0x100 + n for the G keys, 0 = no key) and its row in the catalogue.

#include <cstdint>

namespace qv {

using KeyCode = std::uint16_t;
using CatalogueSlot = std::uint8_t;

inline constexpr KeyCode kNoKey = 0;
inline constexpr int kCatalogueRows = 256;

constexpr CatalogueSlot KeyCodeToSlot(KeyCode code) {
    return code < 0x100 ? static_cast<CatalogueSlot>(code)
                        : static_cast<CatalogueSlot>((code - 0x80) & 0xFF);
}

constexpr KeyCode SlotToKeyCode(CatalogueSlot slot) {
    return slot < 0x80 ? KeyCode{slot} : static_cast<KeyCode>(slot + 0x80);
}

}  // namespace qv
