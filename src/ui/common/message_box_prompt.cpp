#include "ui/common/message_box_prompt.h"

#include "core/app/text_table.h"

namespace qv::ui {

int MessageBoxPrompt::Run(QMessageBox::Icon icon, std::string_view text, QMessageBox::StandardButtons buttons,
                          QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, QString::fromStdString(Text(TextId::MAIN_CAPTION)),
                    QString::fromUtf8(text.data(), static_cast<int>(text.size())), buttons, owner_);
    box.setDefaultButton(defaultButton);
    return box.exec();
}

void MessageBoxPrompt::ShowMessage(std::string_view text) {
    Run(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompt::ShowWarning(std::string_view text) {
    Run(QMessageBox::Warning, text, QMessageBox::Ok, QMessageBox::Ok);
}

void MessageBoxPrompt::ShowError(std::string_view text) {
    Run(QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

bool MessageBoxPrompt::AskYesNo(std::string_view text) {
    return Run(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace qv::ui
