#include "ui/main/main_window_fixture.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEnterEvent>
#include <QFileDialog>
#include <QTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "core/app/settings.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"
#include "hidserv/sim_control_client.h"
#include "protocol/report_frame.h"
#include "ui/app/device_session.h"
#include "ui/common/window_messages.h"
#include "ui/skin/skin_layout.h"

namespace qv::test {

void MainWindowFixture::QTest_Wait(int ms) { QTest::qWait(ms); }

namespace {

using ui::CQuorvaneDlg;
using ui::CPngButton;
namespace id = ui::id;

KeyRecord Record(std::uint16_t type, std::uint32_t value) {
    KeyRecord r;
    r.type = type;
    r.value = value;
    return r;
}

class SimulatedWindow : public SimulatedWindowFixture {};

TEST_F(SimulatedWindow, ArrivalOpensTheWindowOnceAndRemovalHidesIt) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconKeyboard);
    EXPECT_EQ(State().activeProfile, 0);
    EXPECT_FALSE(w.IsEditing());

    sim_->Attach(false);
    ASSERT_TRUE(SettleUntil([&] { return !w.isVisible() && KeyboardCount() == 0; }));
    EXPECT_EQ(State().activeProfile, -1);
    SettleUntil([&] { return w.CurrentTrayIcon() == ui::kIconNoKeyboard; });
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconNoKeyboard);

    sim_->Attach(true);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1 && w.CurrentTrayIcon() == ui::kIconKeyboard; }));
    Settle(100);
    EXPECT_EQ(opened_->count(), 1) << "a re-attached keyboard does not open the window again";
    EXPECT_FALSE(w.isVisible());
}

// Counts the paints a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) ++paints;
        return false;
    }
};

TEST_F(SimulatedWindow, OverlappingButtonsDoNotRepaintEachOtherForEver) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    Settle(100);
    PaintCounter ab(w.Button(ui::id::kBankAB));
    PaintCounter flip(w.Button(ui::id::kFlip0));
    PaintCounter enter(w.Button(ui::id::kEnterKey));
    Settle(300);
    // An idle window paints nothing; a repaint loop would paint these hundreds of times.
    EXPECT_LT(ab.paints, 5);
    EXPECT_LT(flip.paints, 5);
    EXPECT_LT(enter.paints, 5);
}

TEST_F(SimulatedWindow, StartSwitchKeepsTheWindowClosedOnArrival) {
    CQuorvaneDlg& w = Start(true, true);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1 && w.CurrentTrayIcon() == ui::kIconKeyboard; }));
    Settle(100);
    EXPECT_EQ(opened_->count(), 0);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(SimulatedWindow, StartWithoutKeyboardDoesNotOpenOnLaterArrival) {
    CQuorvaneDlg& w = Start(false);
    ASSERT_TRUE(SettleUntil([&] { return State().ready.IsSet(); }));
    w.OnMessage(ui::MSG_INSTANCE_OPEN, ui::kInstanceOpenTag);
    EXPECT_EQ(prompt_.messages, (std::vector<std::string>{Text(TextId::MAIN_NO_DEVICE_PROMPT)}));
    EXPECT_FALSE(w.isVisible());

    EXPECT_EQ(w.Button(id::kProfiles)->text().toStdString(), Text(TextId::DEFAULT_PROFILE_NAME));

    sim_->Attach(true);
    ASSERT_TRUE(SettleUntil([&] { return KeyboardCount() == 1 && w.CurrentTrayIcon() == ui::kIconKeyboard; }));
    Settle(100);
    EXPECT_EQ(opened_->count(), 0);
    EXPECT_EQ(w.Button(id::kProfiles)->text(), "$Profile0");
    // The tray's Open still shows it now that a keyboard is there.
    w.OnCommand(id::kCmdOpen);
    EXPECT_TRUE(w.isVisible());
}

