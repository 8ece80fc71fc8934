#pragma once
// The window's side of a keyboard that is plugged in but cannot be opened: the message once per
// arrival and the tray tooltip while it lasts (the rules are core's AccessNotice).

#include <QObject>

#include <filesystem>

#include "core/device/access_notice.h"

namespace qv::ui {

class CQuorvaneDlg;

class AccessNoticeView : public QObject {
    Q_OBJECT
public:
    AccessNoticeView(CQuorvaneDlg& window, std::filesystem::path programFolder);

    // On the window's thread: the number of inaccessible nodes the service library reports.
    void Update(int inaccessibleNodes);
    bool Inaccessible() const { return notice_.Inaccessible(); }

private:
    CQuorvaneDlg& window_;
    std::filesystem::path programFolder_;
    device::AccessNotice notice_;
};

}  // namespace qv::ui
