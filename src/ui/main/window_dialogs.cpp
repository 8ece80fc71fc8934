#include "ui/main/window_dialogs.h"

#include "ui/common/key_editor_runner.h"
#include "ui/main/about_dlg.h"
#include "ui/profile/profile_dlg.h"
#include "ui/update/update_dlg.h"

namespace qv::ui {

bool CWindowDialogs::ProfileManagerOpen() const { return CQuorvane_DlgProfile::Current() != nullptr; }

bool CWindowDialogs::ProfileManagerHasChanges() const {
    const CQuorvane_DlgProfile* manager = CQuorvane_DlgProfile::Current();
    return manager != nullptr && manager->ApplyEnabled();
}

void CWindowDialogs::TickProfileManagerRow(int row) {
    if (CQuorvane_DlgProfile* manager = CQuorvane_DlgProfile::Current()) manager->TickRow(row);
}

bool CWindowDialogs::UpdateDialogOpen() const { return CQuorvane_DlgUpdate::Current() != nullptr; }

void CWindowDialogs::CloseAll() {
    CAboutDlg::CloseCurrent();
    CQuorvane_DlgProfile::CloseCurrent();
    if (keyEditor_ != nullptr) keyEditor_->Cancel();
}

}  // namespace qv::ui