TEST_F(SimulatedWindow, ApplySendsOnlyWhenSomethingWasEdited) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    sim_->ClearFrameLog();

    w.OnCommand(id::kApply);
    EXPECT_EQ(w.BusyShownCount(), 1);
    EXPECT_TRUE(w.BusyPicture()->isVisible());
    EXPECT_EQ(sim_->FrameCount(), 0u) << "nothing edited, nothing sent";
    ASSERT_TRUE(SettleUntil([&] { return !w.BusyPicture()->isVisible(); }));
    EXPECT_FALSE(w.TimerRunning(ui::kTimerBusy));

    {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(0, KeyCodeToSlot(0x01E), Record(AssignSingleKey, 0x030));
    }
    w.SetEditing(true);
    EXPECT_TRUE(w.Button(id::kApply)->isEnabled());
    w.OnCommand(id::kApply);
    EXPECT_FALSE(w.IsEditing());
    EXPECT_FALSE(w.Button(id::kApply)->isEnabled());
    EXPECT_GT(sim_->FrameCount(), 2u);
    {
        auto lock = AppliedStore().Lock();
        EXPECT_EQ(AppliedStore().Content().Record(0, KeyCodeToSlot(0x01E)).type, AssignSingleKey);
    }
}

TEST_F(SimulatedWindow, AnApplyTheKeyboardRefusesKeepsApplyEnabledAndTheEdit) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(0, KeyCodeToSlot(0x01E), Record(AssignSingleKey, 0x030));
    }
    w.SetEditing(true);
    sim_->ClearFrameLog();
    // BeginConfig goes through; the first macro-memory frame is refused on every attempt.
    ASSERT_EQ(sim_->ScheduleFaults("status-ff@2*3"), 1);
    w.OnCommand(id::kApply);
    EXPECT_TRUE(w.IsEditing());
    EXPECT_TRUE(w.Button(id::kApply)->isEnabled());
    // The macro write had begun, so the keyboard may hold part of it; nothing was taken in full.
    EXPECT_EQ(prompt_.messages, std::vector<std::string>{FormatText(Text(TextId::MAIN_PROMPT_APPLY_PARTIAL),
                                                                    Text(TextId::DOWNLOAD_TOOK_NOTHING))});
    const auto frames = sim_->Frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back()[3], 0x02) << "the group is closed";
    for (const auto& f : frames) EXPECT_NE(f[3], 0x08) << "no key matrix after the refused macro write";
    auto lock = WorkingStore().Lock();
    EXPECT_EQ(WorkingStore().Content().Record(0, KeyCodeToSlot(0x01E)).type, AssignSingleKey);
}

TEST_F(SimulatedWindow, AKeyboardThatCannotBeOpenedIsToldOncePerArrivalAndInTheTooltip) {
    CQuorvaneDlg& w = Start(false);
    ASSERT_TRUE(SettleUntil([&] { return State().ready.IsSet(); }));
    const QString usual = QString::fromStdString(Text(TextId::KEYBOARD_TRAY_DESC));
    ASSERT_EQ(sim_->SetInaccessible(true), 1);
    ASSERT_TRUE(SettleUntil([&] { return prompt_.messages.size() == 1; }));
    EXPECT_NE(prompt_.messages[0].find("60-quorvane-keyboard.rules"), std::string::npos);
    EXPECT_EQ(w.Tray().Tooltip().toStdString(), prompt_.messages[0]);
    // Access granted and replugged: the tooltip is the usual one again, and nothing more is said.
    ASSERT_EQ(sim_->Attach(true), 1);
    ASSERT_TRUE(SettleUntil([&] { return w.Tray().Tooltip() == usual; }));
    // Pulled out and back without access: a new arrival, told again.
    ASSERT_EQ(sim_->SetInaccessible(true), 1);
    ASSERT_TRUE(SettleUntil([&] { return prompt_.messages.size() == 2; }));
}

