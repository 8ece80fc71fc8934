#pragma once
// Apply: the working store is copied into the applied store, and the applied store's macro image
// and key matrices are sent to the keyboard.

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"

namespace qv::device {
class CommandSet;
}

namespace qv {

// What a download needs besides the stores.
struct DownloadContext {
    device::CommandSet& commands;
    std::size_t macroCapacity;  // GlobalBlock byte 11 x 128; 0 until the block was read
    UserPrompt& prompt;         // EXTRA_MACRO_TOO_LONG, EXTRA_PROFILE_SPACE_TIGHT
};

// Checks the macro image against the capacity, then BeginConfig, WriteMacroMemory, WriteKeyMatrix
// for profiles 0..2 (all) or the active profile, EndConfig. Every command is checked: the first
// failure stops the writes that follow, EndConfig still closes the group, and its code is the
// result. kSuccess only when every command succeeded; kOutOfRange when the macro image does not
// fit the keyboard's macro space and kNoKeyboard when the active profile cannot be read (nothing
// is sent in either case).
int DownloadAssignments(bool allProfiles, ProfileStore& applied, const DownloadContext& context);

// Packs the working store's texts, copies it into the applied store and downloads. Takes the
// working lock before the applied lock. True when the download succeeded; `result`, when given,
// gets DownloadAssignments' code.
bool CommitWorkingToApplied(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                            const DownloadContext& context, int* result = nullptr);

enum class ApplyOutcome {
    Applied,     // saved and sent
    NoRoom,      // the macros do not fit the keyboard's macro memory: nothing saved, nothing sent
    SaveFailed,  // sent, but the working file could not be replaced
    SendFailed,  // saved, but the keyboard did not take everything (`code` says why)
    NotRead,     // the window never read the keyboard's contents: nothing saved, nothing sent
};

struct ApplyResult {
    ApplyOutcome outcome = ApplyOutcome::Applied;
    int code = 0;  // DownloadAssignments' code; 0 when nothing was sent
};

// The one Apply of the program, for the window and the command line alike: the macro space is
// checked first (a refusal leaves the file and the keyboard untouched), then the working store
// replaces the working file (created with its folder when missing), then it is committed and
// sent. The file is written before the keyboard so that the user's intended contents survive a
// download that fails part-way.
ApplyResult ApplyWorkingStore(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                              const std::filesystem::path& workingFile, const DownloadContext& context);

}  // namespace qv
