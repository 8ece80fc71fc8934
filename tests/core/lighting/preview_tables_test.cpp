#include "core/lighting/preview_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "core/lighting/lighting_keys.h"

namespace qv::lighting::preview {
namespace {

std::set<int> ChainIds() { return {Chain().begin(), Chain().end()}; }

TEST(PreviewTables, WheelFollowsTheRampsAroundTheCircle) {
    const auto& w = Wheel();
    EXPECT_EQ(w[0], MakeColour(255, 1, 0));
    EXPECT_EQ(w[31], MakeColour(255, 255, 0));
    EXPECT_EQ(w[32], MakeColour(248, 255, 0));
    EXPECT_EQ(w[64], MakeColour(0, 255, 1));
    EXPECT_EQ(w[96], MakeColour(0, 248, 255));
    EXPECT_EQ(w[128], MakeColour(1, 0, 255));
    EXPECT_EQ(w[160], MakeColour(255, 0, 248));
    EXPECT_EQ(w[191], MakeColour(255, 0, 0));
    // Neighbouring sixths meet: the end of one is a pure colour the next starts from.
    for (int s = 0; s < 6; ++s) {
        const ColourRef end = w[static_cast<std::size_t>(32 * s + 31)];
        int full = 0;
        for (std::uint8_t c : {RedOf(end), GreenOf(end), BlueOf(end)}) full += c == 255;
        EXPECT_GE(full, 1) << "sixth " << s;
    }
}

TEST(PreviewTables, BrightnessCurvesHaveTheirShapes) {
    const auto& b96 = B96();
    EXPECT_EQ(b96[0], 22);
    EXPECT_EQ(b96[47], 255);
    EXPECT_EQ(b96[48], 255);
    EXPECT_EQ(b96[95], 22);
    EXPECT_TRUE(std::equal(b96.begin(), b96.begin() + 48, b96.rbegin()));

    const auto& p = P128();
    EXPECT_EQ(p[0], 0);
    EXPECT_EQ(p[16], 255);
    EXPECT_EQ(p[17], 248);
    EXPECT_EQ(p[78], 2);
    EXPECT_EQ(p[79], 1);
    EXPECT_TRUE(std::all_of(p.begin() + 80, p.end(), [](std::uint8_t v) { return v == 0; }));

    const auto& b128 = B128();
    EXPECT_EQ(b128[0], 3);
    EXPECT_EQ(b128[15], 20);
    EXPECT_EQ(b128[16], 22);
    EXPECT_EQ(b128[63], 255);
    EXPECT_EQ(b128[64], 255);
    EXPECT_EQ(b128[127], 3);
    EXPECT_TRUE(std::equal(b128.begin(), b128.begin() + 64, b128.rbegin()));
}

TEST(PreviewTables, GridChainRingsAndKeyButtonsAgree) {
    std::set<int> gridIds;
    for (const auto& row : Grid()) {
        for (int id : row) {
            if (id) gridIds.insert(id);
        }
    }
    const std::set<int> chain = ChainIds();
    EXPECT_EQ(chain.size(), static_cast<std::size_t>(kChainLength));
    EXPECT_EQ(gridIds, chain);

    std::set<int> slots;
    for (int id : chain) {
        const int slot = ColourSlotOfButton(id);
        ASSERT_GE(slot, 0) << id;
        ASSERT_LT(slot, kColourSlots) << id;
        slots.insert(slot);
    }
    EXPECT_EQ(slots.size(), chain.size()) << "two previewed keys share a colour slot";

    std::multiset<int> ringIds;
    for (int k = 0; k < kRingCount; ++k) {
        for (int id : Ring(k)) ringIds.insert(id);
    }
    EXPECT_EQ(std::set<int>(ringIds.begin(), ringIds.end()), chain);
    EXPECT_EQ(ringIds.size(), chain.size()) << "a key stands in two rings";

    for (int n = 0; n < kSweepRows; ++n) {
        for (int id : SweepRow(n)) EXPECT_TRUE(chain.count(id)) << id;
    }
    for (int n = 0; n < kPairCount; ++n) {
        for (int id : Pair(n)) EXPECT_TRUE(chain.count(id)) << id;
    }
    EXPECT_TRUE(SweepRow(kSweepRows).empty());
    EXPECT_TRUE(Ring(-1).empty());
}

TEST(PreviewTables, PermVisitsEveryChainPositionOnce) {
    std::set<int> seen(Perm().begin(), Perm().end());
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kChainLength));
    EXPECT_EQ(*seen.rbegin(), kChainLength - 1);
}

TEST(LightingKeys, ButtonTableMatchesTheMatrixLayout) {
    std::set<int> ids, slots;
    for (const KeyButtonSlot& k : KeyButtonSlots()) {
        ids.insert(k.id);
        slots.insert(k.slot);
        EXPECT_NE(k.slot, kFnSlot);
        EXPECT_NE(k.slot, kGKeySlot);
    }
    EXPECT_EQ(ids.size(), 104u);
    EXPECT_EQ(slots.size(), 104u);
    // Every key button and Fn is previewed: on the chain, or beside a chain key it follows.
    std::set<int> previewed = ChainIds();
    for (const PreviewCompanion& c : Companions()) {
        EXPECT_TRUE(ChainIds().count(c.neighbour)) << c.key;
        EXPECT_FALSE(ChainIds().count(c.key)) << c.key << " would be painted twice";
        previewed.insert(c.key);
    }
    std::set<int> expected = ids;
    expected.insert(kFnButtonId);
    EXPECT_EQ(expected, previewed);

    EXPECT_EQ(ColourSlotOfButton(1000), kGKeySlot);
    EXPECT_EQ(ColourSlotOfButton(1143), kGKeySlot);
    EXPECT_EQ(ColourSlotOfButton(1174), kFnSlot);
    EXPECT_EQ(ColourSlotOfButton(1089), 113);
    EXPECT_EQ(ColourSlotOfButton(1138), -1);
    for (int i = 0; i < kColourButtonCount; ++i) EXPECT_EQ(ColourButtonIndex(ColourButtonAt(i)), i);
}

}  // namespace
}  // namespace qv::lighting::preview
