#include "core/keyboard/key_catalogue.h"

#include <gtest/gtest.h>

#include <set>

#include "core/app/text_table.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/keyboard/media_function_tables.h"

namespace qv {
namespace {

class KeyCatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTextTable(); }
};

TEST_F(KeyCatalogueTest, NamesAndTheUnknownKeyFormat) {
    EXPECT_EQ(KeyName(0x11D), "Right Ctrl");
    EXPECT_EQ(KeyName(0x145), "Num Lock");
    EXPECT_EQ(KeyName(0x148), "\u2191");
    // G-key codes are not catalogue keys: the format is filled with the code itself.
    EXPECT_EQ(KeyName(0x100), "Unknown Key: 100");
    EXPECT_EQ(KeyName(0x000), "Unknown Key: 000");
    EXPECT_EQ(KeyName(0x137, 6), "Print");
}

TEST_F(KeyCatalogueTest, SlotsOfExtendedKeys) {
    EXPECT_EQ(KeyCodeToSlot(0x11D), 0x9D);
    EXPECT_EQ(KeyCodeToSlot(0x145), 0xC5);
    EXPECT_EQ(SlotToKeyCode(0x9D), 0x11D);
    for (int slot = 0; slot < 256; ++slot) {
        EXPECT_EQ(KeyCodeToSlot(SlotToKeyCode(static_cast<CatalogueSlot>(slot))), slot);
    }
}

TEST_F(KeyCatalogueTest, UsagesByPage) {
    EXPECT_EQ(KeyToHidUsage(0x130), (HidUsage{12, 0x0E9}));
    EXPECT_EQ(KeyToHidUsage(0x174), (HidUsage{12, 0}));  // an empty consumer entry
    EXPECT_EQ(KeyToHidUsage(0x15E), (HidUsage{1, 0x81}));
    EXPECT_EQ(KeyToHidUsage(0x054), (HidUsage{0, 0}));
    EXPECT_EQ(KeyToHidUsage(0x01E), (HidUsage{7, 0x04}));
    EXPECT_EQ(KeyToHidUsage(0x15C), (HidUsage{7, 0xE7}));
}

TEST_F(KeyCatalogueTest, UsageLookupStopsAtTheFirstRow) {
    EXPECT_EQ(HidUsageToKey(7, 0x48), 0x045);  // Pause, never Break
    EXPECT_EQ(HidUsageToKey(7, 0xE5), 0x036);  // the first Right Shift row
    EXPECT_EQ(HidUsageToKey(12, 0x0E9), 0x130);
    EXPECT_EQ(HidUsageToKey(1, 0x82), 0x15F);
    EXPECT_EQ(HidUsageToKey(1, 0x80), 0);
    EXPECT_EQ(HidUsageToKey(12, 0x0B0), 0);
    EXPECT_EQ(HidUsageToKey(12, 0), 0x174);  // the empty consumer entries lead to Zoom-
    EXPECT_EQ(HidUsageToKey(7, 0), 0);
    EXPECT_EQ(HidUsageToKey(9, 0x04), 0);
    EXPECT_EQ(HidUsageToKey(7, 0x104), 0);
}

TEST_F(KeyCatalogueTest, ListPositions) {
    EXPECT_EQ(KeyListPositionOf(0x036), 103);
    EXPECT_EQ(KeyListPositionOf(0x136), 103);
    EXPECT_EQ(KeyCodeAtListPosition(103), 0x036);
    EXPECT_EQ(KeyListName(0), "A");
    EXPECT_EQ(KeyListName(105), "Right Win");
    EXPECT_EQ(KeyListName(106), "");
    EXPECT_EQ(KeyListName(-1), "");
    EXPECT_EQ(KeyCodeAtListPosition(106), 0);
    EXPECT_GE(KeyListPositionOf(0x054), kNotInKeyList);
    EXPECT_EQ(KeyListPositionOf(0x0FF), kEmptyRow);
}

TEST_F(KeyCatalogueTest, EveryKeyListRowRoundTripsThroughSlotUsageAndVirtualKey) {
    for (int pos = 0; pos < kKeyListSize; ++pos) {
        SCOPED_TRACE(pos);
        const KeyCode code = KeyCodeAtListPosition(pos);
        ASSERT_NE(code, 0);
        EXPECT_EQ(KeyListPositionOf(code), pos);
        EXPECT_FALSE(KeyListName(pos).empty());
        const HidUsage u = KeyToHidUsage(code);
        EXPECT_EQ(u.page, kPageKeyboard);
        // Break shares Pause's usage and comes back as Pause.
        EXPECT_EQ(HidUsageToKey(u.page, u.usage), code == 0x146 ? 0x045 : code);
        const CatalogueRow& row = KeyCatalogue()[KeyCodeToSlot(code)];
        EXPECT_EQ(KeyFromWindowsEvent(row.primaryVk, std::uint32_t{code} << 16), code);
        EXPECT_EQ(KeyFromWindowsEvent(row.secondaryVk, std::uint32_t{code} << 16), code);
    }
}

