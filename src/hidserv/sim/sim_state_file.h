#pragma once
// The simulated keyboard's flash as one file that every process of the user shares, so the
// window and any number of quorvanectl runs talk to one keyboard. Each exchange with memory holds
// an advisory lock on a file beside the state file, reads the state file again when another
// process replaced it since this one last saw it, and replaces it (temporary file + rename) when
// the exchange changed memory:
//
//     auto hold = file.Lock();
//     file.Refresh(keyboard);
//     ...handle the frame...
//     if (keyboard.Dirty()) file.Store(keyboard);
//
// Not thread-safe: the backend's mutex guards it.
//
// Layout: "QVSIMKB2", a generation counter (8 bytes, little-endian, one more at every store),
// the memory image. Files of the first layout ("QVSIMKB1" and the image) are still read.

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "hidserv/sim/sim_keyboard.h"

namespace qv::hidserv {

class SimStateFile {
public:
    static constexpr std::size_t kMagicSize = 8;
    static constexpr std::size_t kHeaderSize = kMagicSize + 8;
    static constexpr std::size_t kFileSize = kHeaderSize + SimKeyboard::kMemoryImageSize;
    static constexpr std::size_t kFirstLayoutSize = kMagicSize + SimKeyboard::kMemoryImageSize;

    explicit SimStateFile(std::filesystem::path file);
    ~SimStateFile();
    SimStateFile(const SimStateFile&) = delete;
    SimStateFile& operator=(const SimStateFile&) = delete;

    const std::filesystem::path& Path() const { return file_; }
    // "<state file>.lock": the state file itself is replaced at every store, so a lock on it
    // would be on a file nobody opens any more.
    std::filesystem::path LockPath() const;

    // A holder that never lets go (a stopped process) must not stop every other one for good.
    static constexpr std::chrono::milliseconds kLockWait{5000};

    // The lock, released when the hold goes. Held() is false when the lock file cannot be made (a
    // folder that cannot be created: the state file cannot be written there either) or another
    // holder kept it for `wait`; the caller then goes ahead unlocked.
    class Hold {
    public:
        Hold(Hold&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
        Hold& operator=(Hold&&) = delete;
        ~Hold();
        bool Held() const { return fd_ >= 0; }

    private:
        friend class SimStateFile;
        explicit Hold(int fd) : fd_(fd) {}
        int fd_;
    };
    [[nodiscard]] Hold Lock(std::chrono::milliseconds wait = kLockWait);

    enum class Refreshed {
        Unchanged,  // as this object last saw it: `keyboard` keeps its memory
        Loaded,     // replaced since: `keyboard` now holds what the file holds
        Unusable,   // replaced since, but absent or not a state file: `keyboard` keeps its memory
    };
    // With the lock held.
    Refreshed Refresh(SimKeyboard& keyboard);
    // The next Refresh reads the file whatever this object saw before.
    void Forget() { seen_.reset(); }
    // With the lock held, after Refresh: replaces the file with `keyboard`'s memory under the
    // next generation and marks the keyboard saved. False when the file cannot be written.
    bool Store(SimKeyboard& keyboard);

    static std::vector<std::uint8_t> Encode(const SimKeyboard& keyboard, std::uint64_t generation);
    struct Decoded {
        std::uint64_t generation = 0;  // 0 for the first layout, which had none
        std::span<const std::uint8_t> image;
    };
    // Either layout; nullopt for anything else.
    static std::optional<Decoded> Decode(std::span<const std::uint8_t> bytes);

private:
    // What tells one version of the file from another. The generation alone misses a file put
    // there by other means (a copy, the first layout); the inode and times alone miss two stores
    // within one tick of the file system's clock that reuse an inode.
    struct Seen {
        bool present = false;
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec changed{};
        std::uint64_t generation = 0;
        bool operator==(const Seen& other) const;
    };

    int OpenLockFile();
    static std::optional<Seen> Identify(int fd, std::uint64_t generation);

    std::filesystem::path file_;
    std::filesystem::path lockFile_;
    int lockFd_ = -1;
    pid_t lockOwner_ = 0;  // the process that opened lockFd_
    std::optional<Seen> seen_;
};

}  // namespace qv::hidserv
