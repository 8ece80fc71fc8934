#include "hidserv/hidapi/hidapi_backend.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "protocol/report_frame.h"

namespace qv::hidserv {
namespace {

constexpr int kReadTimeoutMs = 100;  // how soon a reader notices it should stop

Collection CollectionOfUsage(std::uint16_t page, std::uint16_t usage) {
    const DeviceIdentity identity{HIDSERV_IDENTITY_FLAGS, HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID, page, usage, 0};
    return CollectionOf(&identity);
}

}  // namespace

HidapiBackend::HidapiBackend(ListenerRegistry& listeners, std::unique_ptr<HidApi> api,
                             std::chrono::milliseconds poll)
    : listeners_(listeners), api_(std::move(api)), poll_(poll) {
    // Watching starts before the first scan so that nothing plugged in between is missed.
    watch_ = api_->WatchHotplug(HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID);
    // What is there at start is no arrival: the program asks for the count after Init.
    Scan(/*announce=*/false);
    monitor_ = std::thread([this] { MonitorLoop(); });
}

HidapiBackend::~HidapiBackend() {
    {
        std::lock_guard lock(monitorMutex_);
        stopping_ = true;
    }
    monitorWake_.notify_all();
    if (watch_) watch_->Interrupt();
    monitor_.join();
    std::map<std::string, Node> nodes;
    {
        std::lock_guard lock(mutex_);
        nodes.swap(nodes_);
    }
    for (auto& [path, node] : nodes) node.stop->store(true);
    for (auto& [path, node] : nodes) {
        if (node.reader.joinable()) node.reader.join();
    }
}

int HidapiBackend::CountLocked() const {
    int count = 0;
    for (const auto& [path, node] : nodes_) {
        if (node.collections.count(Collection::Vendor) != 0 && !node.failed->load()) ++count;
    }
    return count;
}

int HidapiBackend::DeviceCount() {
    std::lock_guard lock(mutex_);
    return CountLocked();
}

void HidapiBackend::ReportUnopenable(const std::string& path) {
    std::fprintf(stderr,
                 "HidServ: the keyboard's device node %s cannot be opened (permission denied?); "
                 "the udev rule that comes with Quorvane grants access to it, then replug the "
                 "keyboard\n",
                 path.c_str());
}

int HidapiBackend::InaccessibleNodes(std::string* firstPath) {
    std::lock_guard lock(mutex_);
    if (firstPath != nullptr) *firstPath = unopenable_.empty() ? std::string() : *unopenable_.begin();
    return static_cast<int>(unopenable_.size());
}

void HidapiBackend::SetAccessObserver(std::function<void(int)> observer) {
    std::lock_guard lock(mutex_);
    accessObserver_ = std::move(observer);
}

void HidapiBackend::Rescan() { Scan(/*announce=*/true); }

void HidapiBackend::Scan(bool announce) {
    std::lock_guard scan(scanMutex_);
    std::map<std::string, std::set<Collection>> present;
    for (const HidCollectionInfo& info : api_->Enumerate(HIDSERV_VENDOR_ID, HIDSERV_PRODUCT_ID)) {
        if (info.vendorId != HIDSERV_VENDOR_ID || info.productId != HIDSERV_PRODUCT_ID) continue;
        const Collection c = CollectionOfUsage(info.usagePage, info.usage);
        if (c != Collection::None) present[info.path].insert(c);
    }

    // Gone, failed or changed nodes are closed; their readers are joined outside the lock.
    std::vector<Node> closed;
    {
        std::lock_guard lock(mutex_);
        for (auto it = nodes_.begin(); it != nodes_.end();) {
            const auto found = present.find(it->first);
            if (found == present.end() || found->second != it->second.collections ||
                it->second.failed->load()) {
                it->second.stop->store(true);
                closed.push_back(std::move(it->second));
                it = nodes_.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (Node& node : closed) {
        if (node.reader.joinable()) node.reader.join();
    }
    closed.clear();

    std::set<std::string> unopenable;
    for (const auto& [path, collections] : present) {
        {
            std::lock_guard lock(mutex_);
            if (nodes_.count(path) != 0) continue;
        }
        std::shared_ptr<HidHandle> handle = api_->Open(path);
        if (!handle) {
            unopenable.insert(path);
            continue;
        }
        Node node;
        node.collections = collections;
        node.handle = handle;
        node.failed = std::make_shared<std::atomic<bool>>(false);
        node.stop = std::make_shared<std::atomic<bool>>(false);
        if (collections.count(Collection::Vendor) != 0 || collections.count(Collection::Consumer) != 0) {
            node.reader = std::thread([this, kinds = node.collections, handle, failed = node.failed,
                                       stop = node.stop] {
                ReaderLoop(kinds, handle, failed, stop);
            });
        }
        std::lock_guard lock(mutex_);
        nodes_.emplace(path, std::move(node));
    }

    int count;
    bool changed;
    std::function<void(int)> observer;
    int inaccessible;
    {
        std::lock_guard lock(mutex_);
        count = CountLocked();
        changed = count != lastCount_;
        lastCount_ = count;
        // A node is reported again only after it went away and came back (a new arrival).
        for (const std::string& path : unopenable) {
            if (unopenable_.count(path) == 0) ReportUnopenable(path);
        }
        if (unopenable != unopenable_) observer = accessObserver_;
        unopenable_ = std::move(unopenable);
        inaccessible = static_cast<int>(unopenable_.size());
    }
    if (changed && announce) listeners_.DeliverPresence(count);
    if (observer) observer(inaccessible);
}

void HidapiBackend::ReaderLoop(std::set<Collection> collections, std::shared_ptr<HidHandle> handle,
                               std::shared_ptr<std::atomic<bool>> failed,
                               std::shared_ptr<std::atomic<bool>> stop) {
    const bool vendor = collections.count(Collection::Vendor) != 0;
    const bool consumer = collections.count(Collection::Consumer) != 0;
    std::array<std::uint8_t, 256> buffer{};
    while (!stop->load()) {
        const int n = handle->ReadTimeout(buffer.data(), buffer.size(), kReadTimeoutMs);
        if (n < 0) {
            // Pulled out: the monitor closes the node and tells the listeners.
            failed->store(true);
            WakeMonitor();
            return;
        }
        if (n == 0) continue;
        // On a node shared by both, the vendor's 64-byte reports carry report id 4.
        const bool isVendor = vendor && (!consumer || (buffer[0] == qv::device::frame::kReportId &&
                                                       n == static_cast<int>(qv::device::frame::kSize)));
        listeners_.DeliverData(isVendor ? Collection::Vendor : Collection::Consumer, buffer.data(),
                               static_cast<std::size_t>(n));
    }
}

void HidapiBackend::WakeMonitor() {
    {
        std::lock_guard lock(monitorMutex_);
        rescanSoon_ = true;
    }
    monitorWake_.notify_all();
    if (watch_) watch_->Interrupt();
}

void HidapiBackend::MonitorLoop() {
    using Clock = std::chrono::steady_clock;
    const auto interval = watch_ ? std::max(poll_, kSafetyRescan) : poll_;
    auto due = Clock::now() + interval;
    while (true) {
        bool woken = false;
        if (watch_) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
            woken = watch_->Wait(std::max(left, std::chrono::milliseconds(0)));
        }
        {
            std::unique_lock lock(monitorMutex_);
            if (!watch_) monitorWake_.wait_until(lock, due, [this] { return stopping_ || rescanSoon_; });
            if (stopping_) return;
            woken = woken || rescanSoon_;
            rescanSoon_ = false;
        }
        const auto now = Clock::now();
        if (!woken && now < due) continue;
        if (now >= due) due = now + interval;
        Rescan();
    }
}

int HidapiBackend::WriteTo(Collection collection, const std::uint8_t* data, std::size_t length) {
    std::shared_ptr<HidHandle> handle;
    std::shared_ptr<std::atomic<bool>> failed;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [path, node] : nodes_) {
            if (node.collections.count(collection) != 0 && !node.failed->load()) {
                handle = node.handle;
                failed = node.failed;
                break;
            }
        }
    }
    if (!handle) return -1;
    const int n = handle->Write(data, length);
    if (n < 0) {
        failed->store(true);
        WakeMonitor();
        return -1;
    }
    return n;
}

int HidapiBackend::WriteVendorReport(const std::uint8_t* report, std::size_t length) {
    if (report == nullptr || length == 0 || length > qv::device::frame::kSize) return -1;
    std::array<std::uint8_t, qv::device::frame::kSize> frame{};
    std::copy_n(report, length, frame.begin());
    frame[0] = qv::device::frame::kReportId;
    return WriteTo(Collection::Vendor, frame.data(), frame.size());
}

int HidapiBackend::WriteStatusReport(const std::uint8_t* status, std::size_t length) {
    if (status == nullptr || length == 0 || length > protocol::kStatusReportSize) return -1;
    const int n = WriteTo(Collection::Status, status, length);
    if (n > 0) {
        std::lock_guard lock(mutex_);
        std::copy_n(status, length, lastStatus_.begin());
    }
    return n;
}

int HidapiBackend::ReadStatusReport(std::uint8_t* out, std::size_t capacity) {
    if (out == nullptr) return -1;
    std::lock_guard lock(mutex_);
    if (CountLocked() == 0) return -1;
    const std::size_t n = std::min(capacity, lastStatus_.size());
    std::copy_n(lastStatus_.begin(), n, out);
    return static_cast<int>(n);
}

}  // namespace qv::hidserv
