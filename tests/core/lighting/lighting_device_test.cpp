// The lighting write sequences, frame by frame, against the simulated keyboard through the real
// service library.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "core/app/settings.h"
#include "core/lighting/key_colour_table.h"
#include "core/lighting/lighting_panel.h"
#include "core/lighting/lighting_settings.h"
#include "core/lighting/user_modes.h"
#include "protocol/default_settings_block.h"
#include "support/frame_decoder.h"
#include "support/simulated_keyboard.h"
#include "support/temp_dir.h"

namespace qv::lighting {
namespace {

struct Frame {
    int command;
    int length;
    int address;
    std::vector<std::uint8_t> data;  // the written bytes (length of them, at most 56)
};

std::vector<Frame> Decode(const std::vector<std::array<std::uint8_t, 64>>& raw) {
    std::vector<Frame> out;
    for (const auto& f : raw) {
        const test::DecodedFrame d(f);
        out.push_back({d.Command(), d.Length(), d.Address(), d.Payload()});
    }
    return out;
}

std::vector<int> Commands(const std::vector<Frame>& frames) {
    std::vector<int> c;
    for (const auto& f : frames) c.push_back(f.command);
    return c;
}

class LightingOnKeyboard : public ::testing::Test {
protected:
    std::vector<Frame> TakeFrames() {
        auto frames = Decode(kb.Frames());
        kb.Sim().ClearFrameLog();
        return frames;
    }
    std::vector<std::uint8_t> Settings(int address, int length) {
        return kb.Sim().Read(QV_SIM_SETTINGS, static_cast<std::uint32_t>(address), static_cast<std::uint32_t>(length));
    }
    void SetEffects(std::vector<std::uint8_t> codes) {
        codes.resize(32, 0);
        kb.Sim().Write(QV_SIM_GLOBAL, 12, codes);
    }

    test::SimulatedKeyboard kb;
    test::TempDir dir;
};

TEST_F(LightingOnKeyboard, LoadReadsTheGlobalBlockThenThreeRecordsInOneGroup) {
    kb.Sim().Write(QV_SIM_SETTINGS, 42, {6, 2, 3, 255, 1, 10, 20, 30});
    LightingSettings s(kb.Commands());
    s.SetShownProfile(1);
    kb.Sim().ClearFrameLog();
    ASSERT_EQ(s.Load(nullptr), 0);
    const auto frames = TakeFrames();
    ASSERT_EQ(Commands(frames), (std::vector<int>{0x03, 0x01, 0x05, 0x05, 0x05, 0x02}));
    EXPECT_EQ(frames[2].address, 0);
    EXPECT_EQ(frames[3].address, 42);
    EXPECT_EQ(frames[4].address, 84);
    EXPECT_EQ(frames[3].length, 56);
    EXPECT_EQ(s.State().effect, 6);
    EXPECT_EQ(s.State().SpeedSliderPosition(), 2);
    EXPECT_EQ(s.State().colour, MakeColour(10, 20, 30));
    EXPECT_EQ(s.Mirror()[0].bytes[1], kDefaultSettingsBlock[1]);
    EXPECT_TRUE(s.Effects().Supports(20));
}

TEST_F(LightingOnKeyboard, UnreadableGlobalBlockLeavesNoEffects) {
    LightingSettings s(kb.Commands());
    ASSERT_EQ(s.Load(nullptr), 0);
    ASSERT_FALSE(s.Effects().Empty());
    kb.Sim().Attach(false);
    EXPECT_EQ(s.Load(nullptr), -1);
    EXPECT_TRUE(s.Effects().Empty());
    EXPECT_EQ(s.Mirror()[0].bytes[0], kDefaultSettingsBlock[0]);  // the mirror keeps its content
    EXPECT_EQ(VisibleGroups(s.State().effect, true, !s.Effects().Empty()), 0u);  // and the panel shows nothing
}

TEST_F(LightingOnKeyboard, EffectSelectionWritesByCodeGroup) {
    LightingSettings s(kb.Commands());
    s.SetShownProfile(1);
    ASSERT_EQ(s.Load(nullptr), 0);
    s.State().colourful = true;
    kb.Sim().ClearFrameLog();

    s.SelectEffectAt(s.Effects().PositionOf(4));
    auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x02}));
    EXPECT_EQ(f[1].address, 42);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{4}));

    s.SelectEffectAt(s.Effects().PositionOf(5));
    f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x06, 0x02}));
    EXPECT_EQ(f[1].address, 42);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{5}));
    EXPECT_EQ(f[2].address, 46);
    EXPECT_EQ(f[2].data, (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(Settings(42, 5), (std::vector<std::uint8_t>{5, 4, 1, 0, 1}));
}

TEST_F(LightingOnKeyboard, ListedEffectWithoutParametersIsWrittenAlone) {
    SetEffects({1, 19, 25});
    LightingSettings s(kb.Commands());
    s.SetShownProfile(2);
    ASSERT_EQ(s.Load(nullptr), 0);
    s.State().colourful = true;
    kb.Sim().ClearFrameLog();
    EXPECT_EQ(s.SelectEffectAt(1), 19);
    const auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x02})) << "the code only, no colourful flag";
    EXPECT_EQ(f[1].address, 84);
    EXPECT_EQ(Settings(84, 1), (std::vector<std::uint8_t>{19}));
    EXPECT_EQ(s.State().effect, 19);

    // Outside the list there is no code to write.
    EXPECT_EQ(s.SelectEffectAt(3), 0);
    EXPECT_TRUE(TakeFrames().empty());
    // A code the keyboard does not list is never sent.
    s.SelectEffect(30);
    EXPECT_TRUE(TakeFrames().empty());
}

