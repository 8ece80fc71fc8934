#pragma once
// The keyboard's contents as a profile file: the three key matrices decoded into key tables and
// the macro memory decoded into macro records. Texts and G-key assignments are not kept by the
// keyboard, so a rebuilt file has none.

#include <array>
#include <filesystem>
#include <optional>
#include <span>

#include "core/keyboard/profile_store.h"
#include "protocol/key_matrix.h"

namespace qv::device {
class CommandSet;
}

namespace qv {

// Reads the three key matrices and the macro memory; nothing when the active profile is above 3
// or any read fails.
struct KeyboardDump {
    std::array<KeyMatrix, 3> matrices{};
    std::vector<std::uint8_t> macroImage;  // empty when the area holds no marker
};
std::optional<KeyboardDump> ReadKeyboardDump(device::CommandSet& commands);

// The content of a rebuilt file: header, table header, tables 0..2 decoded, table 3 zero.
ProfileContent BuildContentFromDump(const KeyboardDump& dump, const KeyMatrix& factory);

// Writes the rebuilt file atomically.
bool RebuildFromKeyboard(const std::filesystem::path& path, device::CommandSet& commands);

}  // namespace qv
