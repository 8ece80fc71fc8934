#include "platform/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <string>

namespace qv {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::span<const std::uint8_t> bytes,
                         AtomicWriteOptions options) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = file;
    temp += ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(counter++);

    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                            static_cast<mode_t>(options.mode));
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes.data(), bytes.size()) && (!options.flushToDisk || ::fsync(fd) == 0);
    ok = (::close(fd) == 0) && ok;
    if (ok && std::rename(temp.c_str(), file.c_str()) == 0) return true;
    ::unlink(temp.c_str());
    return false;
}

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view text) {
    return WriteFileAtomically(
        file, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& file,
                                                       std::size_t maxBytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<std::uint64_t>(size) > maxBytes) return std::nullopt;
    in.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) return std::nullopt;
    return bytes;
}

}  // namespace qv