TEST_F(KeyCatalogueTest, VirtualKeyMapInvertsThePrimaryColumnExceptWhereItSaysOtherwise) {
    const std::set<int> sidedOrPseudo{0x10, 0x11, 0x12, 0x8B, 0x8C, 0x9C, 0x9D};
    for (int vk = 0; vk < 256; ++vk) {
        const CatalogueSlot slot = VirtualKeyMap()[static_cast<std::size_t>(vk)];
        if (slot == 0 || sidedOrPseudo.count(vk) != 0) continue;
        EXPECT_EQ(KeyCatalogue()[slot].primaryVk, vk) << vk;
    }
    EXPECT_EQ(VirtualKeyMap()[0x0D], 0x1C);
    EXPECT_EQ(VirtualKeyMap()[0x2C], 0xB7);
    EXPECT_EQ(VirtualKeyMap()[0xA1], 0x36);
    EXPECT_EQ(VirtualKeyMap()[0x10], 0x2A);
    EXPECT_EQ(VirtualKeyMap()[0x11], 0x1D);
    EXPECT_EQ(VirtualKeyMap()[0x12], 0x38);
    EXPECT_EQ(VirtualKeyMap()[0x8B], 0xD2);
    for (int vk : {0x01, 0x02, 0x04, 0x88, 0x8A, 0x97, 0x9B, 0x9E, 0x9F, 0xFF}) {
        EXPECT_EQ(VirtualKeyMap()[static_cast<std::size_t>(vk)], 0) << vk;
    }
}

TEST_F(KeyCatalogueTest, WindowsEvents) {
    EXPECT_EQ(KeyFromWindowsEvent(0xA0, 0x036u << 16), 0x036);  // Right Shift whatever vk says
    EXPECT_EQ(KeyFromWindowsEvent(0x24, 0x047u << 16), 0x047);  // Num 7 with Num Lock off
    EXPECT_EQ(KeyFromWindowsEvent(0x24, 0x147u << 16), 0x147);  // Home
    EXPECT_EQ(KeyFromWindowsEvent(0x10, 0), 0x02A);             // no scan code: from the vk
    EXPECT_EQ(KeyFromWindowsEvent(0xFF, 0x123u << 16), 0x123);
    EXPECT_EQ(KeyFromWindowsEvent(0x41, 0x030u << 16), 0x01E);  // vk and scan disagree: vk wins
}

TEST_F(KeyCatalogueTest, MediaRowsAgreeWithTheMediaTable) {
    std::set<KeyCode> codes;
    for (int i = 0; i < kMediaCount; ++i) {
        SCOPED_TRACE(i);
        const KeyCode code = MediaKeyCode(i);
        codes.insert(code);
        EXPECT_EQ(KeyToHidUsage(code), (HidUsage{12, MediaUsage(i)}));
        EXPECT_EQ(HidUsageToKey(12, MediaUsage(i)), code);
        EXPECT_EQ(MediaIndexOfUsage(MediaUsage(i)), i);
        EXPECT_EQ(KeyName(code), MediaName(i));
        EXPECT_EQ(KeyCatalogue()[KeyCodeToSlot(code)].mediaIndex, i);
    }
    EXPECT_EQ(codes.size(), 18u);
    EXPECT_FALSE(MediaIndexOfUsage(0x0B0).has_value());
    EXPECT_EQ(MediaName(18), "");
    EXPECT_EQ(FunctionName(0), "Open");
    EXPECT_EQ(FunctionName(10), "Zoom+");
    EXPECT_EQ(FunctionName(11), "");
}

TEST_F(KeyCatalogueTest, KeyButtonsAreUniqueListKeys) {
    std::set<int> ids;
    std::set<int> indices;
    std::set<KeyCode> codes;
    for (const KeyButton& b : KeyButtonTable()) {
        ids.insert(b.controlId);
        indices.insert(b.matrixIndex);
        codes.insert(b.code);
        EXPECT_LT(KeyListPositionOf(b.code), kKeyListSize) << b.controlId;
        EXPECT_GE(b.controlId, 1010);
        EXPECT_LE(b.controlId, 1120);
    }
    EXPECT_EQ(ids.size(), 104u);
    EXPECT_EQ(indices.size(), 104u);
    EXPECT_EQ(codes.size(), 104u);
    for (int none : {13, 17, 18, 19, 20, 75, 77, 78, 79, 83, 85, 96, 98, 100, 110, 114, 118, 122, 125}) {
        EXPECT_EQ(indices.count(none), 0u) << none;
    }
}

TEST_F(KeyCatalogueTest, FactoryMatrixNamesOnlyCatalogueKeys) {
    int keys = 0;
    for (std::size_t i = 0; i < kMatrixPositions; ++i) {
        const KeyCode code = DefaultEntryToKey(EntryAt(BuiltInFactoryMatrix(), i));
        if (code == 0) continue;
        ++keys;
        const CatalogueRow& row = KeyCatalogue()[KeyCodeToSlot(code)];
        EXPECT_TRUE(row.listPosition < kKeyListSize || row.mediaIndex >= 0) << i;
    }
    EXPECT_EQ(keys, 100);
}

TEST_F(KeyCatalogueTest, ButtonIdentities) {
    EXPECT_EQ(GKeyIndexOfButton(1000), 0);
    EXPECT_EQ(GKeyIndexOfButton(1143), 8);
    EXPECT_FALSE(GKeyIndexOfButton(1022).has_value());
    EXPECT_EQ(MatrixIndexOfButton(1143), 125);
    EXPECT_EQ(MatrixIndexOfButton(1174), 110);
    EXPECT_EQ(MatrixIndexOfButton(1089), 113);
    EXPECT_EQ(MatrixIndexOfButton(4242), 0);
    EXPECT_EQ(SkinKeyName(0x01E), "KEY_01E");
    EXPECT_EQ(SkinKeyName(0x11D), "KEY_09D");
    EXPECT_EQ(SkinKeyName(0x145), "KEY_0C5");
    EXPECT_EQ(SkinGKeyName(0), "FUNC_G1");
}

}  // namespace
}  // namespace qv
