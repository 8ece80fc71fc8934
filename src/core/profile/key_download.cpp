#include "core/profile/key_download.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/keyboard/little_endian.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"

namespace qv {

namespace {

// The EXTRA_MACRO_TOO_LONG refusal: the image does not fit even without the names.
bool MacrosFit(const MacroList& macros, const DownloadContext& context) {
    if (MacroImageSizes(macros).withoutNames <= context.macroCapacity) return true;
    context.prompt.ShowWarning(Text(TextId::EXTRA_MACRO_TOO_LONG));
    return false;
}

bool Contains(const std::vector<int>& list, int p) { return std::find(list.begin(), list.end(), p) != list.end(); }

// The applied store holds what the keyboard was last given. A profile a download did not finish
// is left empty there: no record at all, not even the G-key ids that every table the tool makes
// carries. Only a store that was committed once counts (its header is written then), so the
// empty store of a fresh start owes nothing.
bool Committed(const ProfileContent& applied) {
    return le::Get16(applied.block.header.data() + block_header::kMagic) == block_header::kMagicValue;
}

std::vector<int> OwedIn(const ProfileContent& applied) {
    std::vector<int> owed;
    if (!Committed(applied)) return owed;
    for (int p = 0; p < kOnBoardProfiles; ++p) {
        if (applied.block.tables[static_cast<std::size_t>(p)] == KeyTable{}) owed.push_back(p);
    }
    return owed;
}

}  // namespace

std::vector<int> DownloadResult::ProfilesNotWritten() const {
    std::vector<int> missing;
    for (int p : profiles) {
        if (!Contains(profilesWritten, p)) missing.push_back(p);
    }
    return missing;
}

DownloadResult DownloadAssignments(bool allProfiles, ProfileStore& applied, const DownloadContext& context,
                                   const std::vector<int>& alsoProfiles) {
    auto lock = applied.Lock();
    const ProfileContent& content = applied.Content();
    DownloadResult result;

    if (!MacrosFit(content.macros, context)) {
        result.code = device::kOutOfRange;
        return result;
    }
    const MacroImageSize sizes = MacroImageSizes(content.macros);
    const bool withNames = sizes.withNames <= context.macroCapacity;
    const std::vector<std::uint8_t> image =
        EncodeMacroImage(content.macros, withNames ? sizes.withNames : sizes.withoutNames, withNames);
    if (image.empty()) {
        result.code = device::kOutOfRange;
        return result;
    }

    if (allProfiles) {
        result.profiles = {0, 1, 2};
    } else {
        // Without a readable active profile there is no matrix to address; send nothing rather
        // than a macro image whose keys point nowhere.
        const int active = context.commands.GetActiveProfile();
        if (active < 0 || active >= kOnBoardProfiles) {
            result.code = device::kNoKeyboard;
            return result;
        }
        for (int p = 0; p < kOnBoardProfiles; ++p) {
            if (p == active || Contains(alsoProfiles, p)) result.profiles.push_back(p);
        }
    }
    const KeyMatrix factory = DefaultKeyMatrix();
    std::vector<KeyMatrix> matrices;
    for (int p : result.profiles) {
        matrices.push_back(
            EncodeKeyMatrix(content.block.tables[static_cast<std::size_t>(p)], content.macros, factory));
    }

    // A refused or lost write must not pass for success: the user would believe the keyboard
    // holds macros it does not. After the first failure nothing more is written (the keyboard
    // would hold a matrix pointing at a half-written macro image), but the group is still
    // closed so the keyboard leaves its configuration state.
    int code = context.commands.BeginConfig();
    if (code == device::kSuccess) {
        result.writeStarted = true;
        code = context.commands.WriteMacroMemory(image.data(), static_cast<int>(image.size()));
        result.macrosWritten = code == device::kSuccess;
    }
    for (std::size_t i = 0; i < result.profiles.size() && code == device::kSuccess; ++i) {
        code = context.commands.WriteKeyMatrix(matrices[i], result.profiles[i]);
        if (code == device::kSuccess) result.profilesWritten.push_back(result.profiles[i]);
    }
    const int closed = context.commands.EndConfig();
    result.code = code == device::kSuccess ? closed : code;

    if (!withNames) context.prompt.ShowWarning(Text(TextId::EXTRA_PROFILE_SPACE_TIGHT));
    return result;
}

bool CommitWorkingToApplied(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                            const DownloadContext& context, DownloadResult* result) {
    auto workingLock = working.Lock();
    auto appliedLock = applied.Lock();
    // What an earlier download left unwritten; the copy below overwrites the mark.
    const std::vector<int> owed = OwedIn(applied.Content());
    // Packing writes each text's offset into its record; doing it before the copy keeps the
    // offsets of both stores in agreement.
    const std::vector<std::uint8_t> area = PackTexts(working.Content());
    ProfileContent& target = applied.Content();
    target = working.Content();
    SetFileHeader(target.block, static_cast<std::uint16_t>(target.macros.size()),
                  static_cast<std::uint32_t>(area.size()));
    DownloadResult download = DownloadAssignments(allProfiles, applied, context, owed);
    if (!download.Succeeded()) {
        std::vector<int> stillOwed = download.ProfilesNotWritten();
        for (int p : owed) {
            if (!Contains(download.profilesWritten, p) && !Contains(stillOwed, p)) stillOwed.push_back(p);
        }
        for (int p : stillOwed) target.block.tables[static_cast<std::size_t>(p)] = KeyTable{};
    }
    const bool succeeded = download.Succeeded();
    if (result != nullptr) *result = std::move(download);
    return succeeded;
}

std::vector<int> OwedProfiles(ProfileStore& applied) {
    auto lock = applied.Lock();
    return OwedIn(applied.Content());
}

ApplyResult ApplyWorkingStore(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                              const std::filesystem::path& workingFile, const DownloadContext& context) {
    auto lock = working.Lock();
    ApplyResult result;
    if (!MacrosFit(working.Content().macros, context)) {
        result.outcome = ApplyOutcome::NoRoom;
        result.code = result.download.code = device::kOutOfRange;
        return result;
    }
    std::error_code ec;
    std::filesystem::create_directories(workingFile.parent_path(), ec);
    const bool saved = WriteStoreToFile(working, workingFile);
    const bool sent = CommitWorkingToApplied(allProfiles, working, applied, context, &result.download);
    result.code = result.download.code;
    if (!sent) {
        result.outcome = result.code == device::kOutOfRange ? ApplyOutcome::NoRoom : ApplyOutcome::SendFailed;
    } else if (!saved) {
        result.outcome = ApplyOutcome::SaveFailed;
    }
    return result;
}

std::string DownloadFailureText(const DownloadResult& result, FailedSend who) {
    struct Texts {
        TextId nothingTaken;
        TextId partTaken;
    };
    const Texts texts = who == FailedSend::Apply    ? Texts{TextId::MAIN_PROMPT_APPLY_FAILED, TextId::MAIN_PROMPT_APPLY_PARTIAL}
                        : who == FailedSend::Import ? Texts{TextId::MAIN_PROMPT_IMPORT_NOT_SENT, TextId::MAIN_PROMPT_IMPORT_PARTIAL}
                                                    : Texts{TextId::PROFILE_SEND_NOT_TAKEN, TextId::PROFILE_SEND_PARTIAL};
    // Nothing went out (the group was never opened, or no keyboard answered): it holds what it
    // held before.
    if (!result.writeStarted) return Text(texts.nothingTaken);

    std::vector<std::string> taken;
    if (result.macrosWritten) taken.push_back(Text(TextId::DOWNLOAD_TOOK_MACROS));
    for (int p : result.profilesWritten) taken.push_back(FormatText(Text(TextId::DOWNLOAD_TOOK_PROFILE), p + 1));
    std::string list;
    for (const std::string& part : taken) {
        if (!list.empty()) list += Text(TextId::DOWNLOAD_TOOK_SEPARATOR);
        list += part;
    }
    if (list.empty()) list = Text(TextId::DOWNLOAD_TOOK_NOTHING);
    return FormatText(Text(texts.partTaken), list);
}

}  // namespace qv
