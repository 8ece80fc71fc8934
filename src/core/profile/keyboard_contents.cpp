#include "core/profile/keyboard_contents.h"

#include <map>

#include "core/app/text_table.h"
#include "core/device/command_set.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "core/profile/key_download.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_rebuild.h"

namespace qv {
namespace {

const MacroRecord* MacroWithId(const MacroList& list, std::uint32_t id) {
    for (const MacroRecord& m : list) {
        if (m.id == id) return &m;
    }
    return nullptr;
}

// The id in `to` of the macro that `id` names in `from`, matched by name; 0 when there is none.
std::uint32_t SameMacroIn(const MacroList& from, const MacroList& to, std::uint32_t id) {
    const MacroRecord* m = MacroWithId(from, id);
    if (m == nullptr) return 0;
    for (const MacroRecord& candidate : to) {
        if (candidate.Name() == m->Name()) return candidate.id;
    }
    return 0;
}

bool OnlyTableChanged(const ProfileContent& a, const ProfileContent& b, int table) {
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        if (t == table) continue;
        for (int i = 0; i < kGKeyRecordFirst; ++i) {
            if (!(a.Record(t, i) == b.Record(t, i))) return false;
        }
    }
    return true;
}

}  // namespace

std::optional<KeyboardContents> ReadKeyboardContents(device::CommandSet& commands,
                                                     const std::filesystem::path& workingFile,
                                                     std::string* error) {
    const auto fail = [error](const char* why) -> std::optional<KeyboardContents> {
        if (error != nullptr) *error = why;
        return std::nullopt;
    };
    KeyMatrix factory{};
    // The window keeps its previous copy when this read fails; so does this.
    if (commands.ReadDefaultKeyMatrix(factory) == device::kSuccess) SetDefaultKeyMatrix(factory);
    device::GlobalBlock global;
    if (commands.ReadGlobalBlock(global) != device::kSuccess) return fail("cannot read the keyboard's global block");
    KeyboardContents out;
    out.activeProfile = commands.GetActiveProfile();
    if (out.activeProfile < 0 || out.activeProfile >= kOnBoardProfiles) {
        return fail("cannot read the keyboard's active profile");
    }
    out.macroCapacity = global.MacroCapacityBytes();
    const auto dump = ReadKeyboardDump(commands);
    if (!dump) return fail("cannot read the key assignments and macros from the keyboard");
    out.content = BuildContentFromDump(*dump, DefaultKeyMatrix());

    ProfileStore working;
    if (ReadFileIntoStore(workingFile, working)) {
        auto lock = working.Lock();
        KeepPcOnlyRecords(out.content, working.Content());
    }
    return out;
}

void KeepPcOnlyRecords(ProfileContent& fromKeyboard, const ProfileContent& working) {
    ProfileContent& k = fromKeyboard;
    const auto copy = [&](int t, int i) {
        KeyRecord r = working.Record(t, i);
        if (r.type == AssignMacro) {
            r.value = SameMacroIn(working.macros, k.macros, r.value);
            if (r.value == 0) r = KeyRecord{AssignDefault, i >= kGKeyRecordFirst ? GKeyId(i - kGKeyRecordFirst) : std::uint16_t{0}, 0, 0, 0};
        }
        k.Assign(t, i, r);
        if (OwnsText(r.type)) {
            if (const auto& text = working.texts.At(TextSlotOf(t, i))) k.texts.Set(TextSlotOf(t, i), *text);
        }
    };
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        for (int i = 0; i < kGKeyRecordFirst; ++i) {
            const KeyRecord& w = working.Record(t, i);
            const KeyRecord& held = k.Record(t, i);
            if ((w.type == AssignLaunchProgram && held.type == AssignDefault) ||
                (w.type == AssignTextBlock && held.type == AssignDisabled)) {
                copy(t, i);
            } else if (w.type == AssignMacro && held.type == AssignMacro &&
                       SameMacroIn(working.macros, k.macros, w.value) == held.value) {
                k.Record(t, i).aux = w.aux;
            }
        }
        for (int i = kGKeyRecordFirst; i < kGKeyRecordFirst + kGKeyCount; ++i) copy(t, i);
    }
    k.block.tables[3] = working.block.tables[3];
}

void NumberMacrosByPosition(ProfileContent& content) {
    std::map<std::uint32_t, std::uint32_t> newId;
    for (std::size_t i = 0; i < content.macros.size(); ++i) {
        // The first of two macros sharing an id is the one MacroIndexOfId finds, so it keeps the keys.
        newId.emplace(content.macros[i].id, static_cast<std::uint32_t>(i + 1));
    }
    for (KeyTable& table : content.block.tables) {
        for (KeyRecord& r : table) {
            if (r.type != AssignMacro) continue;
            const auto it = newId.find(r.value);
            if (it != newId.end()) r.value = it->second;
        }
    }
    for (std::size_t i = 0; i < content.macros.size(); ++i) {
        content.macros[i].id = static_cast<std::uint16_t>(i + 1);
    }
}

SendOutcome SendKeyboardContents(const KeyboardContents& before, ProfileContent changed,
                                 device::CommandSet& commands, UserPrompt& prompt,
                                 const std::filesystem::path& workingFile, bool allProfiles) {
    NumberMacrosByPosition(changed);
    if (changed == before.content && !allProfiles) return SendOutcome::NoChange;
    // Macros are numbered by position: a changed list moves the macro keys of every profile.
    allProfiles = allProfiles || !(before.content.macros == changed.macros) ||
                  !OnlyTableChanged(before.content, changed, before.activeProfile);

    ProfileStore working;
    ProfileStore applied;
    {
        auto lock = working.Lock();
        working.Content() = std::move(changed);
    }
    const ApplyResult result =
        ApplyWorkingStore(allProfiles, working, applied, workingFile, {commands, before.macroCapacity, prompt});
    switch (result.outcome) {
    case ApplyOutcome::Applied: return SendOutcome::Sent;
    case ApplyOutcome::NoRoom: return SendOutcome::NoRoom;
    case ApplyOutcome::SaveFailed:
        // The keyboard has it; what the user must hear is that the working file is behind.
        prompt.ShowError(FormatText(Text(TextId::PROFILE_SEND_NOT_SAVED), workingFile.string()));
        return SendOutcome::Failed;
    case ApplyOutcome::SendFailed:
        prompt.ShowError(DownloadFailureText(result.download, FailedSend::CommandLine));
        return SendOutcome::Failed;
    case ApplyOutcome::NotRead: return SendOutcome::Failed;
    }
    return SendOutcome::Failed;
}

KeyRecord AssignmentRecord(int recordIndex, std::uint16_t type, std::uint32_t value, int repeat) {
    const bool gKey = recordIndex >= kGKeyRecordFirst;
    KeyRecord r{type, gKey ? GKeyId(recordIndex - kGKeyRecordFirst) : std::uint16_t{0}, value, 0, 0};
    if (type == AssignSingleKey && (value == 0 || (!gKey && KeyCodeToSlot(static_cast<KeyCode>(value)) == recordIndex))) {
        r.type = AssignDefault;
        r.value = 0;
    }
    if (type == AssignMacro) r.aux = static_cast<std::uint16_t>(repeat);
    if (r.type == AssignDefault || r.type == AssignDisabled || r.type == AssignStopMacro) r.value = 0;
    return r;
}

}  // namespace qv
