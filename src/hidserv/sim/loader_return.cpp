#include "hidserv/sim/loader_return.h"

#include <cstdlib>
#include <string>

namespace qv::hidserv {

LoaderReturn::LoaderReturn(std::function<void()> comeBack)
    : comeBack_(std::move(comeBack)), thread_([this] { Run(); }) {}

LoaderReturn::~LoaderReturn() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

std::chrono::milliseconds LoaderReturn::LoaderTime() {
    if (const char* text = std::getenv("QUORVANE_SIM_LOADER_MS"); text != nullptr && *text != '\0') {
        char* end = nullptr;
        const long ms = std::strtol(text, &end, 10);
        if (end != nullptr && *end == '\0' && ms >= 0 && ms <= 600000) return std::chrono::milliseconds(ms);
    }
    return std::chrono::milliseconds(1200);
}

void LoaderReturn::Schedule(Clock::duration after) {
    {
        std::lock_guard lock(mutex_);
        due_ = Clock::now() + after;
    }
    wake_.notify_all();
}

void LoaderReturn::Cancel() {
    std::lock_guard lock(mutex_);
    due_.reset();
}

void LoaderReturn::Run() {
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (!due_) {
            wake_.wait(lock);
            continue;
        }
        if (Clock::now() < *due_) {
            wake_.wait_until(lock, *due_);
            continue;
        }
        due_.reset();
        // Runs without this lock: the return takes the backend's own lock, under which the
        // backend may call Schedule or Cancel.
        lock.unlock();
        comeBack_();
        lock.lock();
    }
}

}  // namespace qv::hidserv