TEST_F(SimulatedWindow, ReportRateIsWrittenAtOnceToTheShownProfile) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    State().shownProfile = 1;
    w.OnCommand(id::kReport3);
    EXPECT_EQ(State().reportRate, 2);
    EXPECT_EQ(sim_->Read(QV_SIM_SETTINGS, 42 + 15, 1), (std::vector<std::uint8_t>{2}));
    EXPECT_FALSE(w.IsEditing());
    w.OnCommand(id::kReport1);
    EXPECT_EQ(sim_->Read(QV_SIM_SETTINGS, 42 + 15, 1), (std::vector<std::uint8_t>{0}));
}

TEST_F(SimulatedWindow, BankKeyTogglesTheGKeyCaptionsAndBack) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    CPngButton* g1 = w.Button(GKeyButtons()[0]);
    EXPECT_EQ(g1->text(), "A1");
    sim_->SendConsumerCode(0x02FF);
    ASSERT_TRUE(SettleUntil([&] { return g1->text() == "B1"; }));
    EXPECT_EQ(w.Button(GKeyButtons()[4])->text(), "B5");
    EXPECT_EQ(w.Button(GKeyButtons()[8])->text(), "");
    EXPECT_EQ(sim_->Read(QV_SIM_STATUS, 0, 2), (std::vector<std::uint8_t>{0x05, 0x03}));
    const CPngButton* ab = w.Button(id::kBankAB);
    EXPECT_EQ(ab->Faces().normal, ab->Faces().over) << "bank B shows the hover face in every state";
    sim_->SendConsumerCode(0x02FF);
    ASSERT_TRUE(SettleUntil([&] { return g1->text() == "A1"; }));
    EXPECT_EQ(sim_->Read(QV_SIM_STATUS, 0, 2), (std::vector<std::uint8_t>{0x05, 0x02}));
    EXPECT_NE(ab->Faces().normal, ab->Faces().over);
}

TEST_F(SimulatedWindow, DefaultClearsTheActiveProfileAndAppliesAtOnce) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    const int a = KeyCodeToSlot(0x01E);
    {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(0, a, Record(AssignDisabled, 0));
    }
    w.RefreshKeyButtons();
    EXPECT_TRUE(w.Button(1058)->Assigned());

    prompt_.answers = {false};
    w.OnCommand(id::kDefault);
    EXPECT_EQ(prompt_.questions.back(), Text(TextId::MAIN_PROMPT_DEFAULT));
    {
        auto lock = WorkingStore().Lock();
        EXPECT_EQ(WorkingStore().Content().Record(0, a).type, AssignDisabled) << "No changes nothing";
    }

    sim_->ClearFrameLog();
    prompt_.answers = {true};
    w.OnCommand(id::kDefault);
    {
        auto lock = WorkingStore().Lock();
        EXPECT_EQ(WorkingStore().Content().Record(0, a).type, AssignDefault);
    }
    EXPECT_FALSE(w.Button(1058)->Assigned());
    EXPECT_EQ(w.Button(1058)->TooltipText(), "A");
    EXPECT_GT(sim_->FrameCount(), 0u) << "Yes applies without a separate Apply";
    EXPECT_FALSE(w.IsEditing());
}

TEST_F(SimulatedWindow, ArrivalLightsTheActiveProfileAndItsReportRate) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    EXPECT_EQ(w.Button(id::kProfile1)->ChooseFace(), CPngButton::Face::kAltOn);
    EXPECT_EQ(w.Button(id::kProfile2)->ChooseFace(), CPngButton::Face::kNormal);
    const int rate = State().reportRate;
    const int rateButtons[] = {id::kReport1, id::kReport2, id::kReport3, id::kReport4};
    EXPECT_EQ(w.Button(rateButtons[rate])->ChooseFace(), CPngButton::Face::kAltOn);
    EXPECT_FALSE(w.Button(id::kProfiles)->text().isEmpty()) << "the profile caption is set";
}