TEST_F(LightingOnKeyboard, SlidersWriteLevelsOnlyWhenTheyChange) {
    LightingSettings s(kb.Commands());
    ASSERT_EQ(s.Load(nullptr), 0);  // default speed 1 = slider 4
    kb.Sim().ClearFrameLog();
    EXPECT_FALSE(s.MoveSpeedSlider(4));
    EXPECT_TRUE(TakeFrames().empty());
    EXPECT_TRUE(s.MoveSpeedSlider(5));
    auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x02}));
    EXPECT_EQ(f[1].address, 2);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{0}));
    s.MoveSpeedSlider(0);
    EXPECT_EQ(TakeFrames()[1].data, (std::vector<std::uint8_t>{5}));
    s.MoveBrightnessSlider(9);  // clamped to the slider's end
    f = TakeFrames();
    EXPECT_EQ(f[1].address, 1);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{5}));
}

TEST_F(LightingOnKeyboard, ColourPickWritesTheFlagBeforeTheColour) {
    LightingSettings s(kb.Commands());
    s.SetShownProfile(2);
    ASSERT_EQ(s.Load(nullptr), 0);
    ASSERT_TRUE(s.State().colourful);
    kb.Sim().ClearFrameLog();
    s.PickColour(MakeColour(1, 2, 3));
    const auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x06, 0x02}));
    EXPECT_EQ(f[1].address, 84 + 4);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{0}));
    EXPECT_EQ(f[2].address, 84 + 5);
    EXPECT_EQ(f[2].length, 3);
    EXPECT_EQ(f[2].data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_FALSE(s.State().colourful);

    s.SetDirection(true);
    s.ToggleColourful();
    s.ChooseColour(2);
    s.ChooseColour(7);  // ignored
    s.SetReportRate(1);
    EXPECT_EQ(Settings(84, 18), (std::vector<std::uint8_t>{1, 4, 1, 255, 1, 1, 2, 3, 8, 255, 255, 255, 255, 0, 0, 1, 255, 2}));
    EXPECT_EQ(Commands(TakeFrames()).size(), 12u);  // four groups of three
}

