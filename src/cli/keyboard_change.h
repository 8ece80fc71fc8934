#pragma once
// The read-modify-write every changing command goes through: open the keyboard, read what it
// holds (with the working file's PC-only records), change a copy, send it the way the window's
// Apply does, update the working file and tell a running window.

#include <functional>

#include "core/profile/keyboard_contents.h"

namespace qv::cli {

// `change` edits `content` (a copy of what the keyboard holds) and returns kExitOk to send it,
// or an exit code to stop with nothing sent.
int ChangeKeyboard(const std::function<int(const KeyboardContents& before, ProfileContent& content)>& change,
                   bool allProfiles = false);

// Reads the keyboard's contents and hands them to `show`.
int ReadKeyboard(const std::function<int(const KeyboardContents& contents)>& show);

// Sends a whole new content (an import): all three profiles and the macros.
int SendWholeContent(ProfileContent content);

}  // namespace qv::cli
