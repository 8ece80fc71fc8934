#include "ui/common/help.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/app/user_prompt.h"
#include "ui/common/message_box_prompt.h"

namespace qv::ui {

std::filesystem::path HelpPage(const std::filesystem::path& helpFolder, const std::filesystem::path& languageFile) {
    const auto english = helpFolder / "index.html";
    if (LanguageSection(languageFile) == "ENGINSH") return english;
    const auto chinese = helpFolder / "zh" / "index.html";
    std::error_code ec;
    return std::filesystem::exists(chinese, ec) ? chinese : english;
}

bool OpenHelp(const std::filesystem::path& helpFolder) {
    const auto page = HelpPage(helpFolder, Paths().textTable);
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())))) return true;
    MessageBoxPrompt(QApplication::activeWindow()).ShowWarning(FormatText(Text(TextId::MAIN_PROMPT_HELP_PAGE), page.string()));
    return false;
}

}  // namespace qv::ui
