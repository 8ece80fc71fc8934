#pragma once
// Apply: the working store is copied into the applied store, and the applied store's macro image
// and key matrices are sent to the keyboard.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/user_prompt.h"
#include "core/device/result_codes.h"
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

// How far a download got. The writes go out in a fixed order (macro memory, then the key
// matrices in profile order) and stop at the first failure, so what the keyboard took in full is
// a leading part of that order; the write that failed may have left part of itself behind.
struct DownloadResult {
    int code = device::kSuccess;       // the first failure's code, else EndConfig's
    std::vector<int> profiles;         // the profiles whose matrices were to be written
    bool writeStarted = false;         // a write went out: the keyboard may hold part of the change
    bool macrosWritten = false;        // the whole macro image was taken
    std::vector<int> profilesWritten;  // whose whole matrix was taken, in profile order

    bool Succeeded() const { return code == device::kSuccess; }
    // The profiles that were to be written and are not known to be on the keyboard.
    std::vector<int> ProfilesNotWritten() const;
};

// Checks the macro image against the capacity, then BeginConfig, WriteMacroMemory, WriteKeyMatrix
// for profiles 0..2 (all) or the active profile and every profile in `alsoProfiles`, EndConfig.
// Every command is checked: the first failure stops the writes that follow, EndConfig still
// closes the group. Code kSuccess only when every command succeeded; kOutOfRange when the macro
// image does not fit the keyboard's macro space and kNoKeyboard when the active profile cannot
// be read (nothing is sent in either case).
DownloadResult DownloadAssignments(bool allProfiles, ProfileStore& applied, const DownloadContext& context,
                                   const std::vector<int>& alsoProfiles = {});

// Packs the working store's texts, copies it into the applied store and downloads. Takes the
// working lock before the applied lock. True when the download succeeded; `result`, when given,
// says how far it got.
//
// A profile that a download was to write and did not finish stays owed: every later download
// into the same applied store sends it too, whatever profiles it is asked for, until one writes
// it. So a rerun of any kind (the window's Apply after a failed import of three profiles too)
// ends with the keyboard holding exactly the intended contents.
bool CommitWorkingToApplied(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                            const DownloadContext& context, DownloadResult* result = nullptr);

// The profiles a failed download left owed in `applied` (see CommitWorkingToApplied).
std::vector<int> OwedProfiles(ProfileStore& applied);

enum class ApplyOutcome {
    Applied,     // saved and sent
    NoRoom,      // the macros do not fit the keyboard's macro memory: nothing saved, nothing sent
    SaveFailed,  // sent, but the working file could not be replaced
    SendFailed,  // saved, but the keyboard did not take everything (`download` says how far it got)
    NotRead,     // the window never read the keyboard's contents: nothing saved, nothing sent
};

struct ApplyResult {
    ApplyOutcome outcome = ApplyOutcome::Applied;
    int code = 0;  // DownloadAssignments' code; 0 when nothing was sent
    DownloadResult download;
};

// The one Apply of the program, for the window and the command line alike: the macro space is
// checked first (a refusal leaves the file and the keyboard untouched), then the working store
// replaces the working file (created with its folder when missing), then it is committed and
// sent. The file is written before the keyboard so that the user's intended contents survive a
// download that fails part-way.
ApplyResult ApplyWorkingStore(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                              const std::filesystem::path& workingFile, const DownloadContext& context);

// Who tells the user of a download that did not go through, and so how the kept contents are
// sent again.
enum class FailedSend {
    Apply,        // the window's Apply: press Apply again
    Import,       // the window's import: the imported profiles are shown, Apply sends them
    CommandLine,  // quorvanectl: run the command again
};

// The message for a download that did not succeed: that the keyboard took none of it, or what it
// took in full before it stopped and that it may now hold part of the change.
std::string DownloadFailureText(const DownloadResult& result, FailedSend who);

}  // namespace qv
