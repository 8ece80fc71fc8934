#pragma once
// Conversion between a profile's key records and the keyboard's 378-byte key matrix, in both
// directions. The factory matrix says which key sits at which of the 126 positions.

#include <array>
#include <cstdint>
#include <optional>

#include "core/keyboard/key_code.h"
#include "core/keyboard/key_record.h"
#include "core/macro/macro_record.h"
#include "protocol/key_matrix.h"

namespace qv {

using MatrixEntry = std::array<std::uint8_t, 3>;

MatrixEntry EntryAt(const KeyMatrix& m, std::size_t position);
void SetEntry(KeyMatrix& m, std::size_t position, const MatrixEntry& e);

// The HID modifier bit of the eight modifier keys.
std::optional<std::uint8_t> ModifierBitOfKey(KeyCode code);
// The lowest set bit wins; 0 gives no key.
KeyCode ModifierBitToKey(std::uint8_t bits);
// The key a factory entry stands for; 0 = not a PC-assignable position.
KeyCode DefaultEntryToKey(const MatrixEntry& entry);

// The matrix entry of one record, given the key's factory entry and the macro list that the
// record's macro id refers to.
MatrixEntry EncodeAssignment(const KeyRecord& record, const MatrixEntry& factoryEntry,
                             const MacroList& macros);

KeyMatrix EncodeKeyMatrix(const KeyTable& table, const MacroList& macros, const KeyMatrix& factory);
// Reset table, then one record per position whose entry differs from the factory's.
void DecodeKeyMatrix(const KeyMatrix& matrix, KeyTable& table, const KeyMatrix& factory);

// The keyboard's factory matrix as last read; the built-in copy until then. Thread-safe.
KeyMatrix DefaultKeyMatrix();
void SetDefaultKeyMatrix(const KeyMatrix& matrix);
void ResetDefaultKeyMatrix();

}  // namespace qv
