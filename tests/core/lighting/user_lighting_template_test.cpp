#include <gtest/gtest.h>

#include <set>

#include "core/lighting/lighting_keys.h"
#include "core/lighting/user_lighting_file.h"

namespace qv::lighting {
namespace {

const std::filesystem::path kTemplate = std::filesystem::path(QV_BIN_DIR) / "Skins" / "UserDengColor_3.userd";

TEST(UserLightingTemplate, ShipsTenNamedLayoutsCoveringEveryKey) {
    ASSERT_TRUE(std::filesystem::exists(kTemplate));
    const auto f = UserLightingFile::Load(kTemplate);
    EXPECT_EQ(f.PresentMode(), 0);
    std::set<std::string> names;
    for (int m = 0; m < kUserModeCount; ++m) {
        const std::string name = f.ModeName(m);
        EXPECT_FALSE(name.empty());
        EXPECT_NE(name, "0") << "mode " << m << " has no name";
        names.insert(name);
        const auto section = "Mode" + std::to_string(m);
        for (int i = 0; i < kColourButtonCount; ++i) {
            const int slot = ColourSlotOfButton(ColourButtonAt(i));
            EXPECT_TRUE(f.Document().Find(section, std::to_string(slot))) << section << " slot " << slot;
        }
        const int tool = f.Settings(m).tool;
        EXPECT_TRUE(tool == kEraseTool || tool == kPaintTool);
    }
    EXPECT_EQ(names.size(), 10u);
}

TEST(UserLightingTemplate, WasdLayoutHighlightsTheMovementKeys) {
    const auto f = UserLightingFile::Load(kTemplate);
    ASSERT_EQ(f.ModeName(1), "WASD");
    const UserKeyEntry w = f.Key(1, ColourSlotOfButton(1045));  // W
    const UserKeyEntry esc = f.Key(1, ColourSlotOfButton(1022));
    EXPECT_TRUE(w.set);
    EXPECT_FALSE(esc.set);
    EXPECT_NE(w.colour, esc.colour);
    EXPECT_EQ(w.colour, f.Settings(1).base);
    EXPECT_EQ(esc.colour, f.Settings(1).erase);
}

}  // namespace
}  // namespace qv::lighting
