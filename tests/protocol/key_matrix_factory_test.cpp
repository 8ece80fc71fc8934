// The factory key matrix the tool and the simulated keyboard start from, pinned to the bytes the
// keyboard ships with: a slip in the table would remap a key on every fresh keyboard.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "protocol/key_matrix.h"

namespace qv {
namespace {

using ::testing::ElementsAre;

std::array<std::uint8_t, 3> Entry(std::size_t position) {
    const KeyMatrix& m = BuiltInFactoryMatrix();
    return {m[position * 3], m[position * 3 + 1], m[position * 3 + 2]};
}

TEST(FactoryKeyMatrix, HoldsEveryPositionWithTheShippedEntries) {
    EXPECT_EQ(BuiltInFactoryMatrix().size(), 378u);
    EXPECT_EQ(kMatrixPositions * 3, kKeyMatrixBytes);
    // Kind 5 is one of the keyboard's own keys, not assignable from the PC.
    for (std::size_t p = 0; p < 6; ++p) EXPECT_THAT(Entry(p), ElementsAre(0x05, 0x00, 0x00)) << p;
    EXPECT_THAT(Entry(6), ElementsAre(0, 0, 0));
    EXPECT_THAT(Entry(7), ElementsAre(0, 0, 0));
    EXPECT_THAT(Entry(8), ElementsAre(0x02, 0x02, 0x29));    // keyboard usage: Escape
    EXPECT_THAT(Entry(12), ElementsAre(0x02, 0x01, 0x02));   // modifier: left shift
    EXPECT_THAT(Entry(53), ElementsAre(0x05, 0x02, 0x02));
    EXPECT_THAT(Entry(112), ElementsAre(0x03, 0xB6, 0x00));  // consumer usage: previous track
    EXPECT_THAT(Entry(125), ElementsAre(0x02, 0x02, 0x63));  // the last position
}

TEST(FactoryKeyMatrix, EveryEntryIsEmptyOrOfAKindTheCodecKnows) {
    std::size_t used = 0;
    for (std::size_t p = 0; p < kMatrixPositions; ++p) {
        const auto e = Entry(p);
        if (e == std::array<std::uint8_t, 3>{}) continue;
        ++used;
        // Keyboard page or modifier, consumer page, desktop page, the keyboard's own.
        EXPECT_TRUE(e[0] >= 0x02 && e[0] <= 0x05) << "position " << p;
    }
    EXPECT_EQ(used, 107u);
}

}  // namespace
}  // namespace qv
