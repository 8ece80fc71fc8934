#pragma once
// The PC-side assignment of one key: a 16-byte record, 512 of them per profile table.

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/keyboard/key_code.h"

namespace qv {

enum AssignmentType : std::uint16_t {
    AssignDefault = 0,        // the key keeps its factory function
    AssignDisabled = 1,
    AssignSingleKey = 2,      // value: KeyCode to send
    AssignLaunchProgram = 3,  // value: offset of its text in the packed text area
    AssignMacro = 4,          // value: macro id
    AssignStopMacro = 5,
    AssignTextBlock = 6,      // value: as type 3
    AssignMedia = 7,          // value: media index
    AssignFunctionKey = 8,    // value: function index
};

struct KeyRecord {
    static constexpr std::size_t kSize = 16;

    std::uint16_t type = AssignDefault;
    std::uint16_t aux = 0;    // G-key id for G-key records; the typed repeat count for macros
    std::uint32_t value = 0;
    std::uint32_t mark = 0;   // carried along, never sent
    std::uint32_t reserved = 0;

    bool operator==(const KeyRecord&) const = default;

    static KeyRecord Read(const std::uint8_t* bytes);  // 16 bytes
    void Write(std::uint8_t* bytes) const;              // 16 bytes
};

// Types whose record owns a text of the text table.
constexpr bool OwnsText(std::uint16_t type) {
    return type == AssignLaunchProgram || type == AssignTextBlock;
}

inline constexpr int kKeyTableRecords = 512;
inline constexpr int kGKeyRecordFirst = 256;
inline constexpr int kGKeyCount = 18;  // G1..G9 of bank A, then of bank B

using KeyTable = std::array<KeyRecord, kKeyTableRecords>;

// 0x0301 + n for bank A (n = 0..8), 0x1301 + n for bank B.
constexpr std::uint16_t GKeyId(int n) {
    return static_cast<std::uint16_t>(n < 9 ? 0x0301 + n : 0x1301 + (n - 9));
}

// Every record zero, the G-key records carrying their ids.
void ResetKeyTable(KeyTable& table);

}  // namespace qv
