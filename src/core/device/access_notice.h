#pragma once
// What the user is told about a keyboard that is plugged in but whose device nodes cannot be
// opened (no udev rule, or the rule not applied yet): a message once per arrival, and the same
// words as the tray tooltip while it lasts. Both come from the text table, with the command that
// installs the rule shipped in the program folder.

#include <filesystem>
#include <string>

namespace qv::device {

inline constexpr const char* kUdevRuleFileName = "60-quorvane-keyboard.rules";

// The shell command that installs the rule from `programFolder` and applies it.
std::string UdevRuleInstallCommand(const std::filesystem::path& programFolder);

// MAIN_PROMPT_NO_ACCESS with the command filled in.
std::string AccessAdvice(const std::filesystem::path& programFolder);

class AccessNotice {
public:
    struct Step {
        bool showMessage = false;   // a new arrival: tell the user now
        bool tooltipChanged = false;
        bool inaccessible = false;  // the tooltip is the advice while this holds
    };
    // The number of inaccessible nodes the service library reports now.
    Step Update(int inaccessibleNodes);
    bool Inaccessible() const { return inaccessible_; }

private:
    bool inaccessible_ = false;
};

}  // namespace qv::device
