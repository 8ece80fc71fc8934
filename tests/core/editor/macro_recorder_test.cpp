#include "core/editor/macro_recorder.h"

#include "core/app/ini_file.h"
#include "core/editor/composite_ids.h"
#include "editor_fixture.h"

namespace qv::test {
namespace {

constexpr int kSlotB = 0x030;

struct Recorded {
    KeyCode key;
    std::uint16_t direction;
    bool operator==(const Recorded&) const = default;
};

class MacroRecorderTest : public EditorTest {
protected:
    // Opens on the macro page with one new, empty macro and the option as given.
    void OpenWithOption(int option) {
        settings.WriteRecordDelay(option);
        OpenOn(kSlotB);
        editor.PressPageButton(EditorPage::Macro);
        page().AddMacro();
    }
    MacroRecorder& recorder() { return editor.Recorder(); }
    std::vector<Recorded> Actions() const {
        std::vector<Recorded> out;
        for (int i = 0; i < editor.Macros().RowCount(); ++i) {
            out.push_back({editor.Macros().Row(i).key, editor.Macros().Row(i).direction});
        }
        return out;
    }
};

TEST_F(MacroRecorderTest, TappingTwiceKeepsTheMeasuredGapsWithTheOptionOn) {
    OpenWithOption(1);
    EXPECT_TRUE(recorder().RecordDelayChecked());
    recorder().Toggle();
    ASSERT_TRUE(recorder().Recording());
    Tap(kVkA, kScanA, 300, 120);
    Tap(kVkA, kScanA, 200, 90);
    EXPECT_EQ(Actions(), (std::vector<Recorded>{{0x01E, kPress}, {0x01E, kRelease}, {0x01E, kPress},
                                                {0x01E, kRelease}}));
    // The time before the first key is lost; each later gap is the pause after the action before.
    EXPECT_EQ(Pauses(), (std::vector<int>{120, 200, 90, 0}));
    EXPECT_EQ(page().SelectedRow(), 3);
}

TEST_F(MacroRecorderTest, TappingTwiceGivesFiftyMillisecondsWithTheOptionOff) {
    OpenWithOption(0);
    recorder().Toggle();
    Tap(kVkA, kScanA, 300, 120);
    Tap(kVkA, kScanA, 200, 90);
    EXPECT_EQ(Pauses(), (std::vector<int>{50, 50, 50, 0}));
}

TEST_F(MacroRecorderTest, HoldingAKeyRecordsOnePressAndOneRelease) {
    OpenWithOption(1);
    recorder().Toggle();
    now += 10;
    EXPECT_TRUE(Send(Press(kVkA, kScanA)));
    for (int i = 0; i < 5; ++i) {
        now += 33;
        EXPECT_TRUE(Send(Repeat(kVkA, kScanA)));
    }
    now += 40;
    EXPECT_TRUE(Send(Release(kVkA, kScanA)));
    EXPECT_EQ(Actions(), (std::vector<Recorded>{{0x01E, kPress}, {0x01E, kRelease}}));
    EXPECT_EQ(Pauses(), (std::vector<int>{205, 0}));
}

TEST_F(MacroRecorderTest, PrintScreenReleaseGetsASyntheticPressAfterTheSelectedAction) {
    for (int option : {1, 0}) {
        SCOPED_TRACE(option);
        OpenWithOption(option);
        page().AddAction(0, 0x01E, kPress, false);
        page().AddAction(0, 0x01E, kRelease, false);
        page().SelectRow(1);
        recorder().Toggle();
        now += 700;
        EXPECT_TRUE(Send(Release(kVkSnapshot, kScanPrintScreen)));
        EXPECT_EQ(Actions(), (std::vector<Recorded>{{0x01E, kPress}, {0x01E, kRelease}, {0x137, kPress},
                                                    {0x137, kRelease}}));
        EXPECT_EQ(Pauses(), option == 1 ? (std::vector<int>{0, 2, 700, 0}) : (std::vector<int>{0, 50, 50, 0}));
        editor.Cancel();
    }
}

TEST_F(MacroRecorderTest, MediaKeysPassAndWindowsKeysAreRecordedAndSwallowed) {
    OpenWithOption(1);
    recorder().Toggle();
    EXPECT_FALSE(Send(Press(kVkVolumeUp, kScanVolumeUp)));
    EXPECT_FALSE(Send(Release(kVkVolumeUp, kScanVolumeUp)));
    EXPECT_EQ(page().RowCount(), 0);

    now += 10;
    EXPECT_TRUE(Send(Press(kVkLeftWin, kScanLeftWin)));
    now += 30;
    EXPECT_TRUE(Send(Press(kVkLeftWin, kScanLeftWin)));  // held: seen again without the state bit
    now += 30;
    EXPECT_TRUE(Send(Release(kVkLeftWin, kScanLeftWin)));
    EXPECT_EQ(Actions(), (std::vector<Recorded>{{0x15B, kPress}, {0x15B, kRelease}}));
    EXPECT_EQ(Pauses(), (std::vector<int>{60, 0}));
}

TEST_F(MacroRecorderTest, LongPausesAreStoredAsTheLongestTypedPause) {
    OpenWithOption(1);
    recorder().Toggle();
    Tap(kVkA, kScanA, 0, 40950);
    Tap(kVkA, kScanA, 40951, 0);
    EXPECT_EQ(Pauses(), (std::vector<int>{40950, 40000, 0, 0}));
    // The clock wrapping around is one more short gap, not a huge one.
    now = 0xFFFFFFF0u;
    recorder().Toggle();
    recorder().Toggle();
    now += 0x30;
    Send(Press(kVkA, kScanA));
    EXPECT_EQ(page().Row(3).delay, 0x30);
}

TEST_F(MacroRecorderTest, AFullListDropsTheEventButStillSwallowsIt) {
    OpenWithOption(0);
    for (int i = 0; i < kMaxMacroActions; ++i) page().AddAction(0, 0x01E, kPress, false);
    recorder().Toggle();
    EXPECT_TRUE(Send(Press(kVkA, kScanA)));
    EXPECT_EQ(page().RowCount(), kMaxMacroActions);
}

TEST_F(MacroRecorderTest, RecordingStopsOnPageSwitchPauseEditApplyAndClose) {
    OpenWithOption(0);
    EXPECT_EQ(recorder().Caption(), " ");  // the language file has no A_RECORD
    recorder().Toggle();
    EXPECT_EQ(recorder().Caption(), "Stop Record");
    EXPECT_FALSE(page().SelectorEnabled());
    EXPECT_FALSE(editor.HelpAllowed());
    page().AddMacro();  // refused while recording
    EXPECT_EQ(page().MacroCount(), 1);
    editor.PressPageButton(EditorPage::Function);
    EXPECT_FALSE(recorder().Recording());
    EXPECT_EQ(recorder().Caption(), "Record");
    EXPECT_TRUE(page().SelectorEnabled());
    EXPECT_FALSE(Send(Press(kVkA, kScanA)));  // neither recorded nor captured on that page

    editor.PressPageButton(EditorPage::Macro);
    recorder().Toggle();
    Tap(kVkA, kScanA, 5, 5);
    page().BeginCellEdit(0, 2);
    EXPECT_FALSE(recorder().Recording());

    recorder().Toggle();
    editor.Apply();
    EXPECT_FALSE(recorder().Recording());
    EXPECT_EQ(Content().macros.at(0).actionCount, 2);
    recorder().Toggle();
    editor.Cancel();
    EXPECT_FALSE(recorder().Recording());
}

TEST_F(MacroRecorderTest, RecordingNeedsACurrentMacro) {
    OpenOn(kSlotB);
    editor.PressPageButton(EditorPage::Macro);
    recorder().Toggle();
    EXPECT_FALSE(recorder().Recording());
}

TEST_F(MacroRecorderTest, OptionIsStoredBackAsZeroOrOneAndFlippedByEachClick) {
    settings.WriteValue("RecordDelay", "7");
    OpenOn(kSlotB);
    EXPECT_FALSE(recorder().RecordDelayChecked());
    EXPECT_EQ(settings.ReadValue("RecordDelay"), "0");
    recorder().ToggleRecordDelay();
    EXPECT_TRUE(recorder().RecordDelayChecked());
    EXPECT_EQ(settings.ReadValue("RecordDelay"), "1");
    editor.Cancel();
    EXPECT_EQ(recorder().RecordDelay(), 0);  // forgotten on close ...
    OpenOn(kSlotB);
    EXPECT_TRUE(recorder().RecordDelayChecked());  // ... and loaded again on open
}

TEST(MacroKeys, MediaKeysAndSyntheticPressKeys) {
    int media = 0;
    for (int code = 0; code < 0x200; ++code) media += IsMediaKey(static_cast<KeyCode>(code)) ? 1 : 0;
    EXPECT_EQ(media, 18);
    EXPECT_TRUE(IsMediaKey(0x130));
    EXPECT_FALSE(IsMediaKey(0x01E));
    for (KeyCode k : {0x054, 0x071, 0x072, 0x137}) EXPECT_TRUE(GetsSyntheticPress(k));
    EXPECT_FALSE(GetsSyntheticPress(0x01E));
}

}  // namespace
}  // namespace qv::test
