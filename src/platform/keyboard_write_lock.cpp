#include "platform/keyboard_write_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "platform/simulate_setting.h"

namespace qv::platform {
namespace {

// Short enough that a waiting change starts soon after the other ends, long enough to cost nothing.
constexpr std::chrono::milliseconds kPollInterval{20};

// A stable hash (std::hash may differ between builds, and the window and quorvanectl must agree).
std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : text) {
        h ^= static_cast<unsigned char>(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

std::string DescribeWait(std::chrono::milliseconds wait) {
    if (wait.count() % 1000 == 0) return std::to_string(wait.count() / 1000) + " s";
    return std::to_string(wait.count()) + " ms";
}

}  // namespace

std::string KeyboardLockName() {
    const SimulateSetting setting = SimulateSettingFromEnvironment();
    if (setting == SimulateSetting::RealKeyboard || setting == SimulateSetting::Invalid) {
        return "quorvane-keyboard.lock";
    }
    const char* state = std::getenv("QUORVANE_SIM_STATE");
    if (state == nullptr || *state == '\0') return "quorvane-simulated-keyboard.lock";
    std::error_code ec;
    std::filesystem::path path = std::filesystem::absolute(state, ec);
    if (ec) path = state;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(path.lexically_normal().string())));
    return std::string("quorvane-simulated-keyboard-") + hex + ".lock";
}

KeyboardWriteLock::~KeyboardWriteLock() { Release(); }

bool KeyboardWriteLock::Take(std::string_view name, std::chrono::milliseconds wait, std::string* error,
                             const std::filesystem::path& folder) {
    Release();
    const std::filesystem::path file = folder / std::string(name);
    const auto fail = [&](const std::string& why) {
        if (error != nullptr) *error = why;
        Release();
        return false;
    };
    fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return fail("cannot open the keyboard's lock file " + file.string() + ": " + std::strerror(errno));

    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) {
            return fail("cannot lock the keyboard's lock file " + file.string() + ": " + std::strerror(errno));
        }
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            return fail("another quorvanectl or the Quorvane window is changing the keyboard and did not finish within " +
                        DescribeWait(wait) + "; nothing was changed, try again when it is done (lock file " +
                        file.string() + ")");
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kPollInterval, deadline - now));
    }
}

void KeyboardWriteLock::Release() {
    if (fd_ >= 0) ::close(fd_);  // closing the only descriptor drops the lock
    fd_ = -1;
}

}  // namespace qv::platform
