#include "core/keyboard/assignment_texts.h"

namespace qv {
namespace {

bool ValidSlot(int slot) { return slot >= 0 && slot < kTextSlots; }

}  // namespace

const std::optional<std::u16string>& TextTable::At(int slot) const {
    static const std::optional<std::u16string> kNone;
    return ValidSlot(slot) ? slots_[static_cast<std::size_t>(slot)] : kNone;
}

void TextTable::Set(int slot, std::u16string_view text) {
    if (ValidSlot(slot)) slots_[static_cast<std::size_t>(slot)] = std::u16string(text);
}

void TextTable::Free(int slot) {
    if (ValidSlot(slot)) slots_[static_cast<std::size_t>(slot)].reset();
}

void TextTable::Clear() {
    for (auto& s : slots_) s.reset();
}

std::uint32_t TextTable::SizeOf(int slot) const {
    const auto& s = At(slot);
    return s ? static_cast<std::uint32_t>((s->size() + 1) * 2) : 0;
}

std::uint32_t TextTable::Total() const {
    std::uint32_t total = 0;
    for (int i = 0; i < kTextSlots; ++i) total += SizeOf(i);
    return total;
}

}  // namespace qv
