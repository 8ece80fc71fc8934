#include "core/macro/macro_image.h"

#include <gtest/gtest.h>

#include "core/app/text_table.h"

namespace qv {
namespace {

using Bytes = std::vector<std::uint8_t>;

MacroRecord Macro(std::u16string_view name, std::initializer_list<MacroAction> actions,
                  std::uint8_t repeat = 1) {
    MacroRecord r;
    r.SetName(name);
    r.repeatCount = repeat;
    for (const MacroAction& a : actions) r.actions[r.actionCount++] = a;
    return r;
}

Bytes EncodeWithNames(const MacroList& list) {
    return EncodeMacroImage(list, MacroImageSizes(list).withNames, true);
}

// The four bytes of a one-action macro's only action.
Bytes ActionBytes(MacroAction a) {
    const MacroList list{Macro(u"", {a})};
    const Bytes image = EncodeMacroImage(list, MacroImageSizes(list).withoutNames, false);
    return Bytes(image.begin() + 22, image.begin() + 26);
}

class MacroImageTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTextTable(); }
};

TEST_F(MacroImageTest, EmptyListIsAHeaderOnly) {
    EXPECT_EQ(EncodeWithNames({}), (Bytes{0xAA, 0x55, 0x10, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(MacroImageTest, OneNamedMacroByteForByte) {
    const MacroList list{Macro(u"ab", {{50, 0x01E, kPress}, {0, 0x01E, kRelease}})};
    EXPECT_EQ(MacroImageSizes(list).withNames, 34u);
    EXPECT_EQ(MacroImageSizes(list).withoutNames, 30u);
    const Bytes expected{0xAA, 0x55, 0x22, 0x00, 0x01, 0x00, 0x01, 0x00, 0, 0, 0, 0, 0, 0, 0, 0,
                         0x12, 0x00,              // offset table
                         0x02, 0x00, 0x01, 0x02,  // 2 actions, repeat 1, name length 2
                         0x05, 0xA0, 0x02, 0x04,  // press A, 50 ms
                         0x00, 0x20, 0x02, 0x04,  // release A
                         0x61, 0x00, 0x62, 0x00};
    EXPECT_EQ(EncodeWithNames(list), expected);

    const Bytes noNames = EncodeMacroImage(list, 30, false);
    ASSERT_EQ(noNames.size(), 30u);
    EXPECT_EQ(noNames[2], 30);
    EXPECT_EQ(noNames[6], 0);   // names flag
    EXPECT_EQ(noNames[21], 0);  // name length
}

TEST_F(MacroImageTest, ActionBytesByUsagePage) {
    EXPECT_EQ(ActionBytes({0, 0x02A, kPress}), (Bytes{0x00, 0xA0, 0x01, 0x02}));   // Left Shift
    EXPECT_EQ(ActionBytes({0, 0x15C, kPress}), (Bytes{0x00, 0xA0, 0x01, 0x80}));   // Right Win
    EXPECT_EQ(ActionBytes({0, 0x130, kRelease}), (Bytes{0x00, 0x30, 0xE9, 0x00})); // Volume Up
    EXPECT_EQ(ActionBytes({0, 0x16C, kPress}), (Bytes{0x00, 0xB0, 0x8A, 0x01}));   // Mail
    EXPECT_EQ(ActionBytes({0, 0x15F, kPress}), (Bytes{0x00, 0xC0, 0x82, 0x00}));   // Sleep
    EXPECT_EQ(ActionBytes({0, 0x174, kPress}), (Bytes{0x00, 0xB0, 0x00, 0x00}));   // empty consumer entry
    EXPECT_EQ(ActionBytes({0, 0x054, kPress}), (Bytes{0x00, 0x80, 0x00, 0x00}));   // no usage
    EXPECT_EQ(ActionBytes({0, 0x01E, 7}), (Bytes{0x00, 0xA0, 0x02, 0x04}));        // odd direction: press
}

TEST_F(MacroImageTest, DelaysInTenMillisecondUnits) {
    EXPECT_EQ(DelayUnits(40000), 4000);
    EXPECT_EQ(DelayUnits(15), 1);
    EXPECT_EQ(DelayUnits(40950), 4095);
    EXPECT_EQ(DelayUnits(40951), 4000);     // capped, never wrapped into the kind bits
    EXPECT_EQ(DelayUnits(1000000), 4000);
    EXPECT_EQ(DelayUnits(-5), 0);
    const MacroList back = DecodeMacroImage(EncodeWithNames({Macro(u"d", {{15, 0x01E, kPress}})}));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].actions[0].delay, 10);
    EXPECT_EQ(ActionBytes({65535, 0x01E, kPress}), (Bytes{0xA0, 0xAF, 0x02, 0x04}));
}

TEST_F(MacroImageTest, DecodeRenumbersIdsAndNamesUnnamedMacros) {
    MacroRecord first = Macro(u"first", {{100, 0x02A, kPress}, {20, 0x130, kRelease}}, 3);
    first.id = 40;
    first.newFlag = 1;
    MacroRecord unnamed = Macro(u"", {{0, 0x15F, kPress}});
    unnamed.id = 7;
    const MacroList back = DecodeMacroImage(EncodeWithNames({first, unnamed}));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].id, 1);
    EXPECT_EQ(back[1].id, 2);
    EXPECT_EQ(back[0].newFlag, 0);
    EXPECT_EQ(back[0].repeatCount, 3);
    EXPECT_EQ(back[0].Name(), u"first");
    EXPECT_EQ(back[1].Name(), u"Macro2");  // the length byte decides, not the names flag
    ASSERT_EQ(back[0].actionCount, 2);
    EXPECT_EQ(back[0].actions[0], (MacroAction{100, 0x02A, kPress}));
    EXPECT_EQ(back[0].actions[1], (MacroAction{20, 0x130, kRelease}));
    EXPECT_EQ(back[1].actions[0], (MacroAction{0, 0x15F, kPress}));

    const MacroList list{first, unnamed};
    const MacroList plain = DecodeMacroImage(EncodeMacroImage(list, MacroImageSizes(list).withoutNames, false));
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_EQ(plain[0].Name(), u"Macro1");
}

