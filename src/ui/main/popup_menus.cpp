#include "ui/main/popup_menus.h"

#include "core/app/text_table.h"
#include "ui/common/window_messages.h"

namespace qv::ui {
namespace {

QString Read(const std::filesystem::path& file, const char* key) {
    return QString::fromStdString(ReadLanguageText(file, key));
}

}  // namespace

std::vector<MenuItem> TrayMenuItems(const std::filesystem::path& languageFile) {
    return {{id::kCmdOpen, Read(languageFile, "MENU_11")},
            {id::kCmdAbout, Read(languageFile, "MENU_22")},
            {id::kCmdExit, Read(languageFile, "MENU_33")}};
}

std::vector<MenuItem> MainPopupItems(const std::filesystem::path& languageFile) {
    return {{id::kCmdImport, Read(languageFile, "MENU_1")},
            {id::kCmdExport, Read(languageFile, "MENU_2")},
            {id::kCmdAbout, Read(languageFile, "MENU_3")}};
}

void FillMenu(QMenu& menu, const std::vector<MenuItem>& items, bool firstIsDefault,
              const std::function<void(int)>& onCommand) {
    bool first = true;
    for (const MenuItem& item : items) {
        QAction* action = menu.addAction(item.text);
        action->setData(item.command);
        if (first && firstIsDefault) {
            QFont f = action->font();
            f.setBold(true);
            action->setFont(f);
            menu.setDefaultAction(action);
        }
        first = false;
        const int command = item.command;
        QObject::connect(action, &QAction::triggered, &menu, [onCommand, command] { onCommand(command); });
    }
}

}  // namespace qv::ui
