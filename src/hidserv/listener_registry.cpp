#include "hidserv/listener_registry.h"

namespace qv::hidserv {

Collection CollectionOf(const DeviceIdentity* identity) {
    if (identity == nullptr || identity->vendorId != HIDSERV_VENDOR_ID ||
        identity->productId != HIDSERV_PRODUCT_ID) {
        return Collection::None;
    }
    if (identity->usagePage == HIDSERV_VENDOR_PAGE && identity->usage == HIDSERV_VENDOR_USAGE) {
        return Collection::Vendor;
    }
    if (identity->usagePage == HIDSERV_CONSUMER_PAGE && identity->usage == HIDSERV_CONSUMER_USAGE) {
        return Collection::Consumer;
    }
    if (identity->usagePage == HIDSERV_STATUS_PAGE && identity->usage == HIDSERV_STATUS_USAGE) {
        return Collection::Status;
    }
    return Collection::None;
}

std::uint32_t ListenerRegistry::AddListener(Collection collection, HidServCallback callback,
                                            ListenerTag tag) {
    auto entry = std::make_shared<Entry>();
    entry->collection = collection;
    entry->callback = callback;
    entry->tag = tag;
    entry->standing = true;
    std::lock_guard lock(mutex_);
    const std::uint32_t id = nextUnitId_++;
    if (nextUnitId_ == 0) nextUnitId_ = 1;
    entries_[id] = std::move(entry);
    return id;
}

std::uint32_t ListenerRegistry::AddRequest(Collection collection, HidServCallback callback,
                                           ListenerTag tag) {
    const std::uint32_t id = AddListener(collection, callback, tag);
    std::lock_guard lock(mutex_);
    entries_[id]->standing = false;
    return id;
}

bool ListenerRegistry::Remove(std::uint32_t unitId) {
    std::shared_ptr<Entry> entry;
    {
        std::lock_guard lock(mutex_);
        const auto it = entries_.find(unitId);
        if (it == entries_.end()) return false;
        entry = it->second;
        entries_.erase(it);
    }
    // A callback deleting its own request must not wait for itself.
    if (entry->caller.load() == std::this_thread::get_id()) {
        entry->removed = true;
        return true;
    }
    std::lock_guard wait(entry->callMutex);
    entry->removed = true;
    return true;
}

void ListenerRegistry::Clear() {
    std::vector<std::uint32_t> ids;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, entry] : entries_) ids.push_back(id);
    }
    for (const std::uint32_t id : ids) Remove(id);
}

std::vector<std::shared_ptr<ListenerRegistry::Entry>> ListenerRegistry::Listeners(
    Collection collection) {
    std::vector<std::shared_ptr<Entry>> found;
    std::lock_guard lock(mutex_);
    for (const auto& [id, entry] : entries_) {
        if (entry->standing && entry->collection == collection && entry->callback != nullptr) {
            found.push_back(entry);
        }
    }
    return found;
}

void ListenerRegistry::Call(Entry& entry, const HidServEvent& event) {
    std::lock_guard lock(entry.callMutex);
    if (entry.removed) return;
    entry.caller = std::this_thread::get_id();
    entry.callback(&event);
    entry.caller = std::thread::id();
}

void ListenerRegistry::DeliverData(Collection collection, const std::uint8_t* data,
                                   std::size_t length) {
    HidServReadBlock block{};
    block.latestReport = data;
    for (const auto& entry : Listeners(collection)) {
        const HidServRequest request{entry->tag, static_cast<std::uint32_t>(length), data, &block};
        const HidServEvent event{HIDSERV_EVENT_DATA, 0, &request};
        Call(*entry, event);
    }
}

void ListenerRegistry::DeliverPresence(int count) {
    for (const auto& entry : Listeners(Collection::Vendor)) {
        const HidServRequest request{entry->tag, static_cast<std::uint32_t>(count < 0 ? 0 : count),
                                     nullptr, nullptr};
        const HidServEvent event{HIDSERV_EVENT_PRESENCE, 0, &request};
        Call(*entry, event);
    }
}

}  // namespace qv::hidserv
