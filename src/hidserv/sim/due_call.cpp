#include "hidserv/sim/due_call.h"

namespace qv::hidserv {

DueCall::DueCall(std::function<void()> call) : call_(std::move(call)), thread_([this] { Run(); }) {}

DueCall::~DueCall() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DueCall::Schedule(Clock::duration after) {
    {
        std::lock_guard lock(mutex_);
        due_ = Clock::now() + after;
    }
    wake_.notify_all();
}

void DueCall::Cancel() {
    std::lock_guard lock(mutex_);
    due_.reset();
}

void DueCall::Run() {
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
        // Runs without this lock: the call takes the backend's own lock, under which the
        // backend may call Schedule or Cancel.
        lock.unlock();
        call_();
        lock.lock();
    }
}

}  // namespace qv::hidserv