TEST_F(SimulatedWindow, ProfileButtonsSwitchTheKeyboardOnlyToAnotherProfile) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    sim_->ClearFrameLog();
    const auto globalWrites = [&] {
        int n = 0;
        for (const auto& frame : sim_->Frames()) n += frame[device::frame::kCommand] == device::frame::kWriteGlobalBlock;
        return n;
    };
    w.OnCommand(id::kProfile1);  // already active
    EXPECT_EQ(globalWrites(), 0) << "no switch command";
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{0}));

    w.OnCommand(id::kProfile2);
    EXPECT_EQ(globalWrites(), 1);
    EXPECT_EQ(sim_->Read(QV_SIM_GLOBAL, 10, 1), (std::vector<std::uint8_t>{1}));
    EXPECT_EQ(State().shownProfile, 1);
    EXPECT_EQ(State().activeProfile, 1);
    EXPECT_EQ(w.Button(id::kProfile2)->ChooseFace(), CPngButton::Face::kAltOn);
    EXPECT_EQ(w.Button(id::kProfile1)->ChooseFace(), CPngButton::Face::kNormal);
}

// The picture of the main window in the documentation: QV_SCREENSHOT names the file.
TEST_F(SimulatedWindow, HoverPicturesAreDecodedWhenAKeyIsFirstHovered) {
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    CPngButton* esc = w.Button(1022);
    ASSERT_TRUE(esc->Faces().over->isNull()) << "nothing hovered yet";
    const QImage plain = esc->grab().toImage();
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(esc, &enter);
    EXPECT_NE(esc->grab().toImage(), plain) << "the key shows its hover face";
    EXPECT_FALSE(esc->Faces().over->isNull());
    EXPECT_FALSE(w.Button(ui::id::kApply)->Faces().over->isNull()) << "the window's own buttons share it";
}

TEST_F(SimulatedWindow, Screenshot) {
    const char* file = std::getenv("QV_SCREENSHOT");
    if (file == nullptr) GTEST_SKIP() << "set QV_SCREENSHOT to write the picture";
    CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    {
        // A few keys with assignments of their own, as a user would have them.
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(0, KeyCodeToSlot(0x03A), Record(AssignSingleKey, 0x01D));
        WorkingStore().Content().Assign(0, kGKeyRecordFirst, Record(AssignMedia, 14));
        WorkingStore().Content().Assign(0, kGKeyRecordFirst + 1, Record(AssignMedia, 7));
    }
    w.RefreshKeyButtons();
    w.ShowBank(0);
    w.SetEditing(true);
    Settle(100);
    ASSERT_TRUE(w.grab().save(QString::fromLocal8Bit(file)));
}

// --- Without a keyboard --------------------------------------------------------------------------

TEST_F(MainWindowFixture, TooltipsNameEachKindOfAssignment) {
    CQuorvaneDlg& w = MakeWindow();
    State().activeProfile = 0;
    {
        auto lock = WorkingStore().Lock();
        ProfileContent& c = WorkingStore().Content();
        MacroRecord m;
        m.id = 7;
        m.SetName(u"Combo");
        c.macros.push_back(m);
        c.Assign(0, KeyCodeToSlot(0x01E), Record(AssignSingleKey, 0x11D));  // A -> Right Ctrl
        c.Assign(0, KeyCodeToSlot(0x030), Record(AssignMacro, 7));          // B -> macro 7
        c.Assign(0, KeyCodeToSlot(0x02E), Record(AssignMacro, 99));         // C -> a macro that is gone
        c.Assign(0, KeyCodeToSlot(0x020), Record(AssignMedia, 7));          // D -> Mute
        c.Assign(0, KeyCodeToSlot(0x012), Record(AssignFunctionKey, 0));    // E -> function 0
        c.Assign(0, KeyCodeToSlot(0x021), Record(AssignDisabled, 0));       // F
        c.Assign(0, kGKeyRecordFirst + 1, Record(AssignMacro, 7));          // G2, bank A
    }
    w.RefreshKeyButtons();
    const std::string set = Text(TextId::KEY_PROMPT_SET);
    auto tip = [&](int button) { return w.Button(button)->TooltipText().toStdString(); };
    EXPECT_EQ(tip(1058), "A" + set + Text(TextId::KEY_PROMPT_SINGLE) + "Right Ctrl)");
    EXPECT_EQ(tip(1075), "B" + set + Text(TextId::KEY_PROMPT_MACRO) + "Combo)");
    EXPECT_EQ(tip(1073), "C" + set + Text(TextId::KEY_PROMPT_MACRO) + ")");
    EXPECT_EQ(tip(1060), "D" + set + Text(TextId::KEY_PROMPT_MEDIA) + KeyName(MediaKeyCode(7)) + ")");
    EXPECT_EQ(tip(1046), "E" + set + Text(TextId::KEY_PROMPT_FUNCTION) + FunctionName(0) + ")");
    EXPECT_EQ(tip(1061), "F" + set + "Disabled");
    EXPECT_EQ(tip(1062), "G");
    EXPECT_EQ(tip(GKeyButtons()[1]), "G2" + set + Text(TextId::KEY_PROMPT_MACRO) + "Combo)");
    EXPECT_EQ(tip(GKeyButtons()[0]), "G1");
    EXPECT_TRUE(w.Button(1058)->Assigned());
    EXPECT_FALSE(w.Button(1062)->Assigned());
}