TEST_F(MacroImageTest, KeysWithoutUsageComeBackAsNoKey) {
    const MacroList back = DecodeMacroImage(EncodeWithNames({Macro(u"x", {{0, 0x054, kRelease}})}));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].actions[0], (MacroAction{0, 0, kRelease}));
}

TEST_F(MacroImageTest, EncodeRefusesASizeThatDoesNotMatch) {
    const MacroList list{Macro(u"ab", {{0, 0x01E, kPress}})};
    EXPECT_TRUE(EncodeMacroImage(list, 33, true).empty());
    EXPECT_TRUE(EncodeMacroImage(list, MacroImageSizes(list).withNames, false).empty());
    // 40 full macros need more than 16-bit offsets address.
    MacroList big(40, Macro(u"n", {}));
    for (auto& m : big) m.actionCount = kMaxMacroActions;
    EXPECT_GT(MacroImageSizes(big).withoutNames, kMaxMacroImageSize);
    EXPECT_TRUE(EncodeMacroImage(big, MacroImageSizes(big).withoutNames, false).empty());
}

TEST_F(MacroImageTest, DecodeNeverReadsPastTheImage) {
    const MacroList list{Macro(u"one", {{10, 0x01E, kPress}}), Macro(u"two", {{20, 0x030, kPress}})};
    const Bytes image = EncodeWithNames(list);
    // Every cut of the image decodes the whole macros before the cut and nothing after it.
    for (std::size_t n = 0; n <= image.size(); ++n) {
        const MacroList back = DecodeMacroImage(std::span(image.data(), n));
        const std::size_t whole = n >= image.size() ? 2 : (n >= 16 + 4 + 4 + 4 + 6 ? 1 : 0);
        EXPECT_EQ(back.size(), whole) << n;
    }
    Bytes bad = image;
    bad[16] = 0xF0;  // first offset far outside
    EXPECT_TRUE(DecodeMacroImage(bad).empty());
    bad = image;
    bad[4] = 0xFF;  // more macros than offsets
    EXPECT_EQ(DecodeMacroImage(bad).size(), 2u);
    bad = image;
    bad[0] = 0x00;  // no marker: the keyboard holds no macros
    EXPECT_TRUE(DecodeMacroImage(bad).empty());
}

TEST_F(MacroImageTest, LongNamesAreCutToTheRecord) {
    Bytes image{0xAA, 0x55, 0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 18, 0, 0, 0, 1, 255};
    for (int i = 0; i < 255; ++i) {
        image.push_back('z');
        image.push_back(0);
    }
    const MacroList back = DecodeMacroImage(image);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Name().size(), 249u);
}

}  // namespace
}  // namespace qv
