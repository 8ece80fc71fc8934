#pragma once
// Real keyboards through hidapi: finds the keyboard's vendor, consumer and status collections by
// vendor/product id and usage page/usage, reads the vendor and consumer collections on a thread
// each, writes output reports, and watches for arrival and removal: from udev events where the
// system has them, with a slow rescan as a safety net, else by polling. A keyboard that is present
// but cannot be opened counts as absent, is reported once per arrival on standard error and
// counted as not accessible for callers that ask (InaccessibleNodes).

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "hidserv/backend.h"
#include "hidserv/hidapi/hid_api.h"
#include "hidserv/listener_registry.h"
#include "protocol/status_report.h"

namespace qv::hidserv {

class HidapiBackend final : public Backend {
public:
    static constexpr std::chrono::milliseconds kDefaultPoll{500};
    // With hotplug events, only in case one was missed.
    static constexpr std::chrono::milliseconds kSafetyRescan{10000};

    HidapiBackend(ListenerRegistry& listeners, std::unique_ptr<HidApi> api,
                  std::chrono::milliseconds poll = kDefaultPoll);
    ~HidapiBackend() override;

    int DeviceCount() override;
    int WriteVendorReport(const std::uint8_t* report, std::size_t length) override;
    int WriteStatusReport(const std::uint8_t* status, std::size_t length) override;
    int ReadStatusReport(std::uint8_t* out, std::size_t capacity) override;

    // Looks for arrivals and removals now; a presence event when the count changed.
    void Rescan();

    int InaccessibleNodes(std::string* firstPath) override;
    void SetAccessObserver(std::function<void(int)> observer) override;

private:
    // One open device node. A node may carry several of the keyboard's collections.
    struct Node {
        std::set<Collection> collections;
        std::shared_ptr<HidHandle> handle;
        std::shared_ptr<std::atomic<bool>> failed;  // set by a failed read or write
        std::shared_ptr<std::atomic<bool>> stop;
        std::thread reader;
    };

    void ReaderLoop(std::set<Collection> collections, std::shared_ptr<HidHandle> handle,
                    std::shared_ptr<std::atomic<bool>> failed, std::shared_ptr<std::atomic<bool>> stop);
    void MonitorLoop();
    void Scan(bool announce);
    int WriteTo(Collection collection, const std::uint8_t* data, std::size_t length);
    int CountLocked() const;
    void ReportUnopenable(const std::string& path);
    void WakeMonitor();

    ListenerRegistry& listeners_;
    std::unique_ptr<HidApi> api_;
    const std::chrono::milliseconds poll_;

    std::mutex scanMutex_;  // one scan at a time
    mutable std::mutex mutex_;
    std::map<std::string, Node> nodes_;
    std::set<std::string> unopenable_;  // present now but refused when opened
    std::function<void(int)> accessObserver_;
    std::array<std::uint8_t, protocol::kStatusReportSize> lastStatus_ = protocol::kInitialStatusReport;
    int lastCount_ = 0;

    std::mutex monitorMutex_;
    std::condition_variable monitorWake_;
    bool stopping_ = false;
    bool rescanSoon_ = false;
    std::unique_ptr<HotplugWatch> watch_;
    std::thread monitor_;
};

}  // namespace qv::hidserv