TEST_F(MainWindowFixture, KeyClicksReachTheEditorWithTheirRecord) {
    RecordingKeyEditor editor;
    CQuorvaneDlg::Services s;
    s.keyEditor = &editor;
    device_.bank = 1;
    CQuorvaneDlg& w = MakeWindow(s);

    w.OnCommand(GKeyButtons()[3]);   // G4, bank B
    device_.bank = 0;
    w.OnCommand(id::kMacro);          // G9 of bank A, macro only
    device_.bank = 1;
    w.OnCommand(id::kMacro);
    w.OnCommand(1058);                // A
    w.OnCommand(1104);                // Num Lock
    w.OnCommand(id::kFirstD);         // D1: nothing outside the lighting view
    w.OnCommand(id::kFn);
    const auto& edits = editor.requests;
    ASSERT_EQ(edits.size(), 5u);
    EXPECT_EQ(edits[0].recordIndex, 268);
    EXPECT_FALSE(edits[0].macroOnly);
    EXPECT_TRUE(edits[0].bankB);
    EXPECT_EQ(edits[1].recordIndex, 264);
    EXPECT_TRUE(edits[1].macroOnly);
    EXPECT_EQ(edits[1].buttonId, id::kG9);
    EXPECT_EQ(edits[2].recordIndex, 273);
    EXPECT_EQ(edits[3].recordIndex, 0x1E);
    EXPECT_EQ(edits[4].recordIndex, 0xC5);
    EXPECT_EQ(edits[4].page, 0);
}

TEST_F(MainWindowFixture, FlipSwapsTheFKeysAndTheDKeysAndPersists) {
    CQuorvaneDlg& w = MakeWindow();
    const SettingsStore settings(SettingsStore::DefaultFile());
    EXPECT_TRUE(w.Button(id::kF1)->isEnabled());
    EXPECT_FALSE(w.Button(id::kFirstD)->isEnabled());

    w.OnCommand(id::kFlip1);
    EXPECT_EQ(settings.ReadFlip(), 1);
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(w.Button(id::kF1 + i)->isEnabled());
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(w.Button(id::kFirstD + i)->isEnabled());
    EXPECT_TRUE(w.Button(id::kF1 + 4)->isEnabled()) << "F5 is not part of the flip";

    w.OnCommand(id::kFlip2);
    EXPECT_EQ(settings.ReadFlip(), 0);
    EXPECT_TRUE(w.Button(id::kF1)->isEnabled());
    EXPECT_FALSE(w.Button(id::kFirstD + 5)->isEnabled());
}