TEST_F(LightingOnKeyboard, DefaultsOnProfile2LeaveTheRecordTailAlone) {
    std::vector<std::uint8_t> junk(126, 0x5A);
    kb.Sim().Write(QV_SIM_SETTINGS, 0, junk);
    LightingSettings s(kb.Commands());
    s.SetShownProfile(2);
    ASSERT_EQ(s.Load(nullptr), 0);
    kb.Sim().ClearFrameLog();
    s.WriteDefaultBlock();
    const auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x02}));
    EXPECT_EQ(f[1].address, 84);
    EXPECT_EQ(f[1].length, 35);
    const auto mem = Settings(0, 126);
    EXPECT_TRUE(std::equal(kDefaultSettingsBlock.begin(), kDefaultSettingsBlock.end(), mem.begin() + 84));
    for (int i = 119; i < 126; ++i) EXPECT_EQ(mem[static_cast<std::size_t>(i)], 0x5A) << i;
    for (int i = 0; i < 84; ++i) ASSERT_EQ(mem[static_cast<std::size_t>(i)], 0x5A) << i;
    EXPECT_EQ(s.State().effect, 1);
    EXPECT_EQ(s.State().SpeedSliderPosition(), 4);
    EXPECT_TRUE(s.State().colourful);
    EXPECT_EQ(s.State().colour, kRed);
}

TEST_F(LightingOnKeyboard, WholeProfileColoursGoAsEightPiecesWithAZeroTail) {
    KeyColourTable t;
    for (int slot = 0; slot < kColourSlots; ++slot) t.SetColour(1, slot, MakeColour(static_cast<std::uint8_t>(slot), 7, 9));
    kb.Sim().ClearFrameLog();
    EXPECT_EQ(SendProfileColours(kb.Commands(), t, 1), 1);
    const auto f = TakeFrames();
    ASSERT_EQ(f.size(), 10u);
    EXPECT_EQ(f.front().command, 0x01);
    EXPECT_EQ(f.back().command, 0x02);
    for (int w = 0; w < 8; ++w) {
        const Frame& p = f[static_cast<std::size_t>(w + 1)];
        EXPECT_EQ(p.command, 0x11);
        EXPECT_EQ(p.length, 54);
        EXPECT_EQ(p.address, 512 + 54 * w);
    }
    // Slots 126..143 of the last piece carry no key.
    const Frame& last = f[8];
    for (std::size_t i = 0; i < 54; ++i) {
        const int slot = 126 + static_cast<int>(i / 3);
        if (slot < 126) continue;
        EXPECT_EQ(last.data[i], 0) << i;
    }
    const auto mem = kb.Sim().Read(QV_SIM_KEY_COLOURS, 512, 378);
    EXPECT_EQ(mem[3 * 64], 64);
    EXPECT_EQ(mem[3 * 125 + 2], 9);
}

class UserModesOnKeyboard : public LightingOnKeyboard {
protected:
    UserModesOnKeyboard() {
        paths.userPrefix = dir.path() / "UserDengColor_";
        paths.templatePrefix = dir.path() / "Skins" / "UserDengColor_";
        paths.settingsFile = dir.path() / "wskb.ini";
    }
    UserLightingPaths paths;
};

TEST_F(UserModesOnKeyboard, PaintClickWritesOneKeyAndItsEntry) {
    UserModeEditor u(kb.Commands(), paths);
    u.SetShownProfile(1);
    u.LoadUserModes();
    u.ChooseTool(kPaintTool);
    u.SetBaseColour(MakeColour(0, 255, 0));
    kb.Sim().ClearFrameLog();
    ASSERT_TRUE(u.ClickKey(1058, 20));  // A, matrix index 64
    const auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x11, 0x02}));
    EXPECT_EQ(f[1].address, 512 + 3 * 64);
    EXPECT_EQ(f[1].length, 3);
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{0, 255, 0}));
    const auto file = UserLightingFile::Load(UserLightingFilePath(paths.userPrefix, 1));
    EXPECT_EQ(file.Document().Get("Mode0", "64", ""), "0,255,0,1");

    EXPECT_FALSE(u.ClickKey(1058, 6));  // only effect 20 paints
    EXPECT_FALSE(u.ClickKey(1138, 20));  // no colour slot of its own
    EXPECT_TRUE(TakeFrames().empty());
}

