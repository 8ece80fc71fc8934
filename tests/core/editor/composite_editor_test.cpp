#include "core/editor/composite_editor.h"

#include <fstream>

#include "core/keyboard/key_record.h"
#include "core/editor/composite_ids.h"
#include "core/editor/editor_placement.h"
#include "core/editor/key_choices.h"
#include "core/keyboard/media_function_tables.h"
#include "editor_fixture.h"

namespace qv::test {
namespace {

namespace id = composite_id;

constexpr int kSlotA = 0x01E;
constexpr int kRecordG1 = kGKeyRecordFirst;
constexpr int kRecordG9 = kGKeyRecordFirst + 8;

using CompositeEditorTest = EditorTest;

TEST_F(CompositeEditorTest, CapturingTheKeyItselfGivesTheKeyBackItsFactoryFunction) {
    Change([](ProfileContent& c) { c.Assign(0, kSlotA, Assigned(AssignSingleKey, 0x030)); });
    OpenOn(kSlotA);
    EXPECT_EQ(editor.PageShown(), EditorPage::SingleKey);
    EXPECT_EQ(editor.KeyText(), "B");
    EXPECT_FALSE(editor.ApplyEnabled());

    EXPECT_TRUE(Send(Press(kVkA, kScanA)));
    EXPECT_EQ(editor.KeyText(), "A");
    EXPECT_TRUE(editor.ApplyEnabled());
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA).type, AssignDefault);
    EXPECT_FALSE(editor.ApplyEnabled());
    EXPECT_EQ(host.editingCalls, std::vector<bool>{true});
    EXPECT_EQ(host.refreshedButtons, std::vector<int>{kSlotA});
    EXPECT_EQ(host.fullRefreshes, 1);
}

TEST_F(CompositeEditorTest, CapturesOneKeyPerPressAndSwallowsRepeatsAndReleases) {
    OpenOn(kSlotA);
    EXPECT_TRUE(Send(Press(kVkControl, kScanLeftCtrl)));
    EXPECT_EQ(editor.CapturedKey(), 0x01D);
    EXPECT_EQ(editor.PageType(), AssignSingleKey);

    // Clear, then the key is still held: its repeats and its release are swallowed and capture
    // nothing, so the cleared state stays.
    editor.Clear();
    EXPECT_EQ(editor.PageType(), AssignDefault);
    EXPECT_TRUE(Send(Repeat(kVkControl, kScanLeftCtrl)));
    EXPECT_TRUE(Send(Repeat(kVkControl, kScanLeftCtrl)));
    EXPECT_TRUE(Send(Release(kVkControl, kScanLeftCtrl)));
    EXPECT_EQ(editor.PageType(), AssignDefault);
    EXPECT_EQ(editor.KeyText(), "");

    EXPECT_TRUE(Send(Press(kVkControl, kScanLeftCtrl)));
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA), Assigned(AssignSingleKey, 0x01D));
}

TEST_F(CompositeEditorTest, CaptureLetsMediaKeysPassAndTakesPrintScreenAndWindowsKeys) {
    OpenOn(kSlotA);
    EXPECT_FALSE(Send(Press(kVkVolumeUp, kScanVolumeUp)));
    EXPECT_EQ(editor.CapturedKey(), kNoKey);
    EXPECT_FALSE(editor.ApplyEnabled());

    // Print Screen arrives as a release only.
    EXPECT_TRUE(Send(Release(kVkSnapshot, kScanPrintScreen)));
    EXPECT_EQ(editor.CapturedKey(), 0x137);
    EXPECT_TRUE(Send(Release(kVkLeftWin, kScanLeftWin)));
    EXPECT_EQ(editor.CapturedKey(), 0x15B);
    EXPECT_TRUE(Send(Press(0x5D, 0x15D)));
    EXPECT_EQ(editor.CapturedKey(), 0x15D);
}

