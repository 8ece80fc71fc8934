#pragma once
// The simulated keyboard's firmware loader: after the update-mode frame the keyboard leaves the
// bus and, a while later, comes back as itself. This thread waits out that while and then runs
// the return; a new entry or a cancel replaces the pending one.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace qv::hidserv {

class LoaderReturn {
public:
    using Clock = std::chrono::steady_clock;

    explicit LoaderReturn(std::function<void()> comeBack);
    ~LoaderReturn();
    LoaderReturn(const LoaderReturn&) = delete;
    LoaderReturn& operator=(const LoaderReturn&) = delete;

    void Schedule(Clock::duration after);
    void Cancel();

    // How long the loader stays: QUORVANE_SIM_LOADER_MS, else a little over a second.
    static std::chrono::milliseconds LoaderTime();

private:
    void Run();

    std::function<void()> comeBack_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<Clock::time_point> due_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace qv::hidserv
