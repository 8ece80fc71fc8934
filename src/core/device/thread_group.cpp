#include "core/device/thread_group.h"

namespace qv::device {

void ThreadGroup::Spawn(std::function<void()> body) {
    std::list<Member> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = members_.begin(); it != members_.end();) {
            if (it->done->load()) {
                finished.splice(finished.end(), members_, it++);
            } else {
                ++it;
            }
        }
        auto done = std::make_shared<std::atomic<bool>>(false);
        members_.push_back(Member{std::thread([body = std::move(body), done] {
                                      body();
                                      done->store(true);
                                  }),
                                  done});
    }
    for (Member& m : finished) m.thread.join();
}

void ThreadGroup::JoinAll() {
    std::list<Member> all;
    {
        std::lock_guard lock(mutex_);
        all.swap(members_);
    }
    for (Member& m : all) {
        if (m.thread.joinable() && m.thread.get_id() != std::this_thread::get_id()) m.thread.join();
        else if (m.thread.joinable()) m.thread.detach();
    }
}

}  // namespace qv::device
