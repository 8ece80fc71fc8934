#include "platform/file_stamp.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>

namespace qv {

std::optional<FileStamp> StampOf(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    FileStamp s;
    s.device = static_cast<std::uint64_t>(st.st_dev);
    s.inode = static_cast<std::uint64_t>(st.st_ino);
    s.size = static_cast<std::int64_t>(st.st_size);
    s.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    s.changedNs = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
    return s;
}

std::int64_t FileClockNowNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * 1'000'000'000 + ts.tv_nsec;
}

bool Settled(const FileStamp& stamp, std::int64_t nowNs) {
    return nowNs - std::max(stamp.modifiedNs, stamp.changedNs) > kFileTimeGrainNs;
}

}  // namespace qv