TEST_F(CompositeEditorTest, MacroOnlyOpensOnTheMacroPageWithTheOtherPagesUnavailable) {
    Change([](ProfileContent& c) { c.macros = {NamedMacro(1, "one"), NamedMacro(2, "two")}; });
    OpenOn(kRecordG9, /*macroOnly=*/true);
    EXPECT_EQ(editor.PageShown(), EditorPage::Macro);
    EXPECT_EQ(editor.PageType(), AssignMacro);
    EXPECT_EQ(page().CurrentMacro(), 0);
    for (EditorPage p : {EditorPage::SingleKey, EditorPage::Media, EditorPage::Function}) {
        EXPECT_FALSE(editor.PageButtonEnabled(p));
        editor.PressPageButton(p);
        EXPECT_EQ(editor.PageShown(), EditorPage::Macro);
    }
    EXPECT_FALSE(editor.ClearEnabled());
    editor.Clear();
    EXPECT_EQ(editor.PageType(), AssignMacro);
    EXPECT_FALSE(editor.ControlShown(id::kSingleKeyLabel));
    EXPECT_TRUE(editor.ControlShown(id::kMacroSelector));
    EXPECT_EQ(editor.ButtonPictures(id::kPageMedia), PictureSet::MacroOnly);
    EXPECT_EQ(editor.ButtonPictures(id::kPageMacro), PictureSet::Key);
    EXPECT_EQ(editor.Texts().Caption(id::kPageSingleKey), "");
    // No key is captured on the macro page.
    EXPECT_FALSE(Send(Press(kVkA, kScanA)));

    page().SelectMacro(1);
    editor.Apply();
    // The G key's record plays the macro; its aux carries the repeat count.
    EXPECT_EQ(Content().Record(0, kRecordG9), Assigned(AssignMacro, 2, 1));
}

TEST_F(CompositeEditorTest, ClearEmptiesTheKeyAndKeepsApplyAsItWas) {
    Change([](ProfileContent& c) { c.Assign(0, kSlotA, Assigned(AssignSingleKey, 0x030)); });
    OpenOn(kSlotA);
    editor.Clear();
    EXPECT_EQ(editor.KeyText(), "");
    EXPECT_EQ(editor.PageType(), AssignDefault);
    EXPECT_FALSE(editor.ApplyEnabled());

    Send(Press(kVkControl, kScanLeftCtrl));
    editor.Clear();
    EXPECT_TRUE(editor.ApplyEnabled());
    editor.Clear();  // already 0: nothing
    EXPECT_EQ(editor.PageType(), AssignDefault);
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA).type, AssignDefault);

    // From another page Clear first goes back to the single-key page.
    editor.PressPageButton(EditorPage::Media);
    editor.Clear();
    EXPECT_EQ(editor.PageShown(), EditorPage::SingleKey);
    EXPECT_EQ(editor.PageType(), AssignDefault);
}

TEST_F(CompositeEditorTest, ProgramKeyKeepsItsTypeAndLosesItsText) {
    Change([](ProfileContent& c) {
        c.Record(0, kSlotA) = Assigned(AssignLaunchProgram, 40);
        c.texts.Set(TextSlotOf(0, kSlotA), u"C:\\tool.exe");
    });
    OpenOn(kSlotA);
    EXPECT_EQ(editor.PageShown(), EditorPage::SingleKey);
    EXPECT_EQ(editor.PageType(), AssignLaunchProgram);
    EXPECT_EQ(editor.KeyText(), "");
    editor.Apply();
    const ProfileContent c = Content();
    EXPECT_EQ(c.Record(0, kSlotA), Assigned(AssignLaunchProgram, 0));
    EXPECT_FALSE(c.texts.At(TextSlotOf(0, kSlotA)).has_value());
    EXPECT_EQ(c.texts.Total(), 0u);
}

TEST_F(CompositeEditorTest, SingleKeyPageOfAProgramKeyDoesNotTakeTheTextOffsetForAKey) {
    Change([](ProfileContent& c) { c.Record(0, kSlotA) = Assigned(AssignLaunchProgram, 0x30); });
    OpenOn(kSlotA);
    editor.PressPageButton(EditorPage::SingleKey);
    EXPECT_EQ(editor.PageType(), AssignSingleKey);
    EXPECT_EQ(editor.KeyText(), "");
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA).type, AssignDefault);
}

TEST_F(CompositeEditorTest, MediaAndFunctionPagesWriteTheChosenItem) {
    Change([](ProfileContent& c) { c.Record(1, kRecordG1) = Assigned(AssignMedia, 6, GKeyId(0)); });
    OpenOn(kRecordG1, false, /*activeProfile=*/1);
    EXPECT_EQ(editor.PageShown(), EditorPage::Media);
    EXPECT_EQ(editor.MediaSelection(), 6);
    EXPECT_EQ(editor.MediaItems().size(), 18u);
    editor.SelectMedia(8);
    EXPECT_TRUE(editor.ApplyEnabled());
    editor.Apply();
    EXPECT_EQ(Content().Record(1, kRecordG1), Assigned(AssignMedia, 8, GKeyId(0)));
    EXPECT_EQ(Content().Record(0, kRecordG1), Assigned(AssignDefault, 0, GKeyId(0)));

    editor.PressPageButton(EditorPage::Function);
    editor.SelectFunction(10);
    editor.SelectFunction(kFunctionChoiceCount);  // outside the list
    editor.Ok();
    EXPECT_FALSE(editor.IsOpen());
    EXPECT_EQ(Content().Record(1, kRecordG1), Assigned(AssignFunctionKey, 10, GKeyId(0)));
}

