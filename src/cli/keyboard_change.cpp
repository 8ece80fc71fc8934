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

// `sent` tells whether the keyboard got something a running window should hear of.
int Send(const KeyboardContents& before, ProfileContent content, DeviceSession& session, bool all, bool& sent) {
    StderrPrompt prompt;
    sent = false;
    switch (SendKeyboardContents(before, std::move(content), session.Commands(), prompt,
                                 UserFiles().workingProfileFile, all)) {
        case SendOutcome::NoChange: return kExitOk;
        case SendOutcome::NoRoom: return Fail(kExitFailed, "nothing was sent to the keyboard");
        case SendOutcome::Failed: return kExitFailed;  // the core has said what the keyboard took
        case SendOutcome::Sent: break;
    }
    sent = true;
    return kExitOk;
}

}  // namespace

int ReadKeyboard(const std::function<int(const KeyboardContents& contents)>& show) {
    std::string error;
    auto session = OpenKeyboardSession(&error);
    if (!session) return Fail(kExitFailed, error);
    const auto contents = ReadKeyboardContents(session->Commands(), UserFiles().workingProfileFile, &error);
    if (!contents) return Fail(kExitFailed, error);
    return show(*contents);
}

bool HoldKeyboardForChange(std::unique_ptr<platform::KeyboardWriteLock>& lock) {
    if (!Env().lockKeyboard) return true;
    std::string error;
    lock = Env().lockKeyboard(&error);
    if (lock) return true;
    Fail(kExitFailed, error);
    return false;
}

void NotifyWindowOfSettings() {
    if (Env().notifyWindowSettings) Env().notifyWindowSettings();
}

int ChangeKeyboard(const std::function<int(const KeyboardContents& before, ProfileContent& content)>& change,
                   bool allProfiles) {
    std::unique_ptr<platform::KeyboardWriteLock> lock;
    if (!HoldKeyboardForChange(lock)) return kExitFailed;
    bool sent = false;
    int code = kExitOk;
    {
        std::string error;
        auto session = OpenKeyboardSession(&error);
        if (!session) return Fail(kExitFailed, error);
        const auto before = ReadKeyboardContents(session->Commands(), UserFiles().workingProfileFile, &error);
        if (!before) return Fail(kExitFailed, error);
        ProfileContent content = before->content;
        if (code = change(*before, content); code != kExitOk) return code;
        code = Send(*before, std::move(content), *session, allProfiles, sent);
    }
    // The window reads the keyboard when it hears of the change; the next change may start then.
    lock.reset();
    if (sent && Env().notifyWindow) Env().notifyWindow();
    return code;
}

int SendWholeContent(ProfileContent content) {
    return ChangeKeyboard([&content](const KeyboardContents&, ProfileContent& target) {
        target = std::move(content);
        return kExitOk;
    }, true);
}

}  // namespace qv::cli
