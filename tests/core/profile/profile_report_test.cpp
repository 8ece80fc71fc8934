#include "core/profile/profile_report.h"

#include <gtest/gtest.h>

#include "core/app/text_table.h"

namespace qv {
namespace {

ProfileContent Sample() {
    ProfileContent c = DefaultProfileContent();
    c.Record(0, 0x1E) = {AssignSingleKey, 0, 0x02A, 0, 0};
    c.Record(0, 0x30) = {AssignDisabled, 0, 0, 0, 0};
    c.Record(1, 0x3B) = {AssignMacro, 0, 7, 0, 0};
    c.Record(1, 0x3C) = {AssignMacro, 0, 8, 0, 0};  // a macro that is gone
    c.Record(2, 0x3D) = {AssignFunctionKey, 0, 4, 0, 0};
    c.Record(2, 256 + 10) = {AssignStopMacro, 0, 0, 0, 0};
    c.Record(2, 0x3E) = {AssignTextBlock, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(2, 0x3E), u"say \"hi\"\n");
    MacroRecord& m = c.macros.emplace_back();
    m.SetName(u"q\u00e9");
    m.id = 7;
    m.repeatCount = 2;
    m.actionCount = 1;
    m.actions[0] = {120, 0x01E, kRelease};
    return c;
}

TEST(ProfileReport, TextNamesKeysTargetsAndMacros) {
    ResetTextTable();
    const std::string text = ProfileReportText(Sample());
    EXPECT_NE(text.find("profile 1:\n  A: key(Shift)\n  B: disabled\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  F1: macro(q\u00e9)\n  F2: macro()\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  F3: function(Copy)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  B-G2: stop-macro\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  7 \"q\u00e9\" repeat 2, 1 actions\n    release A, 120 ms\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace qv