TEST_F(UserModesOnKeyboard, ErasingOneGKeyErasesTheSharedSlotForGood) {
    UserModeEditor u(kb.Commands(), paths);
    u.LoadUserModes();  // no file: everything painted
    u.ChooseTool(kEraseTool);
    u.SetEraseColour(MakeColour(1, 2, 3));
    ASSERT_TRUE(u.ClickKey(1141, 20));
    for (int g : GKeyButtonIds()) {
        EXPECT_EQ(u.ButtonColour(g), MakeColour(1, 2, 3)) << g;
        EXPECT_FALSE(u.Table().SetFlag(0, g)) << g;
    }

    // The next base colour recolours the painted keys but not the G keys.
    ASSERT_TRUE(u.SetBaseColour(MakeColour(0, 200, 0)));
    EXPECT_EQ(u.ButtonColour(1058), MakeColour(0, 200, 0));
    EXPECT_EQ(u.ButtonColour(1000), MakeColour(1, 2, 3));
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_COLOURS, 3 * kGKeySlot, 3), (std::vector<std::uint8_t>{1, 2, 3}));
    const auto path = UserLightingFilePath(paths.userPrefix, 0);
    EXPECT_EQ(UserLightingFile::Load(path).Key(0, kGKeySlot), (UserKeyEntry{MakeColour(1, 2, 3), false}));

    // Painting any G key hands the slot back to the base colour, for all nine.
    u.ChooseTool(kPaintTool);
    ASSERT_TRUE(u.ClickKey(1002, 20));
    ASSERT_TRUE(u.SetBaseColour(MakeColour(9, 9, 9)));
    for (int g : GKeyButtonIds()) EXPECT_EQ(u.ButtonColour(g), MakeColour(9, 9, 9)) << g;

    // The same holds after the mode is read back from the file.
    u.ChooseTool(kEraseTool);
    ASSERT_TRUE(u.ClickKey(1143, 20));
    u.LoadUserMode();
    ASSERT_TRUE(u.SetBaseColour(MakeColour(7, 0, 0)));
    EXPECT_EQ(u.ButtonColour(1000), MakeColour(1, 2, 3));
}

TEST_F(UserModesOnKeyboard, BaseColourRecoloursOnlyPaintedKeys) {
    UserModeEditor u(kb.Commands(), paths);
    u.LoadUserModes();  // no file: every key red and painted
    u.ChooseTool(kEraseTool);
    u.SetEraseColour(MakeColour(0, 0, 9));
    ASSERT_TRUE(u.ClickKey(1022, 20));  // Esc erased
    kb.Sim().ClearFrameLog();
    ASSERT_TRUE(u.SetBaseColour(MakeColour(0, 99, 0)));
    EXPECT_EQ(u.ButtonColour(1022), MakeColour(0, 0, 9));
    EXPECT_EQ(u.ButtonColour(1058), MakeColour(0, 99, 0));
    EXPECT_EQ(u.ButtonColour(1174), MakeColour(0, 99, 0));
    EXPECT_EQ(u.ButtonColour(1000), MakeColour(0, 99, 0));
    EXPECT_EQ(Commands(TakeFrames()).size(), 10u);  // one whole-profile send
    const auto file = UserLightingFile::Load(UserLightingFilePath(paths.userPrefix, 0));
    EXPECT_EQ(file.Key(0, 0), (UserKeyEntry{MakeColour(0, 0, 9), false}));
    EXPECT_EQ(file.Key(0, 64), (UserKeyEntry{MakeColour(0, 99, 0), true}));
    EXPECT_EQ(file.Settings(0).base, MakeColour(0, 99, 0));
    EXPECT_FALSE(u.SetBaseColour(MakeColour(0, 99, 0)));  // same colour: nothing
}

