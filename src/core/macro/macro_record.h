#pragma once
// One macro as the tool keeps it: a fixed 16,512-byte record, copied and stored whole (also in
// profile files). Macros are global to the keyboard; key records refer to them by id.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/keyboard/key_code.h"

namespace qv {

inline constexpr int kMaxMacros = 100;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr int kMacroNameUnits = 250;  // terminator included
inline constexpr int kMaxMacroDelayMs = 40000;

struct MacroAction {
    static constexpr std::size_t kSize = 8;
    std::int32_t delay = 0;      // ms to wait after this action
    KeyCode key = kNoKey;
    std::uint16_t direction = 0; // 0 press, 1 release; anything else reads as press

    bool operator==(const MacroAction&) const = default;
};

inline constexpr std::uint16_t kPress = 0;
inline constexpr std::uint16_t kRelease = 1;

struct MacroRecord {
    static constexpr std::size_t kSize = 16512;

    std::array<char16_t, kMacroNameUnits> name{};
    std::uint8_t repeatCount = 1;
    std::uint8_t reserved1 = 0;
    std::uint16_t newFlag = 0;
    std::uint16_t reserved2 = 0;
    std::uint16_t id = 0;
    std::uint16_t actionCount = 0;
    std::uint16_t reserved3 = 0;
    std::array<MacroAction, kMaxMacroActions> actions{};

    bool operator==(const MacroRecord&) const = default;

    // Up to the terminator (or all 250 units of a record that has none).
    std::u16string_view Name() const;
    std::string NameUtf8() const;
    // Cut to 249 units so the terminator always fits.
    void SetName(std::u16string_view text);
    // The used actions; an action count above 2000 reads as 2000.
    std::size_t UsedActions() const;

    static void Read(const std::uint8_t* bytes, MacroRecord& out);  // kSize bytes
    void Write(std::uint8_t* bytes) const;                          // kSize bytes
};

// The macros of one store, in list order: the position is the index on the keyboard.
using MacroList = std::vector<MacroRecord>;

// The index of the first macro with this id, 0 when none matches or the list is empty.
int MacroIndexOfId(const MacroList& list, std::uint16_t id);

}  // namespace qv
