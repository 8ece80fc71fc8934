#pragma once
// Files the user cares about are replaced whole: a temporary file in the same folder is written,
// flushed and renamed over the old one, so a crash or a full disk never leaves half a file.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

struct AtomicWriteOptions {
    bool flushToDisk = true;  // fsync before the rename
    unsigned mode = 0644;     // permissions of a newly created file
};

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                         AtomicWriteOptions options = {});
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text);

// The whole file, or nothing when it cannot be read or is larger than maxBytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& file,
                                                       std::size_t maxBytes = 64u << 20);

}  // namespace qv
