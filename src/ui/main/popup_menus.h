#pragma once
// The texts of the tray menu and the main popup menu, read from the text file's language section
// at every showing (single blank when missing).

#include <QMenu>
#include <QString>

#include <filesystem>
#include <functional>
#include <vector>

namespace qv::ui {

struct MenuItem {
    int command;
    QString text;
};

// Open (32771), About (32773), Exit (32774) from MENU_11, MENU_22, MENU_33.
std::vector<MenuItem> TrayMenuItems(const std::filesystem::path& languageFile);
// Import (32776), Export (32777), About (32773) from MENU_1, MENU_2, MENU_3.
std::vector<MenuItem> MainPopupItems(const std::filesystem::path& languageFile);

// Fills `menu` with the items, the first one bold when `firstIsDefault`; a triggered item calls
// `onCommand` with its command id.
void FillMenu(QMenu& menu, const std::vector<MenuItem>& items, bool firstIsDefault,
              const std::function<void(int)>& onCommand);

}  // namespace qv::ui