TEST_F(UserModesOnKeyboard, SelectRenameAndRestore) {
    std::filesystem::create_directories(dir.path() / "Skins");
    std::ofstream(UserLightingFilePath(paths.templatePrefix, 3))
        << "[MODENAME]\n0=One\n2=Three\n[Mode2]\ntool=1\njcolor=5,5,5\n64=7,7,7,1\n";
    ASSERT_TRUE(SeedUserLightingFiles(paths));
    UserModeEditor u(kb.Commands(), paths);
    u.LoadUserModes();
    EXPECT_EQ(u.State().names[2], "Three");
    u.SelectUserMode(2);
    EXPECT_EQ(u.State().mode, 2);
    EXPECT_EQ(u.State().tool, kPaintTool);
    EXPECT_EQ(u.ButtonColour(1058), MakeColour(7, 7, 7));
    EXPECT_EQ(UserLightingFile::Load(u.ShownProfileFile()).PresentMode(), 2);
    u.RenameUserMode("Night\nmode=9");
    EXPECT_EQ(UserLightingFile::Load(u.ShownProfileFile()).ModeName(2), "Night mode=9");
    EXPECT_EQ(UserLightingFile::Load(u.ShownProfileFile()).PresentMode(), 2);
    u.RestoreFromPristine();
    EXPECT_EQ(u.State().mode, 0);
    EXPECT_EQ(u.State().names[2], "Three");
}

// Key buttons as the main window would show them.
struct KeyLooks : PreviewSink {
    std::map<int, std::optional<ColourRef>> shown;
    void ShowColour(int id, ColourRef c) override { shown[id] = c; }
    void ShowPlain(int id) override { shown[id] = std::nullopt; }
};

class PanelOnKeyboard : public UserModesOnKeyboard {
protected:
    PanelOnKeyboard() {
        config.mainSkin = dir.path() / "Main.ini";
        config.languageFile = dir.path() / "language.ini";
        config.settingsFile = paths.settingsFile;
        config.userPaths = paths;
    }
    LightingPanelConfig config;
};

TEST_F(PanelOnKeyboard, ArrivalSendsKeyColoursInsideTheReadingGroup) {
    LightingPanel panel(kb.Commands(), config);
    kb.Sim().ClearFrameLog();
    ASSERT_EQ(panel.Load(LoadReason::Arrival), 0);
    const auto c = Commands(TakeFrames());
    const std::vector<int> expected{0x03, 0x01, 0x01, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                    0x02, 0x05, 0x05, 0x05, 0x02};
    EXPECT_EQ(c, expected);
    ASSERT_EQ(panel.Load(LoadReason::Reload), 0);
    EXPECT_EQ(Commands(TakeFrames()), (std::vector<int>{0x03, 0x01, 0x05, 0x05, 0x05, 0x02}));
}

