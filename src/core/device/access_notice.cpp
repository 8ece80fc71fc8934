#include "core/device/access_notice.h"

#include "core/app/text_table.h"
#include "core/app/user_prompt.h"

namespace qv::device {

std::string UdevRuleInstallCommand(const std::filesystem::path& programFolder) {
    const std::string rule = (programFolder / kUdevRuleFileName).string();
    // Quoted for the shell; a folder name with a quote of its own is not worth a special case.
    return "sudo install -m 644 '" + rule +
           "' /etc/udev/rules.d/ && sudo udevadm control --reload-rules && "
           "sudo udevadm trigger --subsystem-match=hidraw";
}

std::string AccessAdvice(const std::filesystem::path& programFolder) {
    return FormatText(Text(TextId::MAIN_PROMPT_NO_ACCESS), "\n\n" + UdevRuleInstallCommand(programFolder) + "\n\n");
}

AccessNotice::Step AccessNotice::Update(int inaccessibleNodes) {
    Step step;
    const bool now = inaccessibleNodes > 0;
    step.showMessage = now && !inaccessible_;
    step.tooltipChanged = now != inaccessible_;
    step.inaccessible = now;
    inaccessible_ = now;
    return step;
}

}  // namespace qv::device
