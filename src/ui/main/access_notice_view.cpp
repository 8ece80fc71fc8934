#include "ui/main/access_notice_view.h"

#include "core/app/text_table.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::ui {

AccessNoticeView::AccessNoticeView(CQuorvaneDlg& window, std::filesystem::path programFolder)
    : window_(window), programFolder_(std::move(programFolder)) {}

void AccessNoticeView::Update(int inaccessibleNodes) {
    const device::AccessNotice::Step step = notice_.Update(inaccessibleNodes);
    const std::string advice = device::AccessAdvice(programFolder_);
    if (step.showMessage) window_.ShowUserMessage(advice);
    // Set after the message box: its own loop may have created the tray (with the usual text) or
    // seen the keyboard become accessible meanwhile.
    const std::string tooltip = notice_.Inaccessible() ? advice : Text(TextId::KEYBOARD_TRAY_DESC);
    window_.Tray().SetTooltip(QString::fromStdString(tooltip));
}

}  // namespace qv::ui
