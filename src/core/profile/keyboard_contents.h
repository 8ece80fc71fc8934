#pragma once
// The keyboard's assignments as a front end other than the window changes them: read what the
// keyboard holds, change it in a store of its own, and send it back through the window's Apply
// path, keeping the working profile file in step.
//
// The keyboard holds the key matrices and the macros; the G-key assignments and the texts of
// program and text-block keys live only in the working profile file. A read lays those over
// what the keyboard gives, so a change made elsewhere does not wipe them.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"

namespace qv::device {
class CommandSet;
}

namespace qv {

struct KeyboardContents {
    ProfileContent content;
    int activeProfile = -1;         // 0..2
    std::size_t macroCapacity = 0;  // bytes
};

// Reads the factory key matrix (kept as the DefaultKeyMatrix), the global block, the three key
// matrices and the macro memory, then lays the working file's PC-only records over them. Nothing,
// with a one-line reason, when the keyboard cannot be read.
std::optional<KeyboardContents> ReadKeyboardContents(device::CommandSet& commands,
                                                     const std::filesystem::path& workingFile,
                                                     std::string* error);

// Gives `fromKeyboard` what only the PC keeps of `working`: the G-key records, program and
// text-block keys whose key the keyboard still has at the factory or disabled (which is how it
// holds them), the repeat counts typed for macro keys, and table 3. Macro ids in the copied
// records are matched by macro name, since the keyboard numbers its macros by position; a
// record whose macro the keyboard no longer has goes back to its factory function.
void KeepPcOnlyRecords(ProfileContent& fromKeyboard, const ProfileContent& working);

// Gives the macros the ids 1..n of their list positions, as the keyboard will give them back,
// and moves every key record that plays a macro along with it.
void NumberMacrosByPosition(ProfileContent& content);

enum class SendOutcome {
    Sent,
    NoChange,   // the content equals what the keyboard holds: nothing sent
    NoRoom,     // the macros do not fit the keyboard's macro memory: nothing sent
    Failed,     // the keyboard did not take everything, or the working file was not written
};

// Sends `changed` through the window's Apply (ApplyWorkingStore): only the active profile's
// matrix when no other profile changed and `allProfiles` is not set, else all three. The working
// file gets the changed contents before the keyboard does, unless the macros do not fit. A
// failure is told through `prompt`: what the keyboard took before it stopped, or that only the
// working file is behind.
SendOutcome SendKeyboardContents(const KeyboardContents& before, ProfileContent changed,
                                 device::CommandSet& commands, UserPrompt& prompt,
                                 const std::filesystem::path& workingFile, bool allProfiles = false);

// The record the key editor stores: aux carries the G-key id of a G key, or the repeat count of
// a macro key; a key told to send itself keeps its factory function.
KeyRecord AssignmentRecord(int recordIndex, std::uint16_t type, std::uint32_t value = 0, int repeat = 1);

}  // namespace qv