TEST_F(CompositeEditorTest, DisabledAndStopMacroKeysOpenOnTheirChoiceAndKeepTheirType) {
    const auto items = CompositeEditor::FunctionItems();
    ASSERT_EQ(items.size(), 13u);
    EXPECT_EQ(items[10], FunctionName(10)) << "the application functions keep their places";
    EXPECT_EQ(items[kDisabledChoice], "Disabled");
    EXPECT_EQ(items[kStopMacroChoice], "Stop macro");

    constexpr int kSlotF3 = 0x03D;
    Change([](ProfileContent& c) {
        c.Assign(0, kSlotA, Assigned(AssignDisabled, 0));
        c.Assign(0, kSlotF3, Assigned(AssignStopMacro, 0));
    });
    OpenOn(kSlotA);
    EXPECT_EQ(editor.PageShown(), EditorPage::Function);
    EXPECT_EQ(editor.FunctionSelection(), kDisabledChoice);
    EXPECT_FALSE(editor.ApplyEnabled());
    EXPECT_FALSE(editor.CaptureActive()) << "no key is taken while the list is shown";
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA), Assigned(AssignDisabled, 0));

    OpenOn(kSlotF3);
    EXPECT_EQ(editor.FunctionSelection(), kStopMacroChoice);
    editor.SelectFunction(3);
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotF3), Assigned(AssignFunctionKey, 3));

    // And they can be chosen for any key.
    constexpr int kSlotB = 0x030;
    OpenOn(kSlotB);
    editor.PressPageButton(EditorPage::Function);
    editor.SelectFunction(kStopMacroChoice);
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotB), Assigned(AssignStopMacro, 0));
    editor.SelectFunction(kDisabledChoice);
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotB), Assigned(AssignDisabled, 0));

    // G9's macro-only editor stays on the macro page whatever the record holds.
    Change([](ProfileContent& c) { c.Record(0, kRecordG9) = Assigned(AssignDisabled, 0, GKeyId(8)); });
    OpenOn(kRecordG9, /*macroOnly=*/true);
    EXPECT_EQ(editor.PageShown(), EditorPage::Macro);
}

TEST_F(CompositeEditorTest, KeysTheKeyboardCannotSendAreRefusedWithAMessage) {
    Change([](ProfileContent& c) { c.Assign(0, kSlotA, Assigned(AssignSingleKey, 0x030)); });
    OpenOn(kSlotA);
    constexpr std::uint8_t kVkF13 = 0x7C;
    constexpr std::uint16_t kScanF13 = 0x064;
    EXPECT_TRUE(Send(Press(kVkF13, kScanF13))) << "swallowed, not passed to the window";
    EXPECT_EQ(editor.CapturedKey(), 0x030u) << "the key held before stays";
    EXPECT_EQ(editor.KeyText(), "B");
    EXPECT_FALSE(editor.ApplyEnabled());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_NE(prompt.messages[0].find("F13"), std::string::npos);
    // One message per press, not per repeat or release.
    Send(Repeat(kVkF13, kScanF13));
    Send(Release(kVkF13, kScanF13));
    EXPECT_EQ(prompt.messages.size(), 1u);

    // Keys the keyboard sends are still taken, modifiers and the Windows keys included.
    EXPECT_TRUE(Send(Press(kVkControl, kScanLeftCtrl)));
    EXPECT_EQ(editor.CapturedKey(), 0x01Du);
    EXPECT_TRUE(Send(Release(kVkSnapshot, kScanPrintScreen)));
    EXPECT_EQ(editor.CapturedKey(), 0x137u);
    EXPECT_EQ(prompt.messages.size(), 1u);
}

// A prompt that, while it shows, sees the key the user presses to close it go to the editor.
struct PromptClosedByEnter : RecordingPrompt {
    CompositeEditor* editor = nullptr;
    std::vector<bool> takenWhileShown;
    void ShowWarning(std::string_view text) override {
        RecordingPrompt::ShowWarning(text);
        const KeyEvent enter = Press(0x0D, 0x01C);
        takenWhileShown.push_back(editor->OnKeyEvent(enter.vk, enter.lParam));
    }
};