TEST_F(MainWindowFixture, FlipArrowsFollowTheFlag) {
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OpenWindow();
    w.grab();
    const auto down = ui::ReadLayoutEntry(Paths().mainSkin, ui::kFaceSection, "DOWN_ARROW_LEFT1");
    EXPECT_EQ(w.Button(id::kLeftArrow)->SourceOrigin(), QPoint(down.x, down.y));
    w.OnCommand(id::kFlip1);
    w.grab();
    const auto up = ui::ReadLayoutEntry(Paths().mainSkin, ui::kFaceSection, "UP_ARROW_RIGHT1");
    EXPECT_EQ(w.Button(id::kRightArrow)->SourceOrigin(), QPoint(up.x, up.y));
}

TEST_F(MainWindowFixture, EnterAndEscapeDoNothingAndAltF4Hides) {
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OpenWindow();
    w.SetEditing(true);
    for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&w, static_cast<Qt::Key>(key));
    }
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.IsEditing());
    QCloseEvent close;
    QApplication::sendEvent(&w, &close);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.IsEditing()) << "nothing applied, nothing reverted";
    EXPECT_FALSE(w.DialogEnded());
}

TEST_F(MainWindowFixture, MessagesActOnlyOnTheirTag) {
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OnMessage(ui::MSG_INSTANCE_OPEN, 0);
    EXPECT_FALSE(w.isVisible());
    w.OnMessage(ui::MSG_INSTANCE_KILL, ui::kInstanceOpenTag);
    EXPECT_FALSE(w.DialogEnded());
    w.OnMessage(ui::MSG_INSTANCE_OPEN, ui::kInstanceOpenTag);
    EXPECT_TRUE(w.isVisible());
    const int busy = w.BusyShownCount();
    w.OnMessage(ui::WM_TIMECHANGE_MSG, 0);
    EXPECT_EQ(w.BusyShownCount(), busy + 1) << "a posted time change runs Apply";
    w.OnMessage(ui::MSG_INSTANCE_KILL, ui::kInstanceKillTag);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(w.DialogEnded());
    EXPECT_FALSE(w.Tray().Created());
}

TEST_F(MainWindowFixture, DeferredInitialisationMarksReadyAndHides) {
    CQuorvaneDlg& w = MakeWindow();
    EXPECT_TRUE(State().ready.IsSet());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconNoKeyboard);
    EXPECT_TRUE(w.TimerRunning(ui::kTimerPreview));
    EXPECT_FALSE(w.Button(id::kApply)->isEnabled());
    EXPECT_EQ(w.Button(id::kProfile1)->text().toStdString(), Caption(CaptionId::PROFILE_1));
    EXPECT_EQ(w.LinkAddress(), "https://quorvane.example.com/");
}

TEST_F(MainWindowFixture, ArrowKeysDoNotStepTheEffectList) {
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OpenWindow();
    auto* effects = new QComboBox(&w);
    effects->setProperty("controlId", id::kEffectList);
    effects->addItems({"a", "b", "c"});
    effects->show();
    QApplication::setActiveWindow(&w);
    effects->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == effects; }, 1000));
    QTest::keyClick(effects, Qt::Key_Down);
    EXPECT_EQ(effects->currentIndex(), 0);
    effects->setProperty("controlId", 0);
    QTest::keyClick(effects, Qt::Key_Down);
    EXPECT_EQ(effects->currentIndex(), 1) << "other lists take their keys";
}

