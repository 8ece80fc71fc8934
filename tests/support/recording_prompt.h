#pragma once
// A UserPrompt that records what it was asked, and of which kind, and answers questions from a
// script.

#include <deque>
#include <string>
#include <vector>

#include "core/app/user_prompt.h"

namespace qv::test {

class RecordingPrompt : public UserPrompt {
public:
    enum class Kind { Message, Warning, Error };

    void ShowMessage(std::string_view text) override { Record(Kind::Message, text); }
    void ShowWarning(std::string_view text) override { Record(Kind::Warning, text); }
    void ShowError(std::string_view text) override { Record(Kind::Error, text); }
    bool AskYesNo(std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> messages;
    std::vector<Kind> kinds;  // one for each of `messages`
    std::vector<std::string> questions;
    std::deque<bool> answers;  // No when empty

private:
    void Record(Kind kind, std::string_view text) {
        messages.emplace_back(text);
        kinds.push_back(kind);
    }
};

}  // namespace qv::test
