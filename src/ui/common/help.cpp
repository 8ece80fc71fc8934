#include "ui/common/help.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/app/paths.h"
#include "core/app/text_table.h"

namespace qv::ui {

std::filesystem::path HelpPage(const std::filesystem::path& helpFolder, const std::filesystem::path& languageFile) {
    const auto english = helpFolder / "index.html";
    if (LanguageSection(languageFile) == "ENGINSH") return english;
    const auto chinese = helpFolder / "zh" / "index.html";
    std::error_code ec;
    return std::filesystem::exists(chinese, ec) ? chinese : english;
}

void OpenHelp(const std::filesystem::path& helpFolder) {
    const auto page = HelpPage(helpFolder, Paths().textTable);
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(page.string())));
}

}  // namespace qv::ui
