#include "ui/common/message_box_prompt.h"

#include <QMessageBox>

namespace qv::ui {

void MessageBoxPrompt::ShowMessage(std::string_view text) {
    QMessageBox box(QMessageBox::NoIcon, QString(), QString::fromUtf8(text.data(), static_cast<int>(text.size())),
                    QMessageBox::Ok, owner_);
    box.exec();
}

bool MessageBoxPrompt::AskYesNo(std::string_view text) {
    QMessageBox box(QMessageBox::Question, QString(), QString::fromUtf8(text.data(), static_cast<int>(text.size())),
                    QMessageBox::Yes | QMessageBox::No, owner_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

}  // namespace qv::ui
