#pragma once
// The read-modify-write every changing command goes through: take the keyboard's write lock,
// open the keyboard, read what it holds (with the working file's PC-only records), change a copy,
// send it the way the window's Apply does, update the working file, release the lock and tell a
// running window.

#include <functional>
#include <memory>

#include "core/profile/keyboard_contents.h"
#include "platform/keyboard_write_lock.h"

namespace qv::cli {

// `change` edits `content` (a copy of what the keyboard holds) and returns kExitOk to send it,
// or an exit code to stop with nothing sent.
int ChangeKeyboard(const std::function<int(const KeyboardContents& before, ProfileContent& content)>& change,
                   bool allProfiles = false);

// Reads the keyboard's contents and hands them to `show`.
int ReadKeyboard(const std::function<int(const KeyboardContents& contents)>& show);

// Sends a whole new content (an import): all three profiles and the macros.
int SendWholeContent(ProfileContent content);

// Takes the keyboard's write lock into `lock` for a change that does not go through
// ChangeKeyboard (lighting, the active profile). Declare the lock before the session, so that it
// is released only after the session is closed. False, with the reason printed, when it cannot
// be had; no lock is taken when the environment has none.
bool HoldKeyboardForChange(std::unique_ptr<platform::KeyboardWriteLock>& lock);
// Tells a running window that the active profile or the lighting changed (after the lock is let go).
void NotifyWindowOfSettings();

}  // namespace qv::cli
