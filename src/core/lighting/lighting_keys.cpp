#include "core/lighting/lighting_keys.h"

#include "core/keyboard/key_buttons.h"

namespace qv::lighting {
namespace {

// The lighting's view of the one key button table: id and colour slot, in matrix order.
const std::array<KeyButtonSlot, kKeyButtonCount>& Slots() {
    static const auto slots = [] {
        std::array<KeyButtonSlot, kKeyButtonCount> out{};
        for (std::size_t i = 0; i < out.size(); ++i) {
            out[i] = {KeyButtonTable()[i].controlId, KeyButtonTable()[i].matrixIndex};
        }
        return out;
    }();
    return slots;
}

}  // namespace

std::span<const KeyButtonSlot> KeyButtonSlots() { return Slots(); }
std::span<const int> GKeyButtonIds() { return GKeyButtons(); }

int ColourButtonAt(int index) {
    if (index < 0 || index >= kColourButtonCount) return 0;
    if (index < kKeyButtonCount) return Slots()[static_cast<std::size_t>(index)].id;
    if (index < kKeyButtonCount + kGKeyButtonCount) {
        return GKeyButtons()[static_cast<std::size_t>(index - kKeyButtonCount)];
    }
    return kFnButtonId;
}

int ColourButtonIndex(int id) {
    for (int i = 0; i < kColourButtonCount; ++i) {
        if (ColourButtonAt(i) == id) return i;
    }
    return -1;
}

bool IsGKeyButton(int id) { return GKeyIndexOfButton(id).has_value(); }

int ColourSlotOfButton(int id) {
    if (IsGKeyButton(id)) return kGKeySlot;
    if (id == kFnButtonId) return kFnSlot;
    if (const KeyButton* k = FindKeyButton(id)) return k->matrixIndex;
    return -1;
}

}  // namespace qv::lighting
