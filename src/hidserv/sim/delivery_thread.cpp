#include "hidserv/sim/delivery_thread.h"

#include <sys/prctl.h>

#include <algorithm>

namespace qv::hidserv {

namespace {

// A timed wait wakes up some tens of microseconds late (timer slack, scheduling); at 1 ms per
// answer that is several percent, so the last stretch before an answer is due is spun instead.
constexpr auto kSpin = std::chrono::microseconds(200);

}  // namespace

DeliveryThread::DeliveryThread(Sink sink) : sink_(std::move(sink)), thread_([this] { Run(); }) {}

DeliveryThread::~DeliveryThread() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void DeliveryThread::Push(const Item& item) {
    {
        std::lock_guard lock(mutex_);
        // Keep the queue ordered by due time; equal times keep their order.
        const auto at = std::upper_bound(items_.begin(), items_.end(), item.due,
                                         [](Clock::time_point due, const Item& other) {
                                             return due < other.due;
                                         });
        items_.insert(at, item);
    }
    wake_.notify_all();
}

void DeliveryThread::DropPending() {
    std::lock_guard lock(mutex_);
    items_.clear();
}

void DeliveryThread::Run() {
    // The default 50 us of slack would be added to every timed wait.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (items_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto due = items_.front().due;
        const auto now = Clock::now();
        if (now < due) {
            if (due - now > kSpin) {
                wake_.wait_until(lock, due - kSpin);
            } else {
                lock.unlock();
                while (Clock::now() < due) {
                    // Busy: yielding to a loaded machine can cost a whole time slice.
                }
                lock.lock();
            }
            continue;
        }
        const Item item = items_.front();
        items_.pop_front();
        lock.unlock();
        sink_(item);
        lock.lock();
    }
}

}  // namespace qv::hidserv
