// A key button's tooltip names what the key does, for every kind of assignment a key can hold
// (some of which only quorvanectl or a profile file can set).
#include "ui/main/key_tooltips.h"

#include <gtest/gtest.h>

#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"

namespace qv::test {
namespace {

KeyRecord Record(std::uint16_t type, std::uint32_t value = 0) {
    KeyRecord r;
    r.type = type;
    r.value = value;
    return r;
}

TEST(KeyTooltips, NameEveryAssignmentAfterTheKeysName) {
    ResetTextTable();
    const std::string set = Text(TextId::KEY_PROMPT_SET);
    MacroRecord m;
    m.id = 3;
    m.SetName(u"Combo");
    const MacroList macros{m};
    const auto tip = [&](std::uint16_t type, std::uint32_t value = 0) {
        return ui::KeyButtonTooltip("Caps Lock", Record(type, value), macros);
    };

    EXPECT_EQ(tip(AssignDefault), "Caps Lock");
    EXPECT_EQ(tip(AssignDisabled), "Caps Lock" + set + "Disabled");
    EXPECT_EQ(tip(AssignStopMacro), "Caps Lock" + set + "Stop macro");
    EXPECT_EQ(tip(AssignLaunchProgram, 40), "Caps Lock" + set + "Launch program");
    EXPECT_EQ(tip(AssignTextBlock, 40), "Caps Lock" + set + "Type text");
    EXPECT_EQ(tip(AssignSingleKey, 0x01E), "Caps Lock" + set + Text(TextId::KEY_PROMPT_SINGLE) + "A)");
    EXPECT_EQ(tip(AssignMacro, 3), "Caps Lock" + set + Text(TextId::KEY_PROMPT_MACRO) + "Combo)");
    EXPECT_EQ(tip(AssignFunctionKey, 8), "Caps Lock" + set + Text(TextId::KEY_PROMPT_FUNCTION) + FunctionName(8) + ")");
    // A type no version of the tool writes says only that the key is set.
    EXPECT_EQ(tip(42), "Caps Lock" + set);
}

}  // namespace
}  // namespace qv::test
