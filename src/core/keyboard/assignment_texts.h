#pragma once
// The texts of the program (type 3) and text-block (type 6) assignments: one slot per record of
// the four key tables (slot = table x 512 + record index).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/keyboard/key_record.h"
#include "core/keyboard/profile_block.h"

namespace qv {

inline constexpr int kTextSlots = kKeyTableCount * kKeyTableRecords;

constexpr int TextSlotOf(int table, int recordIndex) { return table * kKeyTableRecords + recordIndex; }

class TextTable {
public:
    TextTable() : slots_(kTextSlots) {}

    // Nothing for an empty slot; an empty string is a slot holding only its terminator.
    const std::optional<std::u16string>& At(int slot) const;
    void Set(int slot, std::u16string_view text);
    void Free(int slot);
    void Clear();

    // Bytes the slot takes in a text area: (length + 1) x 2, 0 when empty.
    std::uint32_t SizeOf(int slot) const;
    // The store's text total.
    std::uint32_t Total() const;

    bool operator==(const TextTable&) const = default;

private:
    std::vector<std::optional<std::u16string>> slots_;
};

}  // namespace qv
