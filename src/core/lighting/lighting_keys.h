#pragma once
// The key buttons of the main window as the lighting sees them: each button's colour slot in the
// keyboard's per-key colour memory (its matrix index), taken from the key button table.

#include <array>
#include <cstdint>
#include <span>

#include "core/keyboard/key_buttons.h"
#include "protocol/key_matrix.h"

namespace qv::lighting {

// One colour slot per matrix position.
inline constexpr int kColourSlots = static_cast<int>(kMatrixPositions);
inline constexpr int kGKeySlot = 125;   // shared by the nine G-key buttons
inline constexpr int kFnSlot = 110;

struct KeyButtonSlot {
    int id;    // control id of the key button
    int slot;  // matrix index, 0..125
};

// The 104 key buttons, in matrix order.
std::span<const KeyButtonSlot> KeyButtonSlots();
// The nine G-key buttons, G1..G9.
std::span<const int> GKeyButtonIds();

// Every button that shows a per-key colour, in the order the per-key rules walk them: the 104 key
// buttons, the nine G keys, then Fn.
inline constexpr int kColourButtonCount = 104 + 9 + 1;
int ColourButtonAt(int index);
// Index in that order, or -1.
int ColourButtonIndex(int id);

bool IsGKeyButton(int id);
// 125 for a G key, 110 for Fn, the matrix index for a key button, -1 for anything else.
int ColourSlotOfButton(int id);

}  // namespace qv::lighting