TEST(CompositeEditorPrompt, KeysPressedOnTheMessageAreLeftToTheMessage) {
    ResetTextTable();
    TempDir dir;
    ProfileStore store;
    RecordingHost host;
    PromptClosedByEnter prompt;
    CompositeEditor editor(store, host, prompt, SettingsStore(dir.path() / "settings.ini"), dir.path() / "language.ini");
    prompt.editor = &editor;
    EditorRequest r;
    r.recordIndex = kSlotA;
    editor.Open(r);
    EXPECT_TRUE(editor.OnKeyEvent(0x7C, Press(0x7C, 0x064).lParam));  // F13
    EXPECT_EQ(prompt.takenWhileShown, std::vector<bool>{false});
    EXPECT_EQ(editor.CapturedKey(), kNoKey) << "Enter closed the message, it was not taken";
    EXPECT_TRUE(editor.OnKeyEvent(0x0D, Press(0x0D, 0x01C).lParam)) << "capture goes on afterwards";
    EXPECT_EQ(editor.CapturedKey(), 0x01Cu);
}

TEST(KeyChoices, EveryKeyOfTheKeyListButF13CanBeSent) {
    for (int p = 0; p < kKeyListSize; ++p) {
        const KeyCode k = KeyCodeAtListPosition(p);
        if (k == kNoKey) continue;
        EXPECT_TRUE(KeyboardCanSend(k)) << KeyName(k);
    }
    EXPECT_FALSE(KeyboardCanSend(0x064)) << "F13 has no usage the keyboard knows";
    EXPECT_FALSE(KeyboardCanSend(0x15E)) << "Power is no keyboard-page key";
    EXPECT_FALSE(KeyboardCanSend(kNoKey));
    EXPECT_TRUE(KeyboardCanSend(0x15C)) << "Right Win is a modifier";
}

TEST_F(CompositeEditorTest, CancelLeavesTheWorkingStoreAsItWas) {
    Change([](ProfileContent& c) {
        c.macros = {NamedMacro(1, "one", {{10, 0x01E, kPress}})};
        c.Assign(0, kSlotA, Assigned(AssignMacro, 1));
    });
    const ProfileContent before = Content();
    OpenOn(kSlotA);
    EXPECT_EQ(editor.OpenCount(), 1);
    page().AddMacro();
    page().TypeName("renamed");
    page().SelectMacro(0);
    page().SelectRow(0);
    page().DeleteRow();
    editor.PressPageButton(EditorPage::SingleKey);
    Send(Press(kVkControl, kScanLeftCtrl));
    editor.Cancel();
    EXPECT_EQ(Content(), before);
    EXPECT_EQ(editor.OpenCount(), 0);
    EXPECT_TRUE(host.editingCalls.empty());
    editor.Cancel();
    EXPECT_EQ(editor.OpenCount(), 0);
    // Closed, it takes no keys.
    EXPECT_FALSE(Send(Press(kVkA, kScanA)));
}

TEST_F(CompositeEditorTest, ApplyResetsKeysOfMissingMacrosAndRefreshesOnlyButtonsOnView) {
    Change([](ProfileContent& c) {
        c.macros = {NamedMacro(1, "one")};
        c.Assign(0, 0x030, Assigned(AssignMacro, 7));              // B, shown
        c.Assign(1, 0x030, Assigned(AssignMacro, 7));              // another profile
        c.Assign(0, kGKeyRecordFirst + 9, Assigned(AssignMacro, 7));  // G1 of bank B, not shown
    });
    OpenOn(kSlotA);
    editor.Apply();
    const ProfileContent c = Content();
    EXPECT_EQ(c.Record(0, 0x030).type, AssignDefault);
    EXPECT_EQ(c.Record(1, 0x030).type, AssignDefault);
    EXPECT_EQ(c.Record(0, kGKeyRecordFirst + 9).type, AssignDefault);
    EXPECT_EQ(host.refreshedButtons, (std::vector<int>{0x030, kSlotA}));
    EXPECT_EQ(host.editingCalls.size(), 4u);
}

