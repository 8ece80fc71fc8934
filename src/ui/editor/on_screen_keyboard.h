#pragma once
// The desktop's on-screen keyboard, for users who cannot press the key they want to assign.
// Linux desktops have no one program for it, so the usual ones are looked for on the PATH.

#include <filesystem>
#include <optional>
#include <string_view>

namespace qv::ui {

// The first of the known on-screen keyboards found as an executable file in the folders of
// `pathList` (colon-separated, like PATH); none when no folder has one.
std::optional<std::filesystem::path> FindOnScreenKeyboard(std::string_view pathList);

// Starts the one found on this process's PATH, detached. False when none is installed or it
// could not be started.
bool StartOnScreenKeyboard();

}  // namespace qv::ui
