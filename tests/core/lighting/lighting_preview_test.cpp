#include "core/lighting/lighting_preview.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

namespace qv::lighting {
namespace {

using preview::Wheel;

constexpr ColourRef kWhite = MakeColour(255, 255, 255);

// The last look each key button was given, and how many paints a tick made.
struct RecordingSink : PreviewSink {
    std::map<int, std::optional<ColourRef>> shown;
    int paints = 0;
    void ShowColour(int id, ColourRef c) override {
        shown[id] = c;
        ++paints;
    }
    void ShowPlain(int id) override {
        shown[id] = std::nullopt;
        ++paints;
    }
    ColourRef At(int id) const {
        const auto it = shown.find(id);
        return it != shown.end() && it->second ? *it->second : 0xFF000000u;
    }
};

struct FixedRandom : RandomSource {
    std::uint32_t value = 0;
    std::uint32_t Next() override { return value; }
};

RecordingSink Tick(LightingPreview& p, int effect, int direction = 255, bool colourful = false,
                   ColourRef colour = kWhite) {
    RecordingSink sink;
    p.Tick({effect, direction, colourful, colour}, sink);
    return sink;
}

TEST(LightingPreview, Effect4RunsTheWheelBackwardsWithTheSecondDirection) {
    LightingPreview p;
    auto s = Tick(p, 4, 0);
    EXPECT_EQ(p.Phase(4), 190);
    for (int id : preview::Chain()) ASSERT_EQ(s.At(id), Wheel()[190]) << id;
    s = Tick(p, 4, 0);
    EXPECT_EQ(s.At(1052), Wheel()[188]);
    s = Tick(p, 4, 255);
    EXPECT_EQ(s.At(1052), Wheel()[190]);
}

TEST(LightingPreview, Effect6ColourfulShowsColumn22LikeColumn0) {
    LightingPreview p;
    auto s = Tick(p, 6, 255, true);
    EXPECT_EQ(s.At(1107), MakeColour(255, 1, 0));  // row 1, column 22
    EXPECT_EQ(s.At(1083), MakeColour(255, 1, 0));  // row 5, column 0
    EXPECT_EQ(s.At(1029), Wheel()[9]);             // column 1
    EXPECT_EQ(s.At(1106), Wheel()[189]);           // column 21
    s = Tick(p, 6, 255, false, MakeColour(10, 20, 30));
    for (int id : preview::Chain()) ASSERT_EQ(s.At(id), MakeColour(10, 20, 30));
}

TEST(LightingPreview, Effect18SecondDirectionStepsFromZeroTo190) {
    LightingPreview p;
    auto s = Tick(p, 18, 0);
    EXPECT_EQ(p.SharedCounter(), 190);
    EXPECT_EQ(s.At(1052), Wheel()[(190 + 21) % 192]);      // ring 0
    EXPECT_EQ(s.At(1107), Wheel()[(190 + 21 * 12) % 192]);  // ring 11
    Tick(p, 18, 255);
    EXPECT_EQ(p.SharedCounter(), 0);
}

TEST(LightingPreview, ColumnWavesPaintWideKeysWithTheirLastColumn) {
    LightingPreview p;
    auto s = Tick(p, 1, 255, true);
    EXPECT_EQ(s.At(1029), Wheel()[(9 + 9) % 192]);
    EXPECT_EQ(s.At(1043), Wheel()[(9 + 9 * 15) % 192]);  // Backspace spans columns 14 and 15
    s = Tick(p, 1, 0, false, kWhite);                      // phase 7 back from 0 mod 96
    EXPECT_EQ(p.Phase(1), (9 - 7 + 96) % 96);
    // Effect 2 without colour counts the phase forwards whatever the direction.
    Tick(p, 2, 0, false);
    EXPECT_EQ(p.Phase(2), 4);
    s = Tick(p, 2, 0, false);
    EXPECT_EQ(s.At(1083), ScaleColour(kWhite, preview::P128()[(8 - 5 + 128) % 128]));
}

// Brightness of one key under the non-colourful white, which shows the brightness itself.
std::vector<int> DecayOf(int effect, int id, int ticks) {
    LightingPreview p;
    std::vector<int> seen;
    for (int t = 0; t < ticks; ++t) {
        auto s = Tick(p, effect, 255, false, kWhite);
        seen.push_back(RedOf(s.At(id)));
    }
    return seen;
}

TEST(LightingPreview, LitKeyDecaysStepByStep) {
    // Effect 10 lights chain position PERM[1] = 24 (key 1086) in its first tick and not again
    // for 34 ticks.
    const auto seen = DecayOf(10, preview::Chain()[24], 33);
    const std::vector<int> head{235, 215, 195, 175, 155, 135, 115, 99, 83, 67, 51, 41, 31, 26, 21, 16, 15};
    ASSERT_EQ(std::vector<int>(seen.begin(), seen.begin() + 17), head);
    for (int t = 17; t < 31; ++t) EXPECT_EQ(seen[static_cast<std::size_t>(t)], 15 - (t - 16)) << t;
    EXPECT_EQ(seen[30], 1);
    EXPECT_EQ(seen[31], 0);  // the 32nd tick
}

TEST(LightingPreview, Effect14DecaysSteeper) {
    // Esc (1022) is lit by the first sweep row only.
    const auto seen = DecayOf(14, 1022, 27);
    const std::vector<int> head{225, 195, 165, 135, 105, 85, 65, 45, 35, 25, 20, 15};
    ASSERT_EQ(std::vector<int>(seen.begin(), seen.begin() + 12), head);
    EXPECT_EQ(seen[12], 14);
    EXPECT_EQ(seen[25], 1);
    EXPECT_EQ(seen[26], 0);  // the 27th tick
}

TEST(LightingPreview, Effect14ScriptWalksItsStates) {
    LightingPreview p;
    for (int t = 0; t < 20; ++t) Tick(p, 14);
    EXPECT_EQ(p.ScriptState(), 1);
    EXPECT_EQ(p.SharedCounter(), 0);
    for (int t = 0; t < 31; ++t) Tick(p, 14);
    EXPECT_EQ(p.SharedCounter(), 31);
    int ticks = 0;
    while (p.ScriptState() == 1 && ticks++ < 100) Tick(p, 14);
    EXPECT_EQ(p.ScriptState(), 2);
    EXPECT_EQ(p.KeyBrightness(14, 1066), 0);
    Tick(p, 14);
    ASSERT_EQ(p.ScriptState(), 3);
    // Seeded at P (row 2, column 11) in all four planes.
    for (const auto& plane : *p.FrontsOf(14)) EXPECT_EQ(plane[11], 1u << 2);
    ticks = 0;
    while (p.ScriptState() == 3 && ticks++ < 100) Tick(p, 14);
    EXPECT_EQ(p.ScriptState(), 4);
    EXPECT_GT(p.KeyBrightness(14, 1083), 0);
    ticks = 0;
    while (p.ScriptState() == 4 && ticks++ < 100) Tick(p, 14);
    EXPECT_EQ(p.ScriptState(), 0);
}

TEST(LightingPreview, FrontsMoveDiagonallyFromTheSeed) {
    LightingPreview p;
    Tick(p, 13);  // seeds bit 6 (below the bottom row) of column 9; nothing to light yet
    EXPECT_EQ(p.KeyBrightness(13, 1086), 0);
    Tick(p, 13);  // the upward planes bring the bottom row of column 9 in: Right Alt
    EXPECT_EQ(p.KeyBrightness(13, 1086), 235);
    const auto& f = *p.FrontsOf(13);
    // Two moves right and up from (column 9, row 6): (9, 4), (10, 5), (11, 6).
    EXPECT_EQ(f[2][9], 1u << 4);
    EXPECT_EQ(f[2][10], 1u << 5);
    EXPECT_EQ(f[2][11], 1u << 6);
    EXPECT_EQ(f[3][8], 1u << 5);  // left and up
    EXPECT_EQ(f[3][7], 1u << 6);
    EXPECT_EQ(f[0][8], 1u << 7);  // left and down: below the virtual row, about to be lost
}

TEST(LightingPreview, RestartResetsOnlyWhatAFreshEffectNeeds) {
    LightingPreview p;
    for (int t = 0; t < 25; ++t) Tick(p, 14);
    for (int t = 0; t < 3; ++t) Tick(p, 10);
    Tick(p, 1, 255, true);
    const int phase1 = p.Phase(1);
    const int lit10 = preview::Chain()[preview::Perm()[1]];
    ASSERT_GT(p.KeyBrightness(10, lit10), 0);

    p.Restart();
    Tick(p, 7);  // the reset happens in the next tick, whatever the effect
    EXPECT_EQ(p.ScriptState(), 0);
    EXPECT_EQ(p.SharedCounter(), 0);
    EXPECT_EQ(p.KeyBrightness(10, lit10), 0);
    EXPECT_EQ(p.Phase(1), phase1);
    for (const auto& plane : *p.FrontsOf(15)) EXPECT_EQ(plane[9], 1u << 6);
    for (const auto& plane : *p.FrontsOf(16)) EXPECT_EQ(plane[1], 1u << 0);
}

TEST(LightingPreview, Effect16RipplesFromTheTopLeftFromTheFirstTick) {
    LightingPreview p;  // a fresh preview starts like a restart, so effect 16 has its seed
    Tick(p, 16);
    EXPECT_EQ(p.KeyBrightness(16, 1029), 0);  // column 1 row 0 is empty; row 1 comes next
    Tick(p, 16);
    EXPECT_EQ(p.KeyBrightness(16, 1029), 235);
}

TEST(LightingPreview, NonAnimatedEffectsResetTheKeysAndEffect20LeavesThem) {
    for (int effect : {7, 8, 9, 17, 19, 0, 99}) {
        LightingPreview p;
        auto s = Tick(p, effect);
        EXPECT_EQ(s.shown.size(), 105u) << effect;
        for (const auto& [id, look] : s.shown) EXPECT_FALSE(look.has_value()) << effect << " " << id;
        EXPECT_TRUE(s.shown.count(1087));
        EXPECT_TRUE(s.shown.count(1174));
        EXPECT_FALSE(s.shown.count(1000)) << "G keys keep their own colour";
    }
    LightingPreview p;
    EXPECT_EQ(Tick(p, 20).paints, 0);
}

TEST(LightingPreview, RightWinShowsWhatMenuShowsInEveryEffect) {
    constexpr int kRightWin = 1087, kMenu = 1088;
    for (int effect : {1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16, 18}) {
        for (bool colourful : {false, true}) {
            LightingPreview p;
            for (int t = 0; t < 40; ++t) {
                const auto s = Tick(p, effect, 255, colourful, MakeColour(200, 100, 50));
                ASSERT_TRUE(s.shown.count(kRightWin)) << effect << " tick " << t;
                ASSERT_EQ(s.At(kRightWin), s.At(kMenu)) << effect << " tick " << t;
            }
        }
    }
    // It moves with the animation, it is not painted once.
    LightingPreview p;
    const ColourRef first = Tick(p, 4).At(kRightWin);
    EXPECT_NE(Tick(p, 4).At(kRightWin), first);
}

TEST(LightingPreview, ColourfulKeysTakeTheInjectedRandomColour) {
    FixedRandom r;
    r.value = 200 + 255 * 3;  // modulo 255 gives 200, wheel entry 8
    LightingPreview p(&r);
    auto s = Tick(p, 10, 255, true);
    EXPECT_EQ(s.At(preview::Chain()[preview::Perm()[1]]), ScaleColour(Wheel()[8], 235));
}

TEST(LightingPreview, Effect11StartsEveryKeyOnTheWheel) {
    LightingPreview p;
    auto s = Tick(p, 11);
    EXPECT_EQ(s.At(preview::Chain()[0]), Wheel()[36]);
    // Key 63 starts at exactly 192 and wraps to 0 instead of reading past the wheel.
    EXPECT_EQ(s.At(preview::Chain()[63]), Wheel()[0]);
}

TEST(LightingPreview, SharedCounterFromEffect18StaysOnTheGridInEffect15) {
    LightingPreview p;
    for (int t = 0; t < 80; ++t) Tick(p, 18, 255);
    ASSERT_GT(p.SharedCounter(), 100);
    Tick(p, 15);
    EXPECT_GE(p.SharedCounter(), 0);
    EXPECT_LE(p.SharedCounter(), 22);
    for (int t = 0; t < 80; ++t) Tick(p, 18, 255);
    for (int t = 0; t < 30; ++t) Tick(p, 14);  // the script gets back to its first state
    EXPECT_LE(p.ScriptState(), 1);
}

TEST(LightingPreview, TickArrivingDuringATickReturnsAtOnce) {
    LightingPreview p;
    struct Reentering : RecordingSink {
        LightingPreview* preview = nullptr;
        int nested = 0;
        void ShowColour(int id, ColourRef c) override {
            RecordingSink::ShowColour(id, c);
            if (nested++ == 0) {
                RecordingSink inner;
                preview->Tick({4, 255, false, kWhite}, inner);
                EXPECT_EQ(inner.paints, 0);
            }
        }
    } sink;
    sink.preview = &p;
    p.Tick({4, 255, false, kWhite}, sink);
    EXPECT_EQ(p.Phase(4), 2);
    EXPECT_EQ(sink.paints, 105) << "the chain and Right Win beside Menu";
}

}  // namespace
}  // namespace qv::lighting
