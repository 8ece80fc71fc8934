#pragma once
// The device link of the running program, wired to the main window.

#include "ui/main/quorvane_dlg.h"

namespace qv::ui {

class DeviceSession {
public:
    DeviceSession();
    ~DeviceSession();
    CQuorvaneDlg::Services Services();
};

}  // namespace qv::ui
