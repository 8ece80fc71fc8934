#pragma once
// Message boxes and Yes/No questions as real dialogs (No is the default button), titled with the
// program's caption and marked with the icon of their kind.

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include "core/app/user_prompt.h"

namespace qv::ui {

class MessageBoxPrompt : public UserPrompt {
public:
    explicit MessageBoxPrompt(QWidget* owner = nullptr) : owner_(owner) {}
    void ShowMessage(std::string_view text) override;
    void ShowWarning(std::string_view text) override;
    void ShowError(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

private:
    int Run(QMessageBox::Icon icon, std::string_view text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton);

    QPointer<QWidget> owner_;
};

}  // namespace qv::ui
