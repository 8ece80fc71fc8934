#pragma once
// The help pages in the user's browser.

#include <filesystem>

namespace qv::ui {

// The help page of the language the text file chooses: index.html of the help folder in
// English, zh/index.html in Chinese (the English page when that one is missing).
std::filesystem::path HelpPage(const std::filesystem::path& helpFolder, const std::filesystem::path& languageFile);
// Opens the help page in the user's browser; without a program that can show it, says where the
// page is. False then.
bool OpenHelp(const std::filesystem::path& helpFolder);

}  // namespace qv::ui
