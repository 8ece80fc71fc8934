#include "core/keyboard/key_matrix_codec.h"

#include <mutex>

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"

namespace qv {
namespace {

struct ModifierBit {
    KeyCode code;
    std::uint8_t bit;
};

constexpr ModifierBit kModifiers[] = {
    {0x01D, 0x01}, {0x02A, 0x02}, {0x038, 0x04}, {0x15B, 0x08},
    {0x11D, 0x10}, {0x036, 0x20}, {0x138, 0x40}, {0x15C, 0x80},
};

std::mutex& DefaultMatrixMutex() {
    static std::mutex m;
    return m;
}

KeyMatrix& DefaultMatrixSlot() {
    static KeyMatrix m = BuiltInFactoryMatrix();
    return m;
}

}  // namespace

MatrixEntry EntryAt(const KeyMatrix& m, std::size_t position) {
    return {m[position * 3], m[position * 3 + 1], m[position * 3 + 2]};
}

void SetEntry(KeyMatrix& m, std::size_t position, const MatrixEntry& e) {
    m[position * 3] = e[0];
    m[position * 3 + 1] = e[1];
    m[position * 3 + 2] = e[2];
}

std::optional<std::uint8_t> ModifierBitOfKey(KeyCode code) {
    for (const ModifierBit& m : kModifiers) {
        if (m.code == code) return m.bit;
    }
    return std::nullopt;
}

KeyCode ModifierBitToKey(std::uint8_t bits) {
    for (const ModifierBit& m : kModifiers) {
        if ((bits & m.bit) != 0) return m.code;
    }
    return kNoKey;
}

KeyCode DefaultEntryToKey(const MatrixEntry& e) {
    switch (e[0]) {
        case 2:
            return e[1] == 2 ? HidUsageToKey(kPageKeyboard, e[2]) : ModifierBitToKey(e[2]);
        case 3:
            return HidUsageToKey(kPageConsumer, static_cast<std::uint16_t>(e[2] * 256 + e[1]));
        case 4:
            return HidUsageToKey(kPageGenericDesktop, static_cast<std::uint16_t>(e[2] * 256 + e[1]));
        default:
            return kNoKey;
    }
}

MatrixEntry EncodeAssignment(const KeyRecord& r, const MatrixEntry& factoryEntry,
                             const MacroList& macros) {
    switch (r.type) {
        case AssignDisabled:
        case AssignTextBlock:
            return {0, 0, 0};
        case AssignSingleKey: {
            const auto code = static_cast<KeyCode>(r.value);
            if (r.value <= 0xFFFF) {
                if (const auto bit = ModifierBitOfKey(code)) return {2, 1, *bit};
            }
            const HidUsage u = r.value <= 0xFFFF ? KeyToHidUsage(code) : HidUsage{};
            return {2, 2, u.page == kPageKeyboard ? static_cast<std::uint8_t>(u.usage) : std::uint8_t{0}};
        }
        case AssignMacro: {
            const int index = r.value <= 0xFFFF ? MacroIndexOfId(macros, static_cast<std::uint16_t>(r.value)) : 0;
            return {5, 1, static_cast<std::uint8_t>(index)};
        }
        case AssignStopMacro:
            return {5, 2, 0};
        case AssignMedia: {
            // An index outside the table sends no usage rather than reading past it.
            const std::uint16_t usage = r.value < kMediaCount ? MediaUsage(static_cast<int>(r.value)) : 0;
            return {3, static_cast<std::uint8_t>(usage), static_cast<std::uint8_t>(usage >> 8)};
        }
        case AssignFunctionKey:
            return {5, 5, static_cast<std::uint8_t>(r.value)};
        default:  // default, launch program and unknown types keep the factory function
            return factoryEntry;
    }
}

KeyMatrix EncodeKeyMatrix(const KeyTable& table, const MacroList& macros, const KeyMatrix& factory) {
    KeyMatrix m = factory;
    for (std::size_t i = 0; i < kMatrixPositions; ++i) {
        const MatrixEntry f = EntryAt(factory, i);
        const KeyCode k = DefaultEntryToKey(f);
        if (k == kNoKey) continue;
        SetEntry(m, i, EncodeAssignment(table[KeyCodeToSlot(k)], f, macros));
    }
    return m;
}

void DecodeKeyMatrix(const KeyMatrix& matrix, KeyTable& table, const KeyMatrix& factory) {
    ResetKeyTable(table);
    for (std::size_t i = 0; i < kMatrixPositions; ++i) {
        const MatrixEntry e = EntryAt(matrix, i);
        const MatrixEntry f = EntryAt(factory, i);
        if (e == f) continue;
        const KeyCode k = DefaultEntryToKey(f);
        if (k == kNoKey) continue;
        KeyRecord& r = table[KeyCodeToSlot(k)];
        r.type = AssignDisabled;
        if (e[0] == 5 && e[1] == 1) {
            r.type = AssignMacro;
            r.value = e[2] + 1u;
        } else if (e[0] == 5 && e[1] == 2) {
            r.type = AssignStopMacro;
        } else if (e[0] == 5 && e[1] == 5) {
            r.type = AssignFunctionKey;
            r.value = e[2];
        } else if (e[0] == 3) {
            if (const auto media = MediaIndexOfUsage(static_cast<std::uint16_t>(e[1] | (e[2] << 8)))) {
                r.type = AssignMedia;
                r.value = static_cast<std::uint32_t>(*media);
            }
        } else if (e[0] == 2 && e[1] == 2) {
            if (const KeyCode code = HidUsageToKey(kPageKeyboard, e[2]); code != kNoKey) {
                r.type = AssignSingleKey;
                r.value = code;
            }
        } else if (e[0] == 2 && e[1] == 1) {
            r.type = AssignSingleKey;
            r.value = ModifierBitToKey(e[2]);
        }
    }
}

KeyMatrix DefaultKeyMatrix() {
    std::lock_guard lock(DefaultMatrixMutex());
    return DefaultMatrixSlot();
}

void SetDefaultKeyMatrix(const KeyMatrix& matrix) {
    std::lock_guard lock(DefaultMatrixMutex());
    DefaultMatrixSlot() = matrix;
}

void ResetDefaultKeyMatrix() { SetDefaultKeyMatrix(BuiltInFactoryMatrix()); }

}  // namespace qv
