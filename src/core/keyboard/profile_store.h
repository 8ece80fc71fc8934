#pragma once
// The two stores of key assignments: the WorkingStore that the editors change and profile files
// are read into, and the AppliedStore copied from it on Apply and sent to the keyboard. Each has
// one recursive lock; whoever needs both takes the working lock first.

#include <mutex>

#include "core/keyboard/profile_block.h"
#include "core/keyboard/assignment_texts.h"
#include "core/macro/macro_record.h"

namespace qv {

// What a store holds; built off-lock (file reads, keyboard dumps) and then moved in.
struct ProfileContent {
    ProfileBlock block;
    MacroList macros;
    TextTable texts;

    bool operator==(const ProfileContent&) const = default;

    // The emptied state: everything zero, no macros, no texts.
    void Clear();
    KeyRecord& Record(int table, int index) {
        return block.tables[static_cast<std::size_t>(table)][static_cast<std::size_t>(index)];
    }
    const KeyRecord& Record(int table, int index) const {
        return block.tables[static_cast<std::size_t>(table)][static_cast<std::size_t>(index)];
    }
    // Gives a key another assignment; its text slot is freed unless the new type owns a text.
    void Assign(int table, int index, const KeyRecord& record);
};

// A store made from nothing: NewProfileBlock, no macros, no texts.
ProfileContent DefaultProfileContent();

class ProfileStore {
public:
    ProfileStore() = default;
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    [[nodiscard]] std::unique_lock<std::recursive_mutex> Lock() const {
        return std::unique_lock(mutex_);
    }

    // Callers hold Lock().
    ProfileContent& Content() { return content_; }
    const ProfileContent& Content() const { return content_; }

private:
    mutable std::recursive_mutex mutex_;
    ProfileContent content_;
};

ProfileStore& WorkingStore();
ProfileStore& AppliedStore();

// The Default action: the records of the 104 key buttons and of the nine G keys of the selected
// bank in this profile become zero. Nothing for a profile outside 0..2.
void ResetProfileKeys(ProfileStore& working, int activeProfile, bool bankB);

// MacroIndexOfId on the store's macro list, under its lock.
int MacroIndexOfId(ProfileStore& store, std::uint16_t id);

}  // namespace qv
