#include "core/lighting/panel_decisions.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_dir.h"

#include "core/lighting/lighting_state.h"
#include "core/lighting/user_lighting_file.h"

namespace qv::lighting {
namespace {

TEST(PanelDecisions, VisibilityFollowsTheEffectAndTheView) {
    EXPECT_EQ(VisibleGroups(17, true), kGroupEffectSelector | kGroupBrightness | kGroupColourChoice);
    EXPECT_FALSE(VisibleGroups(17, true) & kGroupSpeed);
    EXPECT_EQ(VisibleGroups(19, true), kGroupEffectSelector) << "the way out of an effect without parameters";
    EXPECT_EQ(VisibleGroups(19, false), 0u);
    EXPECT_EQ(VisibleGroups(0, true), kGroupEffectSelector) << "a record holding no listed code";
    EXPECT_EQ(VisibleGroups(0, true, /*effectsListed=*/false), 0u) << "nothing to choose from";
    EXPECT_EQ(VisibleGroups(1, false), 0u);
    EXPECT_TRUE(VisibleGroups(10, true) & kGroupSecondColour);
    EXPECT_TRUE(VisibleGroups(16, true) & kGroupFirstColour);
    EXPECT_EQ(VisibleGroups(20, true), kGroupEffectSelector | kGroupBrightness | kGroupUserMode);
    EXPECT_EQ(GroupControls(kGroupUserMode).size(), 8u);
}

TEST(PanelDecisions, DirectionLayoutAndPicturesFollowTheEffect) {
    EXPECT_EQ(DirectionLayoutFor(2).firstKey, "CONTROL_BLFXLStaPic2");
    EXPECT_EQ(DirectionLayoutFor(12).labelKey, "CONTROL_BLFXStatic3");
    EXPECT_EQ(DirectionLayoutFor(18).secondKey, "CONTROL_BLFXRStaPic");
    EXPECT_EQ(DirectionLayoutFor(5).firstKey, "CONTROL_BLFXLStaPic");

    auto p = DirectionPicturesFor(12, 255);
    EXPECT_EQ(p.first, "updown.bmp");
    EXPECT_EQ(p.second, "downup.bmp");
    p = DirectionPicturesFor(1, 0);
    EXPECT_EQ(p.first, "leftup.bmp");
    EXPECT_EQ(p.second, "rightdown.bmp");
    p = DirectionPicturesFor(18, 7);  // only 255 counts as the first direction
    EXPECT_EQ(p.first, "kuosan.bmp");
    EXPECT_EQ(p.second, "julongdown.bmp");
}

TEST(PanelDecisions, TogglePictures) {
    EXPECT_EQ(LightingViewPicture(true), "dengdown.bmp");
    EXPECT_EQ(ColourfulPicture(false), "sjsup.bmp");
    EXPECT_EQ(ColourChoicePicture(2, 2), "lvok.bmp");
    EXPECT_EQ(ColourChoicePicture(0, 9), "hongok.bmp");  // out of range reads as red
    EXPECT_EQ(ColourChoicePicture(3, 9), "lan.bmp");
    EXPECT_EQ(EraseToolPicture(kEraseTool), "user1down.bmp");
    EXPECT_EQ(PaintToolPicture(kEraseTool), "user2up.bmp");
    EXPECT_EQ(BrightnessSliderPicture(4), "4.bmp");
    EXPECT_EQ(SpeedSliderPicture(4), "10.bmp");
    EXPECT_EQ(SpeedSliderPicture(99), "11.bmp");
    EXPECT_EQ(BusyPicture(9), "jdt10.bmp");
    EXPECT_EQ(BusyPicture(10), "jdt1.bmp");
    EXPECT_EQ(LabelKey(1176), "DC");
    EXPECT_EQ(*LabelSection(1), "Control_Name1");
    EXPECT_FALSE(LabelSection(2));
}

TEST(PanelDecisions, LabelTextsByLanguage) {
    test::TempDir dir;
    const auto skin = dir.path() / "Main.ini";
    std::ofstream(skin) << "[Control_Name1]\nColor=Colour\nDC=Multi\n";
    const auto texts = ReadLabelTexts(skin, 1);
    ASSERT_EQ(texts.size(), 12u);
    int colours = 0;
    for (const auto& [id, text] : texts) {
        if (text == "Colour") ++colours;
        if (id == 1171) {
            EXPECT_EQ(text, "");
        }
    }
    EXPECT_EQ(colours, 3);  // 1151, 1154, 1159
    EXPECT_TRUE(ReadLabelTexts(skin, 3).empty());
}

TEST(RgbEntry, NumbersAreHeldToAByteAndBadTextKeepsTheShownOne) {
    const ColourRef shown = MakeColour(1, 2, 3);
    auto e = ReadRgbEntry({"300", "-1", " 7 "}, shown);
    EXPECT_EQ(e.numbers, (std::array<int, 3>{255, 0, 7}));
    EXPECT_EQ(e.colour, MakeColour(255, 0, 7));
    EXPECT_FALSE(e.invalidText);

    for (const char* bad : {"", "-", "+", "abc", "12x", "99999999999"}) {
        e = ReadRgbEntry({"12", bad, "99"}, shown);
        EXPECT_TRUE(e.invalidText) << bad;
        EXPECT_EQ(e.numbers, (std::array<int, 3>{12, 2, 99})) << bad;
    }
    EXPECT_EQ(RgbNumbers(MakeColour(10, 20, 30)), (std::array<int, 3>{10, 20, 30}));
}

TEST(PanelDecisions, EffectWithoutParametersIsSaidInThePanel) {
    EXPECT_EQ(UnknownEffectNote(19, true, "Effect 19"),
              "This tool cannot set the parameters of Effect 19. The keyboard runs it with the settings it holds.");
    EXPECT_NE(UnknownEffectNote(25, true, "").find("Effect 25"), std::string::npos);
    EXPECT_EQ(UnknownEffectNote(19, false, "Effect 19"), "");
    EXPECT_EQ(UnknownEffectNote(6, true, "Static"), "");
    EXPECT_EQ(UnknownEffectNote(0, true, ""), "") << "no effect list at all is not an effect";
}

TEST(RgbEntry, TargetByEffectAndTool) {
    EXPECT_EQ(RgbTargetFor(6, kEraseTool), RgbTarget::EffectColour);
    EXPECT_EQ(RgbTargetFor(4, kEraseTool), RgbTarget::Nothing);
    EXPECT_EQ(RgbTargetFor(20, kPaintTool), RgbTarget::BaseColour);
    EXPECT_EQ(RgbTargetFor(20, kEraseTool), RgbTarget::EraseColour);
    EXPECT_EQ(RgbTargetFor(20, 7), RgbTarget::Nothing);
}

TEST(LightingRecordDecode, ClampsAndIgnoresAsTheKeyboardMayHoldAnything) {
    device::ProfileSettingsRecord r;
    r.bytes = {20, 3, 1, 255, 0, 10, 20, 30};
    r.bytes[15] = 255;
    r.bytes[17] = 9;
    r.bytes[19] = 1;
    r.bytes[25] = 1;
    r.bytes[26] = 2;
    r.bytes[27] = 3;
    r.bytes[33] = 7;
    LightingPanelState s;
    DecodeLightingRecord(r, s);
    EXPECT_EQ(s.effect, 20);
    EXPECT_EQ(s.brightness, 3);
    EXPECT_EQ(s.SpeedSliderPosition(), 4);
    EXPECT_EQ(s.direction, 255);
    EXPECT_FALSE(s.colourful);
    EXPECT_EQ(s.colour, MakeColour(10, 20, 30));
    EXPECT_EQ(s.reportRate, 3);  // fourth button
    EXPECT_EQ(s.colourChoice, 0);
    EXPECT_TRUE(s.triggerGrid);
    EXPECT_FALSE(s.triggerSingle);
    EXPECT_EQ(s.stoneColour, MakeColour(1, 2, 3));
    EXPECT_TRUE(s.ribbonRandom);

    r.bytes[19] = 5;  // neither style: the flags stay
    DecodeLightingRecord(r, s);
    EXPECT_TRUE(s.triggerGrid);
}

}  // namespace
}  // namespace qv::lighting
