#include "hidserv/sim/delivery_thread.h"

#include <algorithm>

namespace qv::hidserv {

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
    std::unique_lock lock(mutex_);
    while (!stop_) {
        if (items_.empty()) {
            wake_.wait(lock);
            continue;
        }
        const auto due = items_.front().due;
        if (Clock::now() < due) {
            wake_.wait_until(lock, due);
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
