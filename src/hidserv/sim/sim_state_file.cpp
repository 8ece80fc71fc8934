#include "hidserv/sim/sim_state_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <thread>

#include "platform/atomic_file.h"

namespace qv::hidserv {
namespace {

constexpr char kMagic[SimStateFile::kMagicSize] = {'Q', 'V', 'S', 'I', 'M', 'K', 'B', '2'};
constexpr char kFirstLayoutMagic[SimStateFile::kMagicSize] = {'Q', 'V', 'S', 'I', 'M', 'K', 'B', '1'};

bool StartsWith(std::span<const std::uint8_t> bytes, const char (&magic)[SimStateFile::kMagicSize]) {
    return bytes.size() >= sizeof magic && std::memcmp(bytes.data(), magic, sizeof magic) == 0;
}

std::uint64_t ReadLittleEndian64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// Reads up to `out.size()` bytes from the start of `fd`; how many arrived.
std::size_t ReadFromStart(int fd, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(fd, out.data() + done, out.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

}  // namespace

bool SimStateFile::Seen::operator==(const Seen& o) const {
    return present == o.present && device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec &&
           generation == o.generation;
}

SimStateFile::SimStateFile(std::filesystem::path file) : file_(std::move(file)), lockFile_(file_) {
    lockFile_ += ".lock";
}

SimStateFile::~SimStateFile() {
    if (lockFd_ >= 0) ::close(lockFd_);
}

std::filesystem::path SimStateFile::LockPath() const { return lockFile_; }

SimStateFile::Hold::~Hold() {
    if (fd_ >= 0) ::flock(fd_, LOCK_UN);
}

int SimStateFile::OpenLockFile() {
    const pid_t self = ::getpid();
    if (lockFd_ >= 0 && lockOwner_ != self) {
        // Inherited across a fork, it shares the parent's lock instead of competing with it.
        ::close(lockFd_);
        lockFd_ = -1;
    }
    if (lockFd_ >= 0) return lockFd_;
    int fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0 && errno == ENOENT && lockFile_.has_parent_path()) {
        std::error_code ec;
        std::filesystem::create_directories(lockFile_.parent_path(), ec);
        fd = ::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    }
    lockFd_ = fd;
    lockOwner_ = self;
    return fd;
}

SimStateFile::Hold SimStateFile::Lock(std::chrono::milliseconds wait) {
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = OpenLockFile();
        if (fd < 0) return Hold(-1);
        // Holders keep it for a burst of frames, a few milliseconds: short naps are enough.
        auto nap = std::chrono::microseconds(200);
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= giveUp) {
                return Hold(-1);
            }
            std::this_thread::sleep_for(nap);
            nap = std::min<std::chrono::microseconds>(nap * 2, std::chrono::milliseconds(2));
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(fd, &held) == 0 && ::stat(lockFile_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino) {
            return Hold(fd);
        }
        // Removed since it was opened (and maybe made anew by another process): a lock on the
        // removed file excludes nobody.
        ::flock(fd, LOCK_UN);
        ::close(fd);
        lockFd_ = -1;
    }
    return Hold(-1);
}

std::optional<SimStateFile::Seen> SimStateFile::Identify(int fd, std::uint64_t generation) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    Seen s;
    s.present = true;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.modified = st.st_mtim;
    s.changed = st.st_ctim;
    s.generation = generation;
    return s;
}

SimStateFile::Refreshed SimStateFile::Refresh(SimKeyboard& keyboard) {
    const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const Seen absent;
        const bool same = seen_ && *seen_ == absent;
        seen_ = absent;
        return same ? Refreshed::Unchanged : Refreshed::Unusable;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    std::array<std::uint8_t, kHeaderSize> header{};
    const std::size_t headerBytes = ReadFromStart(fd, header);
    const std::uint64_t generation =
        headerBytes == kHeaderSize && StartsWith(header, kMagic) ? ReadLittleEndian64(header.data() + kMagicSize) : 0;
    const std::optional<Seen> now = Identify(fd, generation);
    if (!now) return Refreshed::Unusable;
    if (seen_ && *seen_ == *now) return Refreshed::Unchanged;
    seen_ = now;

    if (now->size != static_cast<off_t>(kFileSize) && now->size != static_cast<off_t>(kFirstLayoutSize)) {
        return Refreshed::Unusable;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(now->size));
    if (ReadFromStart(fd, bytes) != bytes.size()) return Refreshed::Unusable;
    const std::optional<Decoded> decoded = Decode(bytes);
    if (!decoded || !keyboard.LoadMemoryImage(decoded->image)) return Refreshed::Unusable;
    return Refreshed::Loaded;
}

bool SimStateFile::Store(SimKeyboard& keyboard) {
    const std::uint64_t generation = (seen_ ? seen_->generation : 0) + 1;
    const std::vector<std::uint8_t> bytes = Encode(keyboard, generation);
    std::error_code ec;
    if (file_.has_parent_path()) std::filesystem::create_directories(file_.parent_path(), ec);
    // No fsync: it is a simulation, and a store follows every frame that changes memory.
    if (!WriteFileAtomically(file_, bytes, {.flushToDisk = false, .mode = 0600})) return false;
    keyboard.MarkSaved();
    // Read back what was just put there, so this process's next exchange does not take its own
    // store for another process's.
    const int fd = ::open(file_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        seen_ = Identify(fd, generation);
        ::close(fd);
    } else {
        seen_.reset();
    }
    return true;
}

std::vector<std::uint8_t> SimStateFile::Encode(const SimKeyboard& keyboard, std::uint64_t generation) {
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    for (int i = 0; i < 8; ++i) bytes.push_back(static_cast<std::uint8_t>(generation >> (8 * i)));
    const std::vector<std::uint8_t> image = keyboard.MemoryImage();
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

std::optional<SimStateFile::Decoded> SimStateFile::Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() == kFileSize && StartsWith(bytes, kMagic)) {
        return Decoded{ReadLittleEndian64(bytes.data() + kMagicSize), bytes.subspan(kHeaderSize)};
    }
    if (bytes.size() == kFirstLayoutSize && StartsWith(bytes, kFirstLayoutMagic)) {
        return Decoded{0, bytes.subspan(kMagicSize)};
    }
    return std::nullopt;
}

}  // namespace qv::hidserv