TEST_F(MainWindowFixture, DraggingAnywhereMovesTheWindow) {
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OpenWindow();
    w.move(100, 100);
    const QPoint start = w.pos();
    // A spot of the background with no control on it.
    const QPoint at(600, 30);
    QMouseEvent press(QEvent::MouseButtonPress, at, w.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    const QPoint to = at + QPoint(40, 25);
    QMouseEvent move(QEvent::MouseMove, to, w.mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, to, w.mapToGlobal(to), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &release);
    EXPECT_EQ(w.pos(), start + QPoint(40, 25));
}

TEST_F(MainWindowFixture, OnWaylandTheWindowIsTransparentOutsideItsMaskAndTheTrayUsesTheItemHost) {
    if (!QGuiApplication::platformName().startsWith("wayland")) GTEST_SKIP() << "masks cut windows here";
    CQuorvaneDlg& w = MakeWindow();
    device_.count = 1;
    w.OpenWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    EXPECT_TRUE(w.testAttribute(Qt::WA_TranslucentBackground));
    const QRegion shape = w.Shape();
    ASSERT_FALSE(shape.isEmpty());
    QImage picture(w.size(), QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    w.render(&picture, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    bool outsideSeen = false;
    for (int y = 0; y < picture.height(); y += 7) {
        for (int x = 0; x < picture.width(); x += 7) {
            if (shape.contains(QPoint(x, y))) continue;
            outsideSeen = true;
            ASSERT_EQ(qAlpha(picture.pixel(x, y)), 0) << "painted outside the mask at " << x << "," << y;
        }
    }
    EXPECT_TRUE(outsideSeen) << "the mask cuts nothing off this window";

    // Wayland has no X11 tray: the icon is there only through an item host, which the suite runs.
    if (std::getenv("QV_TEST_ITEM_HOST") != nullptr) {
        EXPECT_TRUE(w.Tray().Created());
        EXPECT_TRUE(w.Tray().OnItemHost());
    } else {
        EXPECT_FALSE(w.Tray().Created() && !w.Tray().OnItemHost());
    }
}

TEST_F(MainWindowFixture, KillEndsTheProgramWithADialogOpen) {
    CQuorvaneDlg& w = MakeWindow();
    // What /Kill sends arrives while a file dialog of the window runs its own loop.
    QFileDialog files(&w, "Import");
    files.setOption(QFileDialog::DontUseNativeDialog);
    QTimer::singleShot(100, &w, [&] { w.OnMessage(ui::MSG_INSTANCE_KILL, ui::kInstanceKillTag); });
    QTimer::singleShot(5000, &files, [&] { files.QDialog::accept(); });  // never hang the suite
    EXPECT_EQ(files.exec(), QDialog::Rejected) << "the dialog is cancelled, so nothing is imported";
    EXPECT_TRUE(w.DialogEnded());
}

// Each second start while no keyboard is present asks the window to open.
class ReenteringPrompt : public RecordingPrompt {
public:
    void ShowWarning(std::string_view text) override {
        RecordingPrompt::ShowWarning(text);
        if (window != nullptr && messages.size() < 3) window->OpenWindow();
    }
    CQuorvaneDlg* window = nullptr;
};

TEST_F(MainWindowFixture, StartsWithoutAKeyboardStackNoBoxes) {
    ReenteringPrompt prompt;
    CQuorvaneDlg::Services s;
    s.prompt = &prompt;
    CQuorvaneDlg& w = MakeWindow(s);
    prompt.window = &w;
    w.OnMessage(ui::MSG_INSTANCE_OPEN, ui::kInstanceOpenTag);
    EXPECT_EQ(prompt.messages, (std::vector<std::string>{Text(TextId::MAIN_NO_DEVICE_PROMPT)}));
    prompt.window = nullptr;
    w.OpenWindow();
    EXPECT_EQ(prompt.messages.size(), 2u) << "a later start is told again";
}

TEST_F(MainWindowFixture, TrayStateRemembersTheNormalIcon) {
    CQuorvaneDlg& w = MakeWindow();
    w.SetTrayState(0, ui::kIconKeyboard);
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconKeyboard);
    w.SetTrayState(1, 0);
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconMacro);
    w.SetTrayState(0, 0);
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconKeyboard);
    w.SetTrayState(0, ui::kIconNoKeyboard);
    w.SetTrayState(1, 0);
    w.SetTrayState(0, 0);
    EXPECT_EQ(w.CurrentTrayIcon(), ui::kIconNoKeyboard);
}

}  // namespace
}  // namespace qv::test
