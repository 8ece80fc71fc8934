#include "cli/keyboard_change.h"

#include <string>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "core/app/paths.h"
#include "core/app/user_prompt.h"

namespace qv::cli {
namespace {

// The core's messages go to standard error on one line each; questions are answered No.
class StderrPrompt : public UserPrompt {
public:
    void ShowMessage(std::string_view text) override {
        // The texts carry line breaks for message boxes; one line reads better on a terminal.
        std::string line;
        for (const char c : text) {
            if (c == '\r') continue;
            if (c == '\n' || c == ' ') {
                if (!line.empty() && line.back() != ' ') line += ' ';
                continue;
            }
            line += c;
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        Fail(0, line);
    }
    bool AskYesNo(std::string_view) override { return false; }
};

int Send(const KeyboardContents& before, ProfileContent content, DeviceSession& session, bool all) {
    StderrPrompt prompt;
    switch (SendKeyboardContents(before, std::move(content), session.Commands(), prompt,
                                 UserFiles().workingProfileFile, all)) {
        case SendOutcome::NoChange: return kExitOk;
        case SendOutcome::NoRoom: return Fail(kExitFailed, "nothing was sent to the keyboard");
        case SendOutcome::Failed: return Fail(kExitFailed, "the keyboard did not take the change");
        case SendOutcome::Sent: break;
    }
    if (Env().notifyWindow) Env().notifyWindow();
    return kExitOk;
}

}  // namespace

int ReadKeyboard(const std::function<int(const KeyboardContents& contents)>& show) {
    std::string error;
    auto session = Env().openKeyboard(&error);
    if (!session) return Fail(kExitFailed, error);
    const auto contents = ReadKeyboardContents(session->Commands(), UserFiles().workingProfileFile, &error);
    if (!contents) return Fail(kExitFailed, error);
    return show(*contents);
}

int ChangeKeyboard(const std::function<int(const KeyboardContents& before, ProfileContent& content)>& change,
                   bool allProfiles) {
    std::string error;
    auto session = Env().openKeyboard(&error);
    if (!session) return Fail(kExitFailed, error);
    const auto before = ReadKeyboardContents(session->Commands(), UserFiles().workingProfileFile, &error);
    if (!before) return Fail(kExitFailed, error);
    ProfileContent content = before->content;
    if (const int code = change(*before, content); code != kExitOk) return code;
    return Send(*before, std::move(content), *session, allProfiles);
}

int SendWholeContent(ProfileContent content) {
    return ChangeKeyboard([&content](const KeyboardContents&, ProfileContent& target) {
        target = std::move(content);
        return kExitOk;
    }, true);
}

}  // namespace qv::cli
