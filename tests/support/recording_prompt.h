#pragma once
// A UserPrompt that records what it was asked and answers questions from a script.

#include <deque>
#include <string>
#include <vector>

#include "core/app/user_prompt.h"

namespace qv::test {

class RecordingPrompt : public UserPrompt {
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    bool AskYesNo(std::string_view text) override {
        questions.emplace_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers;  // No when empty
};

}  // namespace qv::test
