#pragma once
// Message boxes and Yes/No questions as real dialogs (No is the default button).

#include <QPointer>
#include <QWidget>

#include "core/app/user_prompt.h"

namespace qv::ui {

class MessageBoxPrompt : public UserPrompt {
public:
    explicit MessageBoxPrompt(QWidget* owner = nullptr) : owner_(owner) {}
    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace qv::ui
