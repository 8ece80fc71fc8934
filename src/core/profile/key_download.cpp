#include "core/profile/key_download.h"

#include <system_error>
#include <vector>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"

namespace qv {

namespace {

// The EXTRA_MACRO_TOO_LONG refusal: the image does not fit even without the names.
bool MacrosFit(const MacroList& macros, const DownloadContext& context) {
    if (MacroImageSizes(macros).withoutNames <= context.macroCapacity) return true;
    context.prompt.ShowMessage(Text(TextId::EXTRA_MACRO_TOO_LONG));
    return false;
}

}  // namespace

int DownloadAssignments(bool allProfiles, ProfileStore& applied, const DownloadContext& context) {
    auto lock = applied.Lock();
    const ProfileContent& content = applied.Content();

    if (!MacrosFit(content.macros, context)) return device::kOutOfRange;
    const MacroImageSize sizes = MacroImageSizes(content.macros);
    const bool withNames = sizes.withNames <= context.macroCapacity;
    const std::vector<std::uint8_t> image =
        EncodeMacroImage(content.macros, withNames ? sizes.withNames : sizes.withoutNames, withNames);
    if (image.empty()) return device::kOutOfRange;

    std::vector<int> profiles;
    if (allProfiles) {
        profiles = {0, 1, 2};
    } else {
        // Without a readable active profile there is no matrix to address; send nothing rather
        // than a macro image whose keys point nowhere.
        const int active = context.commands.GetActiveProfile();
        if (active < 0 || active >= kOnBoardProfiles) return device::kNoKeyboard;
        profiles = {active};
    }
    const KeyMatrix factory = DefaultKeyMatrix();
    std::vector<KeyMatrix> matrices;
    for (int p : profiles) {
        matrices.push_back(
            EncodeKeyMatrix(content.block.tables[static_cast<std::size_t>(p)], content.macros, factory));
    }

    // A refused or lost write must not pass for success: the user would believe the keyboard
    // holds macros it does not. After the first failure nothing more is written (the keyboard
    // would hold a matrix pointing at a half-written macro image), but the group is still
    // closed so the keyboard leaves its configuration state.
    int result = context.commands.BeginConfig();
    if (result == device::kSuccess) {
        result = context.commands.WriteMacroMemory(image.data(), static_cast<int>(image.size()));
    }
    for (std::size_t i = 0; i < profiles.size() && result == device::kSuccess; ++i) {
        result = context.commands.WriteKeyMatrix(matrices[i], profiles[i]);
    }
    const int closed = context.commands.EndConfig();
    if (result == device::kSuccess) result = closed;

    if (!withNames) context.prompt.ShowMessage(Text(TextId::EXTRA_PROFILE_SPACE_TIGHT));
    return result;
}

bool CommitWorkingToApplied(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                            const DownloadContext& context, int* result) {
    auto workingLock = working.Lock();
    auto appliedLock = applied.Lock();
    // Packing writes each text's offset into its record; doing it before the copy keeps the
    // offsets of both stores in agreement.
    const std::vector<std::uint8_t> area = PackTexts(working.Content());
    ProfileContent& target = applied.Content();
    target = working.Content();
    SetFileHeader(target.block, static_cast<std::uint16_t>(target.macros.size()),
                  static_cast<std::uint32_t>(area.size()));
    const int code = DownloadAssignments(allProfiles, applied, context);
    if (result != nullptr) *result = code;
    return code == device::kSuccess;
}

ApplyResult ApplyWorkingStore(bool allProfiles, ProfileStore& working, ProfileStore& applied,
                              const std::filesystem::path& workingFile, const DownloadContext& context) {
    auto lock = working.Lock();
    if (!MacrosFit(working.Content().macros, context)) return {ApplyOutcome::NoRoom, device::kOutOfRange};
    std::error_code ec;
    std::filesystem::create_directories(workingFile.parent_path(), ec);
    const bool saved = WriteStoreToFile(working, workingFile);
    ApplyResult result;
    const bool sent = CommitWorkingToApplied(allProfiles, working, applied, context, &result.code);
    if (!sent) {
        result.outcome = result.code == device::kOutOfRange ? ApplyOutcome::NoRoom : ApplyOutcome::SendFailed;
    } else if (!saved) {
        result.outcome = ApplyOutcome::SaveFailed;
    }
    return result;
}

}  // namespace qv
