#pragma once
// Standing requests registered by the program and the delivery of input reports and presence
// events to their callbacks. Callbacks run without any lock held, so they may call back into the
// library (the status write of a bank toggle does); deleting a request waits until a call of its
// callback that is running on another thread has returned.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "hidserv/backend.h"
#include "hidserv/hidserv.h"

namespace qv::hidserv {

class ListenerRegistry {
public:
    // A standing read on a collection; returns its unit id (never 0).
    std::uint32_t AddListener(Collection collection, HidServCallback callback, ListenerTag tag);
    // A one-off request (status write) kept only so that its unit id can be deleted.
    std::uint32_t AddRequest(Collection collection, HidServCallback callback, ListenerTag tag);
    bool Remove(std::uint32_t unitId);
    void Clear();

    // Input report of a collection to every standing read on it.
    void DeliverData(Collection collection, const std::uint8_t* data, std::size_t length);
    // Keyboard count after an arrival or removal, to the vendor listeners.
    void DeliverPresence(int count);

private:
    struct Entry {
        Collection collection;
        HidServCallback callback;
        ListenerTag tag;
        bool standing;
        std::mutex callMutex;  // held while the callback runs
        bool removed = false;  // guarded by callMutex
        std::atomic<std::thread::id> caller{};
    };
    std::vector<std::shared_ptr<Entry>> Listeners(Collection collection);
    static void Call(Entry& entry, const HidServEvent& event);

    std::mutex mutex_;
    std::uint32_t nextUnitId_ = 1;
    std::map<std::uint32_t, std::shared_ptr<Entry>> entries_;
};

}  // namespace qv::hidserv
