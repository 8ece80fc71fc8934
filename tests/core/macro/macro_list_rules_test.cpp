#include "core/macro/macro_list_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace qv {
namespace {

MacroRecord Macro(std::uint16_t id, std::uint16_t newFlag = 0) {
    MacroRecord m;
    m.id = id;
    m.newFlag = newFlag;
    return m;
}

KeyRecord PlaysMacro(std::uint32_t id) {
    KeyRecord r;
    r.type = AssignMacro;
    r.value = id;
    return r;
}

TEST(MacroListRules, SmallestFreeIdFillsGapsAndRunsOut) {
    EXPECT_EQ(SmallestFreeMacroId({}), 1);
    EXPECT_EQ(SmallestFreeMacroId({Macro(1), Macro(3)}), 2);
    MacroList full;
    for (int id = 1; id <= kMaxMacros; ++id) full.push_back(Macro(static_cast<std::uint16_t>(id)));
    EXPECT_EQ(SmallestFreeMacroId(full), 0);
}

TEST(MacroListRules, TypedPauseIsCappedThenRoundedDown) {
    EXPECT_EQ(NormalizeTypedPause(1234).pause, 1230);
    EXPECT_FALSE(NormalizeTypedPause(1234).capped);
    EXPECT_EQ(NormalizeTypedPause(45000).pause, 40000);
    EXPECT_TRUE(NormalizeTypedPause(45000).capped);
    EXPECT_FALSE(NormalizeTypedPause(40000).capped);
    EXPECT_EQ(NormalizeTypedPause(-5).pause, 0);
    EXPECT_EQ(ClampRepeatCount(0), 1);
    EXPECT_EQ(ClampRepeatCount(300), 255);
    EXPECT_EQ(ClampRepeatCount(7), 7);
}

// Stated pauses are taken only as the keyboard keeps them: what a script says is what plays.
TEST(MacroListRules, StatedPausesAreTheOnesTheKeyboardKeeps) {
    EXPECT_EQ(PauseLimitsText(), "0 to 40950 ms in steps of 10 ms");
    for (const long long ok : {0LL, 10LL, 40000LL, 40950LL}) EXPECT_FALSE(CheckStatedPause(ok)) << ok;
    EXPECT_EQ(CheckStatedPause(15), "pauses go from 0 to 40950 ms in steps of 10 ms: 15 ms would be kept as 10 ms");
    EXPECT_EQ(CheckStatedPause(40001), "pauses go from 0 to 40950 ms in steps of 10 ms: 40001 ms would be kept as 40000 ms");
    EXPECT_EQ(CheckStatedPause(40960), "pauses go from 0 to 40950 ms in steps of 10 ms, not 40960");
    EXPECT_EQ(CheckStatedPause(-10), "pauses go from 0 to 40950 ms in steps of 10 ms, not -10");
    // The longest stated pause is the longest the macro memory encodes.
    EXPECT_EQ(DelayUnits(kLongestPauseMs) * 10, kLongestPauseMs);
}

TEST(MacroListRules, ReplacingTheListMendsKeysThatPlayMacros) {
    ProfileContent content = DefaultProfileContent();
    content.Assign(0, 5, PlaysMacro(2));    // id 2 deleted, then taken by a new macro
    content.Assign(1, 7, PlaysMacro(9));    // id that no macro has
    content.Assign(2, 300, PlaysMacro(0));  // no id yet: takes the first macro's
    content.Assign(3, 1, PlaysMacro(1));    // still valid
    EXPECT_TRUE(MacroUsedByKeys(content, 9));
    EXPECT_FALSE(MacroUsedByKeys(content, 4));

    std::vector<int> changed;
    const int n = ReplaceMacroList(content, {Macro(1), Macro(2, 1)},
                                   [&](int t, int i) { changed.push_back(t * kKeyTableRecords + i); });
    EXPECT_EQ(n, 3);
    EXPECT_EQ(changed, (std::vector<int>{5, 512 + 7, 1024 + 300}));
    EXPECT_EQ(content.Record(0, 5).type, AssignDefault);
    EXPECT_EQ(content.Record(1, 7).type, AssignDefault);
    EXPECT_EQ(content.Record(2, 300), PlaysMacro(1));
    EXPECT_EQ(content.Record(3, 1), PlaysMacro(1));
    ASSERT_EQ(content.macros.size(), 2u);
    EXPECT_EQ(content.macros[1].newFlag, 0);
}

TEST(MacroListRules, AnEmptyListLeavesUnboundMacroKeysAlone) {
    ProfileContent content = DefaultProfileContent();
    content.Assign(0, 5, PlaysMacro(0));
    content.Assign(0, 6, PlaysMacro(3));
    EXPECT_EQ(ReplaceMacroList(content, {}), 1);
    EXPECT_EQ(content.Record(0, 5), PlaysMacro(0));
    EXPECT_EQ(content.Record(0, 6).type, AssignDefault);
}

}  // namespace
}  // namespace qv
