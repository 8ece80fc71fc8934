#include "ui/app/device_session.h"

namespace qv::ui {

DeviceSession::DeviceSession() = default;
DeviceSession::~DeviceSession() = default;

CQuorvaneDlg::Services DeviceSession::Services() {
    CQuorvaneDlg::Services s;
    s.startDeviceLink = [](CQuorvaneDlg&) { return true; };
    return s;
}

}  // namespace qv::ui
