#include "core/keyboard/profile_store.h"

#include <gtest/gtest.h>

#include <thread>

#include "core/keyboard/key_buttons.h"

namespace qv {
namespace {

TEST(ProfileStore, AssigningAnotherTypeFreesTheKeysText) {
    ProfileContent c = DefaultProfileContent();
    c.Assign(1, 0x1E, {AssignLaunchProgram, 0, 0, 0, 0});
    c.texts.Set(TextSlotOf(1, 0x1E), u"/bin/sh");
    EXPECT_EQ(c.texts.Total(), 16u);
    c.Assign(1, 0x1E, {AssignTextBlock, 0, 0, 0, 0});
    EXPECT_EQ(c.texts.Total(), 16u);
    c.Assign(1, 0x1E, {AssignDisabled, 0, 0, 0, 0});
    EXPECT_EQ(c.texts.Total(), 0u);
    c.Assign(4, 0, {AssignDisabled, 0, 0, 0, 0});  // out of range: ignored
    c.Assign(0, 512, {AssignDisabled, 0, 0, 0, 0});
}

TEST(ProfileStore, ResetProfileKeysClearsButtonsAndTheSelectedBankOnly) {
    ProfileStore store;
    {
        auto lock = store.Lock();
        store.Content() = DefaultProfileContent();
        for (int t = 0; t < 3; ++t) {
            for (int i = 0; i < 274; ++i) store.Content().Record(t, i).type = AssignDisabled;
        }
    }
    ResetProfileKeys(store, 1, true);
    auto lock = store.Lock();
    const ProfileContent& c = store.Content();
    for (const KeyButton& b : KeyButtonTable()) {
        EXPECT_EQ(c.Record(1, KeyCodeToSlot(b.code)), KeyRecord{});
        EXPECT_EQ(c.Record(0, KeyCodeToSlot(b.code)).type, AssignDisabled);
    }
    EXPECT_EQ(c.Record(1, 256 + 8).type, AssignDisabled);  // bank A G9 untouched
    EXPECT_EQ(c.Record(1, 256 + 9), KeyRecord{});          // bank B G1 cleared
    EXPECT_EQ(c.Record(1, 273), KeyRecord{});
    EXPECT_EQ(c.Record(1, 0x54).type, AssignDisabled);     // Sys Req has no button
    ResetProfileKeys(store, -1, false);                    // unknown profile: nothing
    EXPECT_EQ(c.Record(0, 0x1E).type, AssignDisabled);
}

TEST(ProfileStore, LocksAreRecursiveAndWorkingBeforeAppliedDoesNotDeadlock) {
    ProfileStore working;
    ProfileStore applied;
    {
        auto outer = working.Lock();
        auto inner = working.Lock();
        EXPECT_EQ(MacroIndexOfId(working, 3), 0);
    }
    std::thread other([&] {
        for (int i = 0; i < 1000; ++i) {
            auto w = working.Lock();
            auto a = applied.Lock();
        }
    });
    for (int i = 0; i < 1000; ++i) {
        auto w = working.Lock();
        auto a = applied.Lock();
    }
    other.join();
}

TEST(ProfileStore, MacroIndexOfIdTakesTheFirstMatch) {
    MacroList list(3);
    list[0].id = 5;
    list[1].id = 9;
    list[2].id = 9;
    EXPECT_EQ(MacroIndexOfId(list, 9), 1);
    EXPECT_EQ(MacroIndexOfId(list, 4), 0);
    EXPECT_EQ(MacroIndexOfId(MacroList{}, 1), 0);
}

}  // namespace
}  // namespace qv
