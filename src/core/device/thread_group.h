#pragma once
// Short-lived threads (presence workers, icon threads) that are joined, not detached: finished
// ones are reaped when the next one starts, the rest when the group is destroyed.

#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

namespace qv::device {

class ThreadGroup {
public:
    ThreadGroup() = default;
    ~ThreadGroup() { JoinAll(); }
    ThreadGroup(const ThreadGroup&) = delete;
    ThreadGroup& operator=(const ThreadGroup&) = delete;

    void Spawn(std::function<void()> body);
    void JoinAll();

private:
    struct Member {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex mutex_;
    std::list<Member> members_;
};

}  // namespace qv::device
