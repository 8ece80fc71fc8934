#pragma once
// What identifies one version of a file without reading it: which file it is, its size and its
// change times. Two equal stamps mean nobody has written or replaced the file in between, unless
// the writes came so close together that the file system's clock gave them the same times: file
// times are only as fine as the kernel's coarse clock, and some file systems keep whole seconds
// (FAT even two). Settled() says when a stamp is old enough for that to be ruled out.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace qv {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;  // an atomic replace (rename over the file) gives a new inode
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;  // catches a rewrite that restores the modification time
    bool operator==(const FileStamp&) const = default;
};

// Nothing when the file does not exist or is not a regular file.
std::optional<FileStamp> StampOf(const std::filesystem::path& file);

// The wall clock file times are taken from, in nanoseconds since the epoch.
std::int64_t FileClockNowNs();

// The coarsest file time in use (FAT keeps two seconds), with room for the coarse kernel clock.
inline constexpr std::int64_t kFileTimeGrainNs = 3'000'000'000;

// True when both of the stamp's times lie more than one grain before `nowNs`, a moment taken
// before the stamp was: any later write then gets a later time, so an unchanged stamp proves an
// unchanged file. A time in the future never settles.
bool Settled(const FileStamp& stamp, std::int64_t nowNs);

}  // namespace qv
