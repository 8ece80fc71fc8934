#pragma once
// What the core asks of the user: message boxes and Yes/No questions. The window implements it
// with real dialogs; tests record what was asked.

#include <string>
#include <string_view>

namespace qv {

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    virtual void ShowMessage(std::string_view text) = 0;
    // Warnings and errors say what they are, so a window can show them with the matching icon; a
    // prompt that only records or prints texts need not tell them apart.
    virtual void ShowWarning(std::string_view text) { ShowMessage(text); }
    virtual void ShowError(std::string_view text) { ShowMessage(text); }
    // Yes/No with No as the default; true only for Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
};

// printf-style "%d"/"%s"/"%03x" texts of the text table, filled safely.
std::string FormatText(std::string_view format, long long number);
std::string FormatText(std::string_view format, std::string_view text);

}  // namespace qv