TEST_F(CompositeEditorTest, MacroKeyOpensOnItsMacroAndKeepsTheRepeatCountInAux) {
    Change([](ProfileContent& c) {
        c.macros = {NamedMacro(1, "one"), NamedMacro(5, "five")};
        c.macros[1].repeatCount = 3;
        c.Assign(0, kSlotA, Assigned(AssignMacro, 5));
    });
    OpenOn(kSlotA);
    EXPECT_EQ(editor.PageShown(), EditorPage::Macro);
    EXPECT_EQ(page().CurrentMacro(), 1);
    EXPECT_EQ(page().RepeatText(), "3");
    EXPECT_FALSE(editor.ApplyEnabled());
    page().SetRepeatText("9");
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA), Assigned(AssignMacro, 5, 9));
    EXPECT_EQ(Content().macros[1].repeatCount, 9);

    // A macro page without macros gives the key its factory function.
    Change([](ProfileContent& c) { c.macros.clear(); });
    OpenOn(kSlotA);
    editor.Apply();
    EXPECT_EQ(Content().Record(0, kSlotA).type, AssignDefault);
}

TEST_F(CompositeEditorTest, PageButtonsActOnlyWhenTheirPageIsNotTheType) {
    OpenOn(kSlotA);
    editor.PressPageButton(EditorPage::SingleKey);  // type 0: the single-key button does nothing
    EXPECT_FALSE(editor.ApplyEnabled());
    editor.PressPageButton(EditorPage::Function);
    EXPECT_EQ(editor.PageShown(), EditorPage::Function);
    EXPECT_TRUE(editor.ApplyEnabled());
    EXPECT_FALSE(editor.CaptureActive());
    EXPECT_TRUE(editor.ControlShown(id::kFunctionList));
    EXPECT_FALSE(editor.ControlShown(id::kKeyEdit));
    EXPECT_EQ(editor.PagePicture(), PictureSet::Function);
    editor.PressPageButton(EditorPage::SingleKey);
    EXPECT_TRUE(editor.CaptureActive());
    EXPECT_EQ(editor.PageType(), AssignSingleKey);
}

TEST(EditorTexts, MacroOnlyLeavesThePageButtonsWithoutCaptions) {
    TempDir dir;
    const auto file = dir.path() / "language.ini";
    std::ofstream(file) << "[LANGUAGE]\nlanguage=1\n[ENGINSH]\nSINGLE_KEY=Single Key\nMACRO_SETTING=Macro\n"
                           "KEY_SETTING_TISHI=Key Settings\nMACRO_EDIT_TISHI=Macro Settings\n";
    const EditorTexts normal = LoadEditorTexts(file, false);
    EXPECT_EQ(normal.Caption(id::kPageSingleKey), "Single Key");
    EXPECT_EQ(normal.Caption(id::kKeySettingLabel), "Key Settings");
    EXPECT_EQ(normal.Caption(id::kRecordDelay), "");
    EXPECT_EQ(normal.Caption(id::kActionToTop), " ");  // missing keys read as one blank
    const EditorTexts macroOnly = LoadEditorTexts(file, true);
    EXPECT_EQ(macroOnly.Caption(id::kPageSingleKey), "");
    EXPECT_EQ(macroOnly.Caption(id::kPageMacro), "Macro");
    EXPECT_EQ(macroOnly.Caption(id::kKeySettingLabel), "Macro Settings");
}

TEST(EditorPlacement, OpensOnTheSideOfTheButtonWhereItFits) {
    const ScreenRect screen{0, 0, 1600, 1000};
    const EditorSize size{500, 400};
    // Room below-right.
    EXPECT_EQ(PlaceEditor({100, 100, 140, 140}, size, screen), (ScreenPoint{140, 140}));
    // Near the bottom edge: above-right.
    EXPECT_EQ(PlaceEditor({100, 800, 140, 840}, size, screen), (ScreenPoint{140, 400}));
    // Near the right edge: below-left.
    EXPECT_EQ(PlaceEditor({1300, 100, 1340, 140}, size, screen), (ScreenPoint{800, 140}));
    // Near the bottom-right corner: above-left.
    EXPECT_EQ(PlaceEditor({1500, 900, 1540, 940}, size, screen), (ScreenPoint{1000, 500}));
    // Fits nowhere: the default, pulled back inside the screen.
    EXPECT_EQ(PlaceEditor({10, 10, 30, 30}, {1590, 990}, screen), (ScreenPoint{10, 10}));
    EXPECT_EQ(PlaceEditor({450, 480, 490, 510}, {620, 500}, screen), (ScreenPoint{490, 500}));
    // The available area may start below a panel: no room above the button then.
    EXPECT_EQ(PlaceEditor({100, 430, 140, 470}, size, {0, 0, 1600, 800}), (ScreenPoint{140, 30}));
    EXPECT_EQ(PlaceEditor({100, 430, 140, 470}, size, {0, 40, 1600, 800}), (ScreenPoint{140, 400}));
}

}  // namespace
}  // namespace qv::test
