#include "core/keyboard/profile_store.h"

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

}  // namespace qv
