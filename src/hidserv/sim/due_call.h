#pragma once
// A call made on its own thread once its time has come: the simulated keyboard's return from its
// firmware loader, and letting go of the state file after a burst of frames. A new Schedule or a
// Cancel replaces the pending call.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qv::hidserv {

class DueCall {
public:
    using Clock = std::chrono::steady_clock;

    explicit DueCall(std::function<void()> call);
    ~DueCall();
    DueCall(const DueCall&) = delete;
    DueCall& operator=(const DueCall&) = delete;

    void Schedule(Clock::duration after);
    void Cancel();

private:
    void Run();

    std::function<void()> call_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Clock::time_point> due_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace qv::hidserv
