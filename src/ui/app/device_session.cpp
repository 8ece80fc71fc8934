#include "ui/app/device_session.h"

#include <QMetaObject>
#include <QSemaphore>
#include <QThread>

#include <string>

#include "core/app/paths.h"
#include "ui/update/update_dlg.h"

namespace qv::ui {

void WindowLink::RunAndWait(std::function<void()> work) {
    if (closing_) return;
    if (QThread::currentThread() == window_.thread()) {
        work();
        return;
    }
    auto done = std::make_shared<QSemaphore>(0);
    QMetaObject::invokeMethod(
        &window_,
        [work = std::move(work), done] {
            work();
            done->release();
        },
        Qt::QueuedConnection);
    while (!done->tryAcquire(1, 50)) {
        if (closing_) return;
    }
}

void WindowLink::SendWindowMessage(unsigned message, std::uintptr_t wParam) {
    RunAndWait([this, message, wParam] {
        if (!closing_) window_.OnMessage(message, static_cast<std::uint32_t>(wParam));
    });
}

void WindowLink::PostWindowMessage(unsigned message, std::uintptr_t wParam) {
    if (!closing_) window_.PostMessage(message, static_cast<std::uint32_t>(wParam));
}

void WindowLink::StartWindowTimer(int timerId, int delayMilliseconds) {
    QMetaObject::invokeMethod(&window_, [this, timerId, delayMilliseconds] { window_.StartTimer(timerId, delayMilliseconds); },
                              Qt::QueuedConnection);
}

void WindowLink::HideWindow() {
    // The update dialog that sent the keyboard to its loader is not left alone on screen.
    QMetaObject::invokeMethod(&window_, [this] { if (CQuorvane_DlgUpdate::Current() == nullptr) window_.hide(); },
                              Qt::QueuedConnection);
}

void WindowLink::SetTrayState(int kind, int iconId) {
    QMetaObject::invokeMethod(&window_, [this, kind, iconId] { window_.SetTrayState(kind, iconId); },
                              Qt::QueuedConnection);
}

bool WindowLink::WaitUntilReady(std::chrono::milliseconds atMost) { return window_.Model().State().ready.WaitFor(atMost); }
bool WindowLink::AutoOpenFlag() const { return window_.Model().State().autoOpen != 0; }
void WindowLink::SetAutoOpenFlag(bool value) { window_.Model().State().autoOpen = value ? 1 : 0; }

void WindowLink::ShowGKeyBank(int bank, const std::array<std::string_view, 9>&) {
    // The captions are the bank's own ("A1".."B5"); the window writes them with the faces.
    QMetaObject::invokeMethod(&window_, [this, bank] { window_.ShowBank(bank); }, Qt::QueuedConnection);
}

void WindowLink::ShowMessage(std::string_view text) {
    RunAndWait([this, message = std::string(text)] { window_.ShowUserMessage(message); });
}

DeviceSession::DeviceSession() = default;
DeviceSession::~DeviceSession() { Close(); }

void DeviceSession::Close() {
    if (windowLink_) windowLink_->SetClosing();
    events_.reset();
}

bool DeviceSession::Start(CQuorvaneDlg& window) {
    std::string error;
    link_ = device::DeviceLink::Open(Paths().programFolder, &error);
    if (!link_) return false;
    if (beforeStart_) beforeStart_(*link_);
    // A keyboard present but not accessible: the user hears of it from the window.
    accessView_ = std::make_unique<AccessNoticeView>(window, Paths().programFolder);
    AccessNoticeView* view = accessView_.get();
    auto tell = [view](int nodes) {
        QMetaObject::invokeMethod(view, [view, nodes] { view->Update(nodes); }, Qt::QueuedConnection);
    };
    link_->Service().SetAccessHandler(tell);
    if (const int nodes = link_->Service().InaccessibleNodes(); nodes > 0) tell(nodes);
    windowLink_ = std::make_unique<WindowLink>(window);
    events_ = std::make_unique<device::DeviceEvents>(*link_, *windowLink_);
    events_->Start();
    return true;
}

device::CommandSet* DeviceSession::Commands() { return link_ ? &link_->Commands() : nullptr; }

int DeviceSession::KeyboardCount() const { return events_ ? events_->Presence().LastKnownCount() : 0; }

std::size_t DeviceSession::MacroCapacity() const {
    return events_ ? events_->Presence().MacroCapacityBytes() : std::size_t{0};
}

int DeviceSession::Bank() const { return link_ ? (link_->Listener().Status()[1] & 1) : 0; }

}  // namespace qv::ui
