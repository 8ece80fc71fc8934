#include "core/macro/macro_steps.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace qv {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr KeyCode kCtrl = 0x01D, kC = 0x02E, kShift = 0x02A, kH = 0x023, kI = 0x017, k1 = 0x002;

TEST(MacroSteps, PressReleaseTapAndPauses) {
    const StepsResult r = ParseMacroSteps("+Ctrl c 200ms -Ctrl", 50);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_THAT(r.actions, ElementsAre(MacroAction{50, kCtrl, kPress}, MacroAction{50, kC, kPress},
                                       MacroAction{200, kC, kRelease}, MacroAction{0, kCtrl, kRelease}));
    // A pause after the last action stays; two pauses in a row add up.
    const StepsResult last = ParseMacroSteps("c 100ms 30ms", 0);
    ASSERT_TRUE(last.ok()) << last.error;
    EXPECT_THAT(last.actions, ElementsAre(MacroAction{0, kC, kPress}, MacroAction{130, kC, kRelease}));
    // One-character words are taps; a sign before them presses or releases.
    const StepsResult minus = ParseMacroSteps("- +- -- 0x02E", 0);
    ASSERT_TRUE(minus.ok()) << minus.error;
    EXPECT_EQ(minus.actions.size(), 6u);
    EXPECT_EQ(minus.actions[2], (MacroAction{0, 0x00C, kPress}));
    EXPECT_EQ(minus.actions[3], (MacroAction{0, 0x00C, kRelease}));
    EXPECT_EQ(minus.actions[4].key, kC);
}

TEST(MacroSteps, BadStepsAreRefusedNamingTheWord) {
    EXPECT_THAT(ParseMacroSteps("100ms a", 0).error, HasSubstr("'100ms' comes before any key"));
    EXPECT_THAT(ParseMacroSteps("a 15ms", 0).error, HasSubstr("steps of 10 ms"));
    EXPECT_THAT(ParseMacroSteps("a 40960ms", 0).error, HasSubstr("0 to 40950 ms"));
    EXPECT_THAT(ParseMacroSteps("a 30000ms 20000ms", 0).error, HasSubstr("0 to 40950 ms"));
    EXPECT_TRUE(ParseMacroSteps("a 40950ms b", 0).ok()) << "the longest pause the keyboard keeps";
    EXPECT_THAT(ParseMacroSteps("+Ctrl Caps_Lok", 0).error, HasSubstr("unknown key 'Caps_Lok'"));
    EXPECT_THAT(ParseMacroSteps("0x200", 0).error, HasSubstr("unknown key"));
    EXPECT_THAT(ParseMacroSteps("   ", 0).error, HasSubstr("no key"));
    std::string many;
    for (int i = 0; i < 1001; ++i) many += "a ";
    EXPECT_THAT(ParseMacroSteps(many, 0).error, HasSubstr("at most 2000 actions"));
    many.resize(many.size() - 2);
    EXPECT_TRUE(ParseMacroSteps(many, 0).ok());
}

TEST(MacroSteps, FormattedStepsReadBack) {
    const std::vector<MacroAction> actions = {
        {10, 0x03A, kPress}, {57, 0x03A, kRelease}, {0, 0x04A, kPress}, {0, 0x148, kRelease}, {40000, 0, kPress}};
    const std::string text = FormatMacroSteps(actions);
    EXPECT_EQ(text, "+CapsLock 10ms -CapsLock 57ms +Num- -\u2191 +0x000 40000ms");
    // 57 ms (a recorded pause) is not a typed pause; everything else reads back.
    std::vector<MacroAction> typed = actions;
    typed[1].delay = 50;
    const StepsResult back = ParseMacroSteps(FormatMacroSteps(typed), 0);
    ASSERT_TRUE(back.ok()) << back.error;
    EXPECT_EQ(back.actions, typed);
}

TEST(MacroSteps, TextIsTypedWithShiftWhereNeeded) {
    const StepsResult r = TypeTextActions("Hi1!", 20);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_THAT(r.actions,
                ElementsAre(MacroAction{20, kShift, kPress}, MacroAction{20, kH, kPress}, MacroAction{20, kH, kRelease},
                            MacroAction{20, kShift, kRelease}, MacroAction{20, kI, kPress}, MacroAction{20, kI, kRelease},
                            MacroAction{20, k1, kPress}, MacroAction{20, k1, kRelease}, MacroAction{20, kShift, kPress},
                            MacroAction{20, k1, kPress}, MacroAction{20, k1, kRelease}, MacroAction{0, kShift, kRelease}));
    EXPECT_EQ(TypeTextActions("a b\n", 0).actions[2].key, 0x039);
    EXPECT_EQ(TypeTextActions("a b\n", 0).actions[6].key, 0x01C);
    EXPECT_EQ(TypeTextActions("caf\u00e9", 10).error, "the character '\u00e9' has no key to type it");
    EXPECT_THAT(TypeTextActions("", 10).error, HasSubstr("no text"));
    EXPECT_THAT(TypeTextActions(std::string(1001, 'a'), 10).error, HasSubstr("2000"));
    EXPECT_TRUE(TypeTextActions(std::string(1000, 'a'), 10).ok());
}

}  // namespace
}  // namespace qv
