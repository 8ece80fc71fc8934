#include "core/keyboard/profile_store.h"

#include "core/keyboard/key_buttons.h"

namespace qv {

void ProfileContent::Clear() {
    block = ProfileBlock{};
    macros.clear();
    texts.Clear();
}

void ProfileContent::Assign(int table, int index, const KeyRecord& record) {
    if (table < 0 || table >= kKeyTableCount || index < 0 || index >= kKeyTableRecords) return;
    Record(table, index) = record;
    if (!OwnsText(record.type)) texts.Free(TextSlotOf(table, index));
}

ProfileContent DefaultProfileContent() {
    ProfileContent c;
    c.block = NewProfileBlock();
    return c;
}

ProfileStore& WorkingStore() {
    static ProfileStore store;
    return store;
}

ProfileStore& AppliedStore() {
    static ProfileStore store;
    return store;
}

void ResetProfileKeys(ProfileStore& working, int activeProfile, bool bankB) {
    if (activeProfile < 0 || activeProfile >= kOnBoardProfiles) return;
    auto lock = working.Lock();
    ProfileContent& c = working.Content();
    const int firstG = kGKeyRecordFirst + (bankB ? 9 : 0);
    for (int n = 0; n < kGKeyButtonCount; ++n) c.Assign(activeProfile, firstG + n, KeyRecord{});
    for (const KeyButton& b : KeyButtonTable()) c.Assign(activeProfile, KeyCodeToSlot(b.code), KeyRecord{});
}

int MacroIndexOfId(ProfileStore& store, std::uint16_t id) {
    auto lock = store.Lock();
    return MacroIndexOfId(store.Content().macros, id);
}

}  // namespace qv