TEST_F(PanelOnKeyboard, RestoreDefaultsNeedsTheLightingView) {
    LightingPanel panel(kb.Commands(), config);
    ASSERT_EQ(panel.Load(LoadReason::Reload), 0);
    kb.Sim().ClearFrameLog();
    panel.OnRestoreDefaults();
    EXPECT_TRUE(TakeFrames().empty());

    KeyLooks keys;
    panel.SetKeySink(&keys);
    ASSERT_TRUE(panel.OnLightingViewClicked([] { return true; }));
    EXPECT_TRUE(SettingsFile(paths.settingsFile).LightingViewOn());
    EXPECT_TRUE(keys.shown.count(1000)) << "G keys show their per-key colour";
    kb.Sim().ClearFrameLog();
    panel.OnRestoreDefaults();
    const auto f = TakeFrames();
    ASSERT_GE(f.size(), 7u);
    // Effect 1 with the colourful flag first, the user lighting reset, the default block last.
    EXPECT_EQ(f[1].data, (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(f[f.size() - 2].length, 35);
    EXPECT_EQ(panel.View().speedPicture, "10.bmp");
}

TEST_F(PanelOnKeyboard, RefusedSwitchKeepsTheViewOff) {
    LightingPanel panel(kb.Commands(), config);
    ASSERT_EQ(panel.Load(LoadReason::Reload), 0);
    EXPECT_FALSE(panel.OnLightingViewClicked([] { return false; }));
    EXPECT_EQ(panel.View().lightingViewPicture, "dengup.bmp");
    EXPECT_FALSE(std::filesystem::exists(paths.settingsFile));
}

TEST_F(PanelOnKeyboard, RgbEditsShowAndSetTheColourOfTheButtonTheyActOn) {
    LightingPanel panel(kb.Commands(), config);
    ASSERT_EQ(panel.Load(LoadReason::Reload), 0);
    EXPECT_FALSE(panel.View().rgbEditable) << "the view is off: typing would set nothing";
    panel.OnLightingViewClicked({});
    panel.OnEffectSelected(panel.Settings().Effects().PositionOf(6));
    panel.OnColourPicked(1152, MakeColour(10, 20, 30));
    EXPECT_EQ(panel.View().rgbNumbers, (std::array<int, 3>{10, 20, 30})) << "the effect colour";
    EXPECT_TRUE(panel.View().rgbEditable);

    kb.Sim().ClearFrameLog();
    RgbEntry e = panel.OnRgbEntered({"300", "20", "30"});
    EXPECT_EQ(e.numbers, (std::array<int, 3>{255, 20, 30}));
    auto f = TakeFrames();
    ASSERT_EQ(Commands(f), (std::vector<int>{0x01, 0x06, 0x06, 0x02}));
    EXPECT_EQ(f[2].data, (std::vector<std::uint8_t>{255, 20, 30}));
    EXPECT_EQ(panel.View().effectColour, MakeColour(255, 20, 30));
    EXPECT_EQ(panel.View().colourfulPicture, "sjsup.bmp");

    // Leaving the edits as they are writes nothing and keeps the colourful flag on.
    panel.OnColourfulClicked();
    kb.Sim().ClearFrameLog();
    e = panel.OnRgbEntered({"255", "20", "30"});
    EXPECT_TRUE(TakeFrames().empty());
    EXPECT_EQ(panel.View().colourfulPicture, "sjsdown.bmp");

    // Effect 20: the base colour while painting, the erase colour while erasing.
    panel.OnEffectSelected(panel.Settings().Effects().PositionOf(20));
    panel.OnToolClicked(1165);
    panel.OnColourPicked(1162, MakeColour(0, 255, 0));
    panel.OnColourPicked(1160, MakeColour(5, 6, 7));
    EXPECT_EQ(panel.View().rgbNumbers, (std::array<int, 3>{0, 255, 0}));
    panel.OnToolClicked(1164);
    EXPECT_EQ(panel.View().rgbNumbers, (std::array<int, 3>{5, 6, 7}));
    e = panel.OnRgbEntered({"8", "6", "7"});
    EXPECT_EQ(panel.UserModes().State().erase, MakeColour(8, 6, 7));
    EXPECT_EQ(panel.UserModes().State().base, MakeColour(0, 255, 0));

    // An effect without a colour takes nothing from the edits.
    panel.OnEffectSelected(panel.Settings().Effects().PositionOf(4));
    EXPECT_FALSE(panel.View().rgbEditable);
    kb.Sim().ClearFrameLog();
    panel.OnRgbEntered({"1", "2", "3"});
    EXPECT_TRUE(TakeFrames().empty());
}

TEST_F(PanelOnKeyboard, ViewShowsTheDecisionsForTheCurrentEffect) {
    std::ofstream(config.mainSkin) << "[Mode]\n12=Rows\n";
    LightingPanel panel(kb.Commands(), config);
    ASSERT_EQ(panel.Load(LoadReason::Reload), 0);
    panel.OnLightingViewClicked({});
    panel.OnEffectSelected(panel.Settings().Effects().PositionOf(12));
    panel.OnDirectionClicked(1149);
    const PanelView v = panel.View();
    EXPECT_EQ(v.effectNames[static_cast<std::size_t>(v.selectedPosition)], "Rows");
    EXPECT_EQ(v.directionPictures.first, "updown.bmp");
    EXPECT_EQ(v.directionPictures.second, "downup.bmp");
    EXPECT_EQ(v.directionLayout.firstKey, "CONTROL_BLFXLStaPic3");
    EXPECT_TRUE(v.visibleGroups & kGroupDirection);
    EXPECT_EQ(Settings(3, 1), (std::vector<std::uint8_t>{255}));
}

}  // namespace
}  // namespace qv::lighting
