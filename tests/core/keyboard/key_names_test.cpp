#include "core/keyboard/key_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_record.h"

namespace qv {
namespace {

using ::testing::ElementsAre;

TEST(KeyNames, KeysAreFoundWithoutRegardToCaseOrSpaces) {
    EXPECT_EQ(FindKeyByName("a"), 0x01E);
    EXPECT_EQ(FindKeyByName("Caps Lock"), 0x03A);
    EXPECT_EQ(FindKeyByName("caps  lock"), 0x03A);
    EXPECT_EQ(FindKeyByName("CapsLock"), 0x03A);
    EXPECT_EQ(FindKeyByName("right ctrl"), 0x11D);
    EXPECT_EQ(FindKeyByName("num 7"), 0x047);
    EXPECT_EQ(FindKeyByName("Num-"), 0x04A);
    EXPECT_EQ(FindKeyByName("-"), 0x00C);
    EXPECT_EQ(FindKeyByName("Up"), 0x148);
    EXPECT_EQ(FindKeyByName("\u2191"), 0x148);
    EXPECT_EQ(FindKeyByName("Left Ctrl"), 0x01D);
    EXPECT_FALSE(FindKeyByName(""));
    EXPECT_FALSE(FindKeyByName("G1"));
    EXPECT_FALSE(FindKeyByName("Unknown Key: 100"));
}

TEST(KeyNames, NoTwoKeysShareAComparedName) {
    std::map<std::string, KeyCode> seen;
    for (int p = 0; p < kKeyListSize; ++p) {
        const std::string key = NameKey(KeyListName(p));
        const KeyCode code = KeyCodeAtListPosition(p);
        const auto [it, inserted] = seen.emplace(key, code);
        EXPECT_TRUE(inserted || it->second == code) << KeyListName(p);
        // Every name written reads back as its key.
        EXPECT_EQ(FindKeyByName(KeyNameForScripts(code)), code) << KeyListName(p);
    }
}

TEST(KeyNames, OnlyKeyButtonsAndGKeysAreRemappable) {
    EXPECT_EQ(FindRemappableKey("caps lock", false)->recordIndex, 0x3A);
    EXPECT_EQ(FindRemappableKey("Right Ctrl", false)->recordIndex, KeyCodeToSlot(0x11D));
    EXPECT_EQ(FindRemappableKey("g1", false)->recordIndex, kGKeyRecordFirst);
    EXPECT_EQ(FindRemappableKey("G9", false)->name, "A-G9");
    EXPECT_EQ(FindRemappableKey("G1", true)->recordIndex, kGKeyRecordFirst + 9);
    EXPECT_EQ(FindRemappableKey("B-G3", false)->recordIndex, kGKeyRecordFirst + 11);
    EXPECT_EQ(FindRemappableKey("a-g3", true)->recordIndex, kGKeyRecordFirst + 2);
    EXPECT_FALSE(FindRemappableKey("G0", false));
    EXPECT_FALSE(FindRemappableKey("G10", false));
    EXPECT_FALSE(FindRemappableKey("K45", false)) << "no key button, no place in the matrix";
    EXPECT_FALSE(FindRemappableKey("Break", false));
    EXPECT_TRUE(IsRemappableRecord(0x1E));
    EXPECT_FALSE(IsRemappableRecord(0x56));
    EXPECT_TRUE(IsRemappableRecord(kGKeyRecordFirst + 17));
    EXPECT_FALSE(IsRemappableRecord(kGKeyRecordFirst + 18));
}

TEST(KeyNames, MediaAndFunctionsByScriptNameShownNameOrIndex) {
    ResetTextTable();
    EXPECT_EQ(FindMediaByName("volume-up"), 6);
    EXPECT_EQ(FindMediaByName("Volume Up"), 6);
    EXPECT_EQ(FindMediaByName("VOLUMEUP"), 6);
    EXPECT_EQ(FindMediaByName("17"), 17);
    EXPECT_FALSE(FindMediaByName("18"));
    EXPECT_EQ(FindFunctionByName("select all"), 8);
    EXPECT_EQ(FindFunctionByName("Copy"), 4);
    EXPECT_EQ(FindFunctionByName("zoom-in"), 10);
    EXPECT_FALSE(FindFunctionByName("-1"));
    EXPECT_FALSE(FindFunctionByName(""));
    EXPECT_EQ(MediaScriptNames().size(), 18u);
    EXPECT_EQ(FunctionScriptNames().size(), 11u);
}

TEST(KeyNames, UnknownNamesOfferTheClosest) {
    EXPECT_EQ(UnknownNameMessage("key", "Caps Lok", KeyListNames()), "unknown key 'Caps Lok' (did you mean Caps Lock?)");
    EXPECT_THAT(ClosestNames("num7", KeyListNames()), ::testing::Contains("Num 7"));
    EXPECT_THAT(ClosestNames("volme-up", MediaScriptNames(), 1), ElementsAre("volume-up"));
    EXPECT_EQ(UnknownNameMessage("key", "zzzzzzzz", KeyListNames()), "unknown key 'zzzzzzzz'");
}

}  // namespace
}  // namespace qv
