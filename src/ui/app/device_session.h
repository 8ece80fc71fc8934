#pragma once
// The device link of the running program wired to the main window: the service library, the
// listeners and the presence workers, and the window side of what they ask for.

#include <memory>

#include "core/device/device_events.h"
#include "core/device/device_link.h"
#include "core/device/main_window_link.h"
#include "ui/main/access_notice_view.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::ui {

// The main window as the device threads see it. Every call hops to the window's thread; a
// synchronous message gives up once the window is closing, so no worker waits on a window that
// no longer runs its loop.
class WindowLink : public device::MainWindowLink {
public:
    explicit WindowLink(CQuorvaneDlg& window) : window_(window) {}

    void SendWindowMessage(unsigned message, std::uintptr_t wParam) override;
    void PostWindowMessage(unsigned message, std::uintptr_t wParam) override;
    void StartWindowTimer(int timerId, int delayMilliseconds) override;
    void HideWindow() override;
    void SetTrayState(int kind, int iconId) override;
    bool WaitUntilReady(std::chrono::milliseconds atMost) override;
    bool AutoOpenFlag() const override;
    void SetAutoOpenFlag(bool value) override;
    void ShowGKeyBank(int bank, const std::array<std::string_view, 9>& captions) override;
    void ShowMessage(std::string_view text) override;

    void SetClosing() { closing_ = true; }

private:
    // Runs `work` on the window's thread and waits for it, unless the window closes meanwhile.
    void RunAndWait(std::function<void()> work);

    CQuorvaneDlg& window_;
    std::atomic<bool> closing_{false};
};

class DeviceSession : public DeviceConnector {
public:
    DeviceSession();
    ~DeviceSession() override;
    DeviceSession(const DeviceSession&) = delete;
    DeviceSession& operator=(const DeviceSession&) = delete;

    // DeviceConnector: the link from the program folder and what its workers know.
    bool Start(CQuorvaneDlg& window) override;
    device::CommandSet* Commands() override;
    int KeyboardCount() const override;
    std::size_t MacroCapacity() const override;
    int Bank() const override;
    // Stops the workers before the window goes away.
    void Close();

    // Runs between opening the link and starting its listeners (tests set up the keyboard here).
    void SetBeforeStart(std::function<void(device::DeviceLink&)> hook) { beforeStart_ = std::move(hook); }

    device::DeviceLink* Link() { return link_.get(); }
    device::DeviceEvents* Events() { return events_.get(); }
    AccessNoticeView* AccessView() { return accessView_.get(); }

private:
    std::function<void(device::DeviceLink&)> beforeStart_;
    // Before the link: it goes after it, so the library can no longer call into it.
    std::unique_ptr<AccessNoticeView> accessView_;
    std::unique_ptr<device::DeviceLink> link_;
    std::unique_ptr<WindowLink> windowLink_;
    std::unique_ptr<device::DeviceEvents> events_;
};

}  // namespace qv::ui
