#include "core/lighting/effect_table.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/lighting/effect_catalogue.h"
#include "support/temp_dir.h"

namespace qv::lighting {
namespace {

TEST(EffectTable, ZeroBytesAreSkippedAndPositionsCountTheRest) {
    device::GlobalBlock block;
    block.bytes[12] = 6;
    block.bytes[15] = 1;
    block.bytes[43] = 20;
    const auto t = EffectTable::FromGlobalBlock(block);
    ASSERT_EQ(t.Size(), 3u);
    EXPECT_EQ(t.CodeAt(0), 6);
    EXPECT_EQ(t.CodeAt(1), 1);
    EXPECT_EQ(t.CodeAt(2), 20);
    EXPECT_EQ(t.PositionOf(1), 1);
    EXPECT_EQ(t.PositionOf(20), 2);
    EXPECT_EQ(t.PositionOf(4), -1);
    EXPECT_EQ(t.CodeAt(3), 0);
    EXPECT_EQ(t.CodeAt(-1), 0);
    EXPECT_TRUE(EffectTable::FromGlobalBlock(device::GlobalBlock{}).Empty());
}

TEST(EffectTable, DuplicateCodesFindTheFirst) {
    const std::uint8_t codes[] = {5, 19, 5};
    const auto t = EffectTable::FromCodeBytes(codes);
    EXPECT_EQ(t.PositionOf(5), 0);
    EXPECT_EQ(t.CodeAt(1), 19);
}

TEST(EffectNames, ComeFromTheSkinByLanguage) {
    test::TempDir dir;
    const auto skin = dir.path() / "Main.ini";
    std::ofstream(skin) << "[Mode]\n1=波浪\n6=静态\n[Mode1]\n1=Wave\n";
    const std::uint8_t codes[] = {6, 0, 0, 1};
    const auto t = EffectTable::FromCodeBytes(codes);
    EXPECT_EQ(EffectNames(t, skin, 0), (std::vector<std::string>{"静态", "波浪"}));
    // A code the skin does not name still reads as itself, whatever the language.
    EXPECT_EQ(EffectNames(t, skin, 1), (std::vector<std::string>{"Effect 6", "Wave"}));
    EXPECT_EQ(EffectNames(t, skin, 2), (std::vector<std::string>{"Effect 6", "Effect 1"}));
    const std::uint8_t later[] = {19, 25};
    std::ofstream(skin, std::ios::app) << "[Mode1]\n19=\n";
    EXPECT_EQ(EffectNames(EffectTable::FromCodeBytes(later), skin, 1),
              (std::vector<std::string>{"Effect 19", "Effect 25"}))
        << "an empty name is no name";

    const auto lang = dir.path() / "language.ini";
    EXPECT_EQ(ReadLanguageValue(lang), 0);
    std::ofstream(lang) << "[LANGUAGE]\nlanguage=1\n";
    EXPECT_EQ(ReadLanguageValue(lang), 1);
}

TEST(EffectCatalogue, GroupsAgreeWithWritesAndDirections) {
    for (auto* t = KnownEffectsBegin(); t != KnownEffectsEnd(); ++t) {
        SCOPED_TRACE(t->code);
        EXPECT_EQ(TraitsOf(t->code), t);
        EXPECT_TRUE(t->groups & kGroupEffectSelector);
        EXPECT_TRUE(t->groups & kGroupBrightness);
        // The colourful flag goes out with the code only for effects that show it in the
        // second colour group (effect 10 shows it but does not send it).
        if (t->selection == SelectionWrite::CodeAndColourful) {
            EXPECT_TRUE(t->groups & kGroupSecondColour);
        }
        EXPECT_FALSE((t->groups & kGroupFirstColour) && (t->groups & kGroupSecondColour));
        if (t->direction != DirectionStyle::Spread) {
            EXPECT_TRUE(t->groups & kGroupDirection);
        }
        EXPECT_NE(t->selection, SelectionWrite::Nothing);
    }
    EXPECT_EQ(TraitsOf(19), nullptr);
    EXPECT_EQ(KnownEffectsEnd() - KnownEffectsBegin(), 19);
    EXPECT_EQ(TraitsOf(4)->selection, SelectionWrite::CodeOnly);
    EXPECT_EQ(TraitsOf(5)->selection, SelectionWrite::CodeAndColourful);
    EXPECT_EQ(TraitsOf(17)->groups, kGroupEffectSelector | kGroupBrightness | kGroupColourChoice);
}

}  // namespace
}  // namespace qv::lighting
