#pragma once
// One thread of the simulated keyboard that hands reports to the listeners at their due time,
// in order. Like a reader thread of a real collection: callbacks run here, never on the writer.

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace qv::hidserv {

class DeliveryThread {
public:
    using Clock = std::chrono::steady_clock;
    struct Item {
        Clock::time_point due;
        bool presence = false;
        int count = 0;  // keyboard count (presence) or byte count (data)
        std::array<std::uint8_t, 64> bytes{};
    };
    using Sink = std::function<void(const Item&)>;

    explicit DeliveryThread(Sink sink);
    ~DeliveryThread();
    DeliveryThread(const DeliveryThread&) = delete;
    DeliveryThread& operator=(const DeliveryThread&) = delete;

    void Push(const Item& item);
    // Drops everything not yet delivered (the keyboard went away).
    void DropPending();

private:
    void Run();

    Sink sink_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Item> items_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace qv::hidserv
