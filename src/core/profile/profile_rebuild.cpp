#include "core/profile/profile_rebuild.h"

#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/keyboard/little_endian.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"

namespace qv {

std::optional<KeyboardDump> ReadKeyboardDump(device::CommandSet& commands) {
    if (commands.GetActiveProfile() > 3) return std::nullopt;
    KeyboardDump dump;
    for (int p = 0; p < kOnBoardProfiles; ++p) {
        if (commands.ReadKeyMatrix(dump.matrices[static_cast<std::size_t>(p)], p) != device::kSuccess) {
            return std::nullopt;
        }
    }
    std::vector<std::uint8_t> header(kMacroImageHeaderSize, 0);
    if (commands.ReadMacroMemory(header.data(), static_cast<int>(header.size())) != device::kSuccess) {
        return std::nullopt;
    }
    if (le::Get16(header.data()) == kMacroImageMarker) {
        // The image is read again from address 0, header included.
        const std::uint16_t size = le::Get16(header.data() + 2);
        dump.macroImage.assign(size, 0);
        if (commands.ReadMacroMemory(dump.macroImage.data(), size) != device::kSuccess) {
            return std::nullopt;
        }
    }
    return dump;
}

ProfileContent BuildContentFromDump(const KeyboardDump& dump, const KeyMatrix& factory) {
    ProfileContent content;
    WriteTableHeader(content.block);
    for (int p = 0; p < kOnBoardProfiles; ++p) {
        DecodeKeyMatrix(dump.matrices[static_cast<std::size_t>(p)],
                        content.block.tables[static_cast<std::size_t>(p)], factory);
    }
    content.macros = DecodeMacroImage(dump.macroImage);
    SetFileHeader(content.block, static_cast<std::uint16_t>(content.macros.size()), 0);
    return content;
}

bool RebuildFromKeyboard(const std::filesystem::path& path, device::CommandSet& commands) {
    const auto dump = ReadKeyboardDump(commands);
    if (!dump) return false;
    ProfileContent content = BuildContentFromDump(*dump, DefaultKeyMatrix());
    return WriteFileAtomically(path, SerializeProfileFile(content));
}

}  // namespace qv
