// The lighting panel on the real main window over the simulated keyboard: a user's clicks and
// typing, checked in what the window shows and in the frames the keyboard received.
#include "ui/main/main_window_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWheelEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include "core/app/ini_file.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_record.h"
#include "core/lighting/lighting_keys.h"
#include "core/lighting/user_lighting_file.h"
#include "hidserv/sim_control_client.h"
#include "support/paint_counter.h"
#include "protocol/report_frame.h"
#include "ui/app/device_session.h"
#include "ui/common/window_messages.h"
#include "ui/controls/colour_button.h"
#include "ui/controls/image_slider.h"
#include "ui/controls/picture_button.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/skin/skin_layout.h"

namespace qv::test {
namespace {

using ui::CColourButton;
using ui::CImageSlider;
using ui::CPictureButton;
using ui::CPngButton;
using ui::CQuorvaneDlg;
namespace id = ui::id;
namespace frame = device::frame;

struct SettingsWrite {
    int address;
    std::vector<std::uint8_t> data;
    bool operator==(const SettingsWrite&) const = default;
};

class LightingWindow : public SimulatedWindowFixture {
protected:
    // The window over an attached keyboard, opened after its arrival. `prepare` changes the
    // keyboard's memory before the window first reads it.
    CQuorvaneDlg& Start(std::function<void(const hidserv::SimControl&)> prepare = {}) {
        prepareKeyboard_ = std::move(prepare);
        adjustServices_ = [this](CQuorvaneDlg::Services& s) { s.keyEditor = &keyEditor_; };
        CQuorvaneDlg& w = SimulatedWindowFixture::Start(true);
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened_->count() == 1; }, 3000));
        return w;
    }

    ui::CLightingPanel& Panel() { return *window_->Lighting(); }
    RecordingKeyEditor keyEditor_;
    template <typename T>
    T* Control(int controlId) {
        return qobject_cast<T*>(Panel().Control(controlId));
    }
    // What a user sees: the control is laid out and not hidden on the shown window.
    bool Shown(int controlId) { return Panel().Control(controlId)->isVisibleTo(window_.get()); }
    QString Picture(int controlId) { return Control<CPictureButton>(controlId)->PictureName(); }

    void Click(QWidget* w, QPoint at = {}) {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at.isNull() ? w->rect().center() : at);
    }
    void TurnViewOn() {
        Click(Control<CPictureButton>(lighting::panel_id::kLightingViewToggle));
        ASSERT_TRUE(Panel().ViewOn());
    }
    void ChooseEffect(int code) {
        const int position = Panel().Model().Settings().Effects().PositionOf(code);
        ASSERT_GE(position, 0) << code;
        Control<QComboBox>(lighting::panel_id::kEffectSelector)->setCurrentIndex(position);
    }
    // Lets a colour button's picker answer with `colour` and clicks the button.
    void PickColour(int controlId, QColor colour) {
        auto* button = Control<CColourButton>(controlId);
        button->SetChooser([colour](QColor, QWidget*) { return std::optional<QColor>(colour); });
        Click(button);
    }
    std::string DengCheck() { return ini::GetString(UserFiles().settingsFile, "KEYCOLOR", "DengCheck", "<absent>"); }

    std::vector<std::uint8_t> Commands() {
        std::vector<std::uint8_t> out;
        for (const auto& f : sim_->Frames()) out.push_back(f[frame::kCommand]);
        return out;
    }
    std::vector<SettingsWrite> SettingsWrites() {
        std::vector<SettingsWrite> out;
        for (const auto& f : sim_->Frames()) {
            if (f[frame::kCommand] != frame::kWriteSettingsMemory) continue;
            out.push_back({frame::Address(f.data()), {f.begin() + frame::kData, f.begin() + frame::kData + f[frame::kLength]}});
        }
        return out;
    }
    std::vector<std::array<std::uint8_t, 64>> ColourWrites() {
        std::vector<std::array<std::uint8_t, 64>> out;
        for (const auto& f : sim_->Frames()) {
            if (f[frame::kCommand] == frame::kWriteKeyColours) out.push_back(f);
        }
        return out;
    }
    std::vector<std::uint8_t> Record(int profile, int offset, int length) {
        return sim_->Read(QV_SIM_SETTINGS, static_cast<std::uint32_t>(profile * 42 + offset), static_cast<std::uint32_t>(length));
    }
};

namespace pid = lighting::panel_id;

TEST_F(LightingWindow, EachEffectShowsItsOwnControls) {
    // The keyboard also lists a code the tool does not know.
    Start([](const hidserv::SimControl& sim) { sim.Write(QV_SIM_GLOBAL, 12 + 19, {19}); });
    EXPECT_TRUE(Shown(pid::kLightingViewToggle));
    EXPECT_FALSE(Shown(pid::kEffectSelector)) << "the view is off";
    EXPECT_EQ(Picture(pid::kLightingViewToggle), "dengup.bmp");

    TurnViewOn();
    EXPECT_EQ(DengCheck(), "1");
    EXPECT_EQ(Picture(pid::kLightingViewToggle), "dengdown.bmp");
    EXPECT_EQ(Control<QComboBox>(pid::kEffectSelector)->count(), 20);

    ChooseEffect(17);
    EXPECT_EQ(Record(0, 0, 1), (std::vector<std::uint8_t>{17}));
    EXPECT_TRUE(Shown(pid::kEffectSelector));
    EXPECT_TRUE(Shown(pid::kBrightnessSlider));
    EXPECT_TRUE(Shown(pid::kBrightnessLabel));
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(Shown(pid::kColourChoiceFirst + k));
    EXPECT_FALSE(Shown(pid::kSpeedSlider));
    EXPECT_FALSE(Shown(pid::kSpeedLabel));
    EXPECT_FALSE(Shown(pid::kSecondColourButton));

    sim_->ClearFrameLog();
    Click(Control<CPictureButton>(pid::kColourChoiceFirst + 2));
    EXPECT_EQ(Picture(pid::kColourChoiceFirst + 2), "lvok.bmp");
    EXPECT_EQ(Picture(pid::kColourChoiceFirst), "hong.bmp");
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{17, {2}}}));

    ChooseEffect(20);
    EXPECT_TRUE(Shown(pid::kUserModeSelector));
    EXPECT_TRUE(Shown(pid::kPaintToolPicture));
    EXPECT_FALSE(Shown(pid::kSpeedSlider));

    Click(Control<CPictureButton>(pid::kLightingViewToggle));
    EXPECT_FALSE(Panel().ViewOn());
    EXPECT_EQ(DengCheck(), "0");
    EXPECT_FALSE(Shown(pid::kUserModeSelector));
    EXPECT_FALSE(Shown(pid::kBrightnessSlider));
}

TEST_F(LightingWindow, ColourPickedInEitherGroupTurnsColourfulOffFirst) {
    Start();
    TurnViewOn();
    ChooseEffect(1);
    ASSERT_TRUE(Shown(pid::kSecondColourButton));
    if (Picture(pid::kSecondColourfulToggle) != "sjsdown.bmp") Click(Control<CPictureButton>(pid::kSecondColourfulToggle));
    ASSERT_EQ(Picture(pid::kSecondColourfulToggle), "sjsdown.bmp");
    EXPECT_EQ(Picture(pid::kFirstColourfulToggle), "sjsdown.bmp");

    sim_->ClearFrameLog();
    PickColour(pid::kSecondColourButton, QColor(0, 128, 255));
    EXPECT_EQ(Picture(pid::kSecondColourfulToggle), "sjsup.bmp");
    EXPECT_EQ(Picture(pid::kFirstColourfulToggle), "sjsup.bmp");
    EXPECT_EQ(Control<CColourButton>(pid::kFirstColourButton)->Colour(), QColor(0, 128, 255)) << "both groups show it";
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{frame::kBeginConfig, frame::kWriteSettingsMemory,
                                                     frame::kWriteSettingsMemory, frame::kEndConfig}));
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{4, {0}}, {5, {0, 128, 255}}}));

    // A cancelled picker changes nothing.
    sim_->ClearFrameLog();
    auto* first = Control<CColourButton>(pid::kFirstColourButton);
    first->SetChooser([](QColor, QWidget*) { return std::nullopt; });
    Click(first);
    EXPECT_EQ(sim_->FrameCount(), 0u);
}

TEST_F(LightingWindow, EffectsTheToolHasNoParametersForKeepTheSelectorAndSaySo) {
    // A keyboard whose list goes on past the codes the tool knows.
    Start([](const hidserv::SimControl& sim) { sim.Write(QV_SIM_GLOBAL, 12 + 19, {19, 25}); });
    TurnViewOn();
    auto* selector = Control<QComboBox>(pid::kEffectSelector);
    const int at19 = Panel().Model().Settings().Effects().PositionOf(19);
    const int at25 = Panel().Model().Settings().Effects().PositionOf(25);
    ASSERT_GE(at19, 0);
    ASSERT_GE(at25, 0);
    EXPECT_EQ(selector->itemText(at19), "Effect 19");
    EXPECT_EQ(selector->itemText(at25), "Effect 25");
    auto* note = window_->findChild<QLabel*>("static_effectNote");
    ASSERT_NE(note, nullptr);
    EXPECT_FALSE(note->isVisibleTo(window_.get()));

    sim_->ClearFrameLog();
    ChooseEffect(19);
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{0, {19}}})) << "the keyboard runs what the list shows";
    EXPECT_TRUE(Shown(pid::kEffectSelector)) << "the way to another effect stays";
    EXPECT_FALSE(Shown(pid::kBrightnessSlider));
    EXPECT_FALSE(Shown(pid::kSecondColourButton));
    EXPECT_TRUE(note->isVisibleTo(window_.get()));
    EXPECT_TRUE(note->text().contains("Effect 19"));
    EXPECT_TRUE(note->text().contains("cannot set"));

    ChooseEffect(25);
    EXPECT_TRUE(note->text().contains("Effect 25"));
    // What the keyboard holds shows again after a reload.
    window_->StartTimer(ui::kTimerLightingReload, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->TimerRunning(ui::kTimerLightingReload); }, 1000));
    EXPECT_EQ(selector->currentIndex(), at25);
    EXPECT_TRUE(note->isVisibleTo(window_.get()));

    ChooseEffect(6);
    EXPECT_FALSE(note->isVisibleTo(window_.get()));
    EXPECT_TRUE(Shown(pid::kBrightnessSlider));
    EXPECT_EQ(Record(0, 0, 1), (std::vector<std::uint8_t>{6}));
}

TEST_F(LightingWindow, RgbEditsShowTheButtonsColourAndReadTheNumberWhenLeft) {
    Start([](const hidserv::SimControl& sim) { sim.Write(QV_SIM_SETTINGS, 5, {10, 20, 30}); });
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    auto* red = Control<QLineEdit>(pid::kRedEdit);
    auto* green = Control<QLineEdit>(pid::kGreenEdit);
    auto* blue = Control<QLineEdit>(pid::kBlueEdit);
    const auto texts = [&] { return std::vector<QString>{red->text(), green->text(), blue->text()}; };
    EXPECT_FALSE(red->isEnabled()) << "the view is off: typing would set nothing";
    TurnViewOn();
    ChooseEffect(5);
    EXPECT_EQ(texts(), (std::vector<QString>{"10", "20", "30"})) << "the colour the keyboard holds";
    ASSERT_TRUE(red->isEnabled());

    // On the way to a new number the box may be empty; nothing is said or written until it is left.
    sim_->ClearFrameLog();
    red->setFocus();
    red->selectAll();
    QTest::keyClick(red, Qt::Key_Backspace);
    EXPECT_EQ(red->text(), "");
    QTest::keyClicks(red, "300");
    EXPECT_TRUE(prompt_.messages.empty());
    EXPECT_EQ(sim_->FrameCount(), 0u);
    QTest::keyClick(red, Qt::Key_Return);
    EXPECT_EQ(red->text(), "255");
    EXPECT_EQ(Record(0, 5, 3), (std::vector<std::uint8_t>{255, 20, 30}));
    EXPECT_EQ(Control<CColourButton>(pid::kSecondColourButton)->Colour(), QColor(255, 20, 30));

    // A lone sign left behind by moving to the next box: asked for once, the number comes back.
    green->setFocus();
    green->selectAll();
    QTest::keyClicks(green, "-");
    EXPECT_TRUE(prompt_.messages.empty());
    sim_->ClearFrameLog();
    blue->setFocus();
    ASSERT_EQ(prompt_.messages.size(), 1u);
    EXPECT_EQ(prompt_.messages.back(), ui::CLightingPanel::kEnterIntegerPrompt);
    EXPECT_EQ(green->text(), "20");
    EXPECT_EQ(sim_->FrameCount(), 0u);

    // Leaving a box as it was writes nothing.
    red->setFocus();
    blue->setFocus();
    EXPECT_EQ(sim_->FrameCount(), 0u);

    // The tool decides which colour shows under effect 20 (the panel model's tests); here the
    // boxes follow a change made elsewhere in the panel.
    ChooseEffect(20);
    Click(Control<CPictureButton>(pid::kPaintToolPicture));
    PickColour(pid::kBaseColourButton, QColor(0, 255, 0));
    EXPECT_EQ(texts(), (std::vector<QString>{"0", "255", "0"}));

    // An effect without a colour leaves the boxes nothing to set.
    ChooseEffect(4);
    EXPECT_FALSE(blue->isEnabled());
}

TEST_F(LightingWindow, WheelChoosesAnEffectOnlyOnceTheSelectorHasTheFocus) {
    Start();
    window_->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    TurnViewOn();
    ChooseEffect(3);
    auto* selector = Control<QComboBox>(pid::kEffectSelector);
    EXPECT_EQ(selector->focusPolicy(), Qt::StrongFocus);
    const auto turn = [&] {
        const QPointF at = QPointF(selector->rect().center());
        QWheelEvent wheel(at, selector->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(selector, &wheel);
        return wheel.isAccepted();
    };

    Control<QLineEdit>(pid::kRedEdit)->setFocus();
    const int before = selector->currentIndex();
    sim_->ClearFrameLog();
    EXPECT_FALSE(turn()) << "passed on to the window";
    EXPECT_EQ(selector->currentIndex(), before);
    EXPECT_EQ(sim_->FrameCount(), 0u);

    selector->setFocus();
    EXPECT_TRUE(turn());
    EXPECT_EQ(selector->currentIndex(), before + 1);
    EXPECT_EQ(Record(0, 0, 1), (std::vector<std::uint8_t>{static_cast<std::uint8_t>(
                                   Panel().Model().Settings().Effects().CodeAt(before + 1))}));

    auto* modes = Control<QComboBox>(pid::kUserModeSelector);
    EXPECT_EQ(modes->focusPolicy(), Qt::StrongFocus) << "the user-mode list resends every key colour per notch";
}

TEST_F(LightingWindow, DirectionPicturesTakeTheEffectsImagesAndPlace) {
    Start();
    TurnViewOn();
    ChooseEffect(12);
    ASSERT_TRUE(Shown(pid::kDirectionFirst));
    sim_->ClearFrameLog();
    Click(Control<CPictureButton>(pid::kDirectionFirst));
    EXPECT_EQ(Picture(pid::kDirectionFirst), "updown.bmp");
    EXPECT_EQ(Picture(pid::kDirectionSecond), "downup.bmp");
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{3, {255}}}));
    const auto at = ui::ReadLayoutEntry(Paths().mainSkin, ui::kButtonSection, "CONTROL_BLFXLStaPic3");
    EXPECT_EQ(Panel().Control(pid::kDirectionFirst)->pos(), QPoint(at.x, at.y));

    ChooseEffect(1);
    EXPECT_EQ(Picture(pid::kDirectionFirst), "leftdown.bmp");
    Click(Control<CPictureButton>(pid::kDirectionSecond));
    EXPECT_EQ(Picture(pid::kDirectionFirst), "leftup.bmp");
    EXPECT_EQ(Picture(pid::kDirectionSecond), "rightdown.bmp");
    EXPECT_EQ(Record(0, 3, 1), (std::vector<std::uint8_t>{0}));
}

TEST_F(LightingWindow, SlidersWriteTheirByteFromMouseAndKeys) {
    Start();
    TurnViewOn();
    ChooseEffect(1);
    auto* brightness = Control<CImageSlider>(pid::kBrightnessSlider);
    auto* speed = Control<CImageSlider>(pid::kSpeedSlider);
    sim_->ClearFrameLog();
    Click(brightness, QPoint(brightness->PositionX(2), brightness->height() / 2));
    EXPECT_EQ(brightness->Position(), 2);
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{1, {2}}}));
    Click(brightness, QPoint(brightness->PositionX(2), brightness->height() / 2));
    EXPECT_EQ(SettingsWrites().size(), 1u) << "the same level is not written again";

    // Dragging across writes each level it passes once.
    sim_->ClearFrameLog();
    QTest::mousePress(brightness, Qt::LeftButton, {}, QPoint(brightness->PositionX(2), 10));
    for (int p : {3, 4, 5}) QTest::mouseMove(brightness, QPoint(brightness->PositionX(p), 10));
    QTest::mouseRelease(brightness, Qt::LeftButton, {}, QPoint(brightness->PositionX(5), 10));
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{1, {3}}, {1, {4}}, {1, {5}}}));

    sim_->ClearFrameLog();
    speed->setFocus();
    QTest::keyClick(speed, Qt::Key_End);
    QTest::keyClick(speed, Qt::Key_Left);
    EXPECT_EQ(SettingsWrites(), (std::vector<SettingsWrite>{{2, {0}}, {2, {1}}})) << "the right end is speed 0";
}

TEST_F(LightingWindow, DefaultRestoresTheLightingOnlyInTheView) {
    Start();
    CQuorvaneDlg& w = *window_;
    prompt_.answers = {true};
    sim_->ClearFrameLog();
    w.OnCommand(id::kDefault);
    EXPECT_TRUE(SettingsWrites().empty()) << "the view is off: no lighting byte";

    TurnViewOn();
    ChooseEffect(12);
    Control<CImageSlider>(pid::kBrightnessSlider)->setFocus();
    QTest::keyClick(Control<CImageSlider>(pid::kBrightnessSlider), Qt::Key_Home);
    sim_->ClearFrameLog();
    prompt_.answers = {true};
    w.OnCommand(id::kDefault);
    const std::vector<SettingsWrite> writes = SettingsWrites();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front().address, 0);
    EXPECT_EQ(writes.front().data[0], 1) << "effect 1 is chosen first";
    const std::vector<std::uint8_t> block{0x01, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                                          0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                                          0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
    EXPECT_EQ(writes.back(), (SettingsWrite{0, block}));
    EXPECT_EQ(ColourWrites().size(), 8u) << "the per-key colours go out again from the pristine file";
    EXPECT_EQ(Control<CImageSlider>(pid::kBrightnessSlider)->Position(), 4);
    EXPECT_EQ(Control<CImageSlider>(pid::kSpeedSlider)->Position(), 4);
    EXPECT_EQ(Picture(pid::kSecondColourfulToggle), "sjsdown.bmp");
    EXPECT_EQ(Control<CColourButton>(pid::kSecondColourButton)->Colour(), QColor(255, 0, 0));
    EXPECT_EQ(Control<QComboBox>(pid::kEffectSelector)->currentIndex(), Panel().Model().Settings().Effects().PositionOf(1));
}

TEST_F(LightingWindow, RefusedSwitchLeavesTheViewOff) {
    // While the key editor is open the user clicks the lighting toggle.
    keyEditor_.onRun = [this](const EditorRequest&) { Click(Control<CPictureButton>(pid::kLightingViewToggle)); };
    Start();
    const std::string before = DengCheck();
    window_->OnCommand(1058);
    EXPECT_FALSE(Panel().ViewOn());
    EXPECT_EQ(Picture(pid::kLightingViewToggle), "dengup.bmp");
    EXPECT_EQ(DengCheck(), before);
    EXPECT_EQ(prompt_.messages.back(), Text(TextId::PROFILE_SEELCT_PROMPT2));
}

TEST_F(LightingWindow, PaintingKeysWritesTheirSlotsAndTheUserFile) {
    Start();
    CQuorvaneDlg& w = *window_;
    TurnViewOn();
    ChooseEffect(20);
    Click(Control<CPictureButton>(pid::kPaintToolPicture));
    EXPECT_EQ(Picture(pid::kPaintToolPicture), "user2down.bmp");
    EXPECT_EQ(Picture(pid::kEraseToolPicture), "user1up.bmp");
    PickColour(pid::kBaseColourButton, QColor(0, 255, 0));

    sim_->ClearFrameLog();
    const int a = lighting::ColourSlotOfButton(1058);
    Click(w.Button(1058));
    ASSERT_EQ(ColourWrites().size(), 1u);
    const auto f = ColourWrites().front();
    EXPECT_EQ(frame::Address(f.data()), 0 * 512 + 3 * a);
    EXPECT_EQ(f[frame::kLength], 3);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 8, f.begin() + 11), (std::vector<std::uint8_t>{0, 255, 0}));
    EXPECT_EQ(w.Button(1058)->LightColour(), QColor(0, 255, 0));
    // What the user sees: the cap takes the colour, the legend stays readable in dark ink.
    const QImage cap = w.Button(1058)->grab().toImage();
    const QColor body = cap.pixelColor(4, cap.height() / 2);
    EXPECT_GT(body.green(), 150);
    EXPECT_LT(body.red(), 60);
    EXPECT_LT(body.blue(), 60);
    const int mode = Panel().Model().UserModes().State().mode;
    const auto file = lighting::UserLightingFile::Load(lighting::UserLightingFilePath(UserFiles().userLightingPrefix, 0));
    EXPECT_EQ(file.Key(mode, a), (lighting::UserKeyEntry{lighting::MakeColour(0, 255, 0), true}));

    sim_->ClearFrameLog();
    Click(w.Button(GKeyButtons()[0]));
    ASSERT_EQ(ColourWrites().size(), 1u);
    EXPECT_EQ(frame::Address(ColourWrites().front().data()), 3 * lighting::kGKeySlot);

    // D keys have no slot of their own; they paint nothing.
    sim_->ClearFrameLog();
    w.OnCommand(id::kFirstD);
    EXPECT_TRUE(ColourWrites().empty());
}

TEST_F(LightingWindow, MacroButtonOpensTheG9EditorInTheViewAndPaintsNothing) {
    const std::vector<EditorRequest>& edits = keyEditor_.requests;
    Start();
    TurnViewOn();
    ChooseEffect(20);
    Click(Control<CPictureButton>(pid::kPaintToolPicture));
    sim_->ClearFrameLog();
    window_->OnCommand(id::kMacro);
    ASSERT_EQ(edits.size(), 1u);
    EXPECT_EQ(edits[0].recordIndex, kGKeyRecordFirst + 8);
    EXPECT_TRUE(edits[0].macroOnly);
    EXPECT_TRUE(ColourWrites().empty()) << "slot 125 is not painted";
    window_->OnCommand(1058);
    EXPECT_EQ(edits.size(), 1u) << "a key click in the view still paints instead";
    EXPECT_EQ(ColourWrites().size(), 1u);
}

TEST_F(LightingWindow, BaseColourRecoloursOnlyThePaintedKeys) {
    Start();
    CQuorvaneDlg& w = *window_;
    TurnViewOn();
    ChooseEffect(20);
    Click(Control<CPictureButton>(pid::kPaintToolPicture));
    PickColour(pid::kBaseColourButton, QColor(0, 0, 255));
    Click(w.Button(1058));  // A painted
    Click(Control<CPictureButton>(pid::kEraseToolPicture));
    PickColour(pid::kEraseColourButton, QColor(10, 10, 10));
    Click(w.Button(1059));  // S erased

    sim_->ClearFrameLog();
    PickColour(pid::kBaseColourButton, QColor(255, 128, 0));
    EXPECT_EQ(w.Button(1058)->LightColour(), QColor(255, 128, 0));
    EXPECT_EQ(w.Button(1059)->LightColour(), QColor(10, 10, 10)) << "erased keys keep their colour";
    EXPECT_EQ(ColourWrites().size(), 8u);
    const int s = lighting::ColourSlotOfButton(1059);
    EXPECT_EQ(sim_->Read(QV_SIM_KEY_COLOURS, static_cast<std::uint32_t>(3 * s), 3), (std::vector<std::uint8_t>{10, 10, 10}));
    const int a = lighting::ColourSlotOfButton(1058);
    EXPECT_EQ(sim_->Read(QV_SIM_KEY_COLOURS, static_cast<std::uint32_t>(3 * a), 3), (std::vector<std::uint8_t>{255, 128, 0}));
}

TEST_F(LightingWindow, UserModesAreChosenAndRenamedInTheirBox) {
    Start();
    TurnViewOn();
    ChooseEffect(20);
    auto* modes = Control<QComboBox>(pid::kUserModeSelector);
    ASSERT_EQ(modes->count(), 10);
    EXPECT_EQ(modes->itemText(1), "WASD");
    const auto path = lighting::UserLightingFilePath(UserFiles().userLightingPrefix, 0);

    sim_->ClearFrameLog();
    modes->activated(1);
    EXPECT_EQ(lighting::UserLightingFile::Load(path).PresentMode(), 1);
    EXPECT_EQ(ColourWrites().size(), 8u) << "the chosen mode goes to the keyboard";
    EXPECT_EQ(modes->lineEdit()->text(), "WASD") << "choosing does not rename";
    EXPECT_EQ(lighting::UserLightingFile::Load(path).ModeName(0), "Ice Blue");

    modes->lineEdit()->selectAll();
    QTest::keyClicks(modes->lineEdit(), "Arena");
    EXPECT_EQ(modes->itemText(1), "Arena");
    EXPECT_EQ(modes->count(), 10) << "a name never adds an entry";
    EXPECT_EQ(lighting::UserLightingFile::Load(path).ModeName(1), "Arena");
    modes->lineEdit()->selectAll();
    modes->lineEdit()->insert("two\nlines");
    EXPECT_EQ(lighting::UserLightingFile::Load(path).ModeName(1).find('\n'), std::string::npos);
}

TEST_F(LightingWindow, ArrivalReadsTheLightingInOneGroupWithTheKeyColoursInside) {
    Start();
    // The window's lighting load: the global block, then one group holding the per-key colours
    // (a group of their own) and the three records.
    const std::vector<std::uint8_t> c = Commands();
    std::vector<std::uint8_t> expected{frame::kReadGlobalBlock, frame::kBeginConfig, frame::kBeginConfig};
    expected.insert(expected.end(), 8, frame::kWriteKeyColours);
    expected.insert(expected.end(), {frame::kEndConfig, frame::kReadSettingsMemory, frame::kReadSettingsMemory,
                                     frame::kReadSettingsMemory, frame::kEndConfig});
    const auto at = std::search(c.begin(), c.end(), expected.begin(), expected.end());
    EXPECT_NE(at, c.end()) << "arrival reading sequence not found";
    // A reload (the keyboard's own event) reads the lighting only.
    sim_->ClearFrameLog();
    window_->StartTimer(ui::kTimerLightingReload, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window_->TimerRunning(ui::kTimerLightingReload); }, 1000));
    EXPECT_EQ(Commands(), (std::vector<std::uint8_t>{frame::kReadGlobalBlock, frame::kBeginConfig,
                                                     frame::kReadSettingsMemory, frame::kReadSettingsMemory,
                                                     frame::kReadSettingsMemory, frame::kEndConfig}));
}

TEST_F(LightingWindow, ProfileButtonShowsItsRateAndTurnsTheViewOff) {
    Start([](const hidserv::SimControl& sim) {
        sim.Write(QV_SIM_SETTINGS, 0 * 42 + 15, {0});
        sim.Write(QV_SIM_SETTINGS, 2 * 42 + 15, {3});
        sim.Write(QV_SIM_SETTINGS, 2 * 42 + 0, {17});
    });
    CQuorvaneDlg& w = *window_;
    EXPECT_EQ(w.Button(id::kReport1)->ChooseFace(), CPngButton::Face::kAltOn);
    TurnViewOn();
    w.OnCommand(id::kProfile3);
    EXPECT_EQ(State().shownProfile, 2);
    EXPECT_EQ(w.Button(id::kReport4)->ChooseFace(), CPngButton::Face::kAltOn);
    EXPECT_EQ(w.Button(id::kReport1)->ChooseFace(), CPngButton::Face::kNormal) << "the other rate is not lit";
    EXPECT_FALSE(Panel().ViewOn());
    EXPECT_EQ(DengCheck(), "0");
    EXPECT_EQ(Picture(pid::kLightingViewToggle), "dengup.bmp");
    EXPECT_FALSE(w.Button(1058)->LightColour().has_value()) << "keys show their assignments again";
    EXPECT_EQ(Panel().Model().Settings().State().effect, 17) << "the panel shows profile 3";
}

TEST_F(LightingWindow, PreviewPaintsKeysOnlyWhileTheViewIsOnAndTheWindowShown) {
    Start();
    CQuorvaneDlg& w = *window_;
    TurnViewOn();
    ChooseEffect(4);
    CPngButton* esc = w.Button(1022);
    ASSERT_TRUE(QTest::qWaitFor([&] { return esc->LightColour().has_value(); }, 1000));
    const QColor shown = *esc->LightColour();
    EXPECT_TRUE(QTest::qWaitFor([&] { return esc->LightColour() != shown; }, 1000)) << "the wheel turns";

    w.hide();
    const int phase = Panel().Model().Preview().Phase(4);
    QTest::qWait(200);
    EXPECT_EQ(Panel().Model().Preview().Phase(4), phase) << "no preview work while hidden";
    EXPECT_TRUE(w.TimerRunning(ui::kTimerPreview));

    w.OpenWindow();
    Click(Control<CPictureButton>(pid::kLightingViewToggle));
    for (int i = 0; i < lighting::kColourButtonCount; ++i) {
        EXPECT_FALSE(w.Button(lighting::ColourButtonAt(i))->LightColour().has_value());
    }
}

// The preview timer stays armed but only wakes the program while a tick would draw something.
TEST_F(LightingWindow, PreviewTimerSleepsWhileNothingWouldBeDrawn) {
    Start();
    CQuorvaneDlg& w = *window_;
    EXPECT_TRUE(w.TimerRunning(ui::kTimerPreview));
    EXPECT_FALSE(w.TimerWakes(ui::kTimerPreview)) << "view off";
    TurnViewOn();
    ChooseEffect(4);
    EXPECT_TRUE(w.TimerWakes(ui::kTimerPreview));
    const int phase = Panel().Model().Preview().Phase(4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel().Model().Preview().Phase(4) != phase; }, 1000));

    w.hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.TimerWakes(ui::kTimerPreview); }, 1000)) << "hidden";
    EXPECT_TRUE(w.TimerRunning(ui::kTimerPreview));
    w.OpenWindow();
    EXPECT_TRUE(w.TimerWakes(ui::kTimerPreview)) << "shown again with the view on";
    const int shownPhase = Panel().Model().Preview().Phase(4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Panel().Model().Preview().Phase(4) != shownPhase; }, 1000));
}

// Most starts never turn the view on; its pictures are read when it first colours a key.
TEST_F(LightingWindow, ColourPicturesAreReadWhenTheViewFirstColoursAKey) {
    Start();
    CQuorvaneDlg& w = *window_;
    CPngButton* esc = w.Button(1022);
    EXPECT_FALSE(Panel().ColourPicturesLoaded());
    const QImage plain = esc->grab().toImage();
    TurnViewOn();
    ChooseEffect(4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return esc->LightColour().has_value(); }, 1000));
    EXPECT_TRUE(Panel().ColourPicturesLoaded());
    EXPECT_NE(esc->grab().toImage(), plain) << "the key is drawn on its coloured cap";
}

TEST_F(LightingWindow, FirstStartSeedsTheUserLightingFilesOnce) {
    Start();
    const auto templateText = [] {
        std::ifstream in(Paths().userLightingTemplatePrefix.string() + "3.userd", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_FALSE(templateText.empty());
    for (int i = 0; i < 4; ++i) {
        const auto file = lighting::UserLightingFilePath(UserFiles().userLightingPrefix, i);
        ASSERT_TRUE(std::filesystem::exists(file)) << i;
        EXPECT_EQ(lighting::UserLightingFile::Load(file).ModeName(0), "Ice Blue");
    }
    EXPECT_EQ(ini::GetString(UserFiles().settingsFile, "KEYCOLOR", "usermodeCheck", ""), "1");

    // A later start leaves the user's files alone.
    const auto mine = lighting::UserLightingFilePath(UserFiles().userLightingPrefix, 0);
    { std::ofstream(mine) << "[MODENAME]\n0=Mine\n"; }
    session_->Close();
    window_.reset();
    session_.reset();
    Start();
    EXPECT_EQ(lighting::UserLightingFile::Load(mine).ModeName(0), "Mine");
}

// The pictures of the lighting panel in the documentation: QV_SCREENSHOT_DIR names the folder.
TEST_F(LightingWindow, Screenshots) {
    const char* dir = std::getenv("QV_SCREENSHOT_DIR");
    if (dir == nullptr) GTEST_SKIP() << "set QV_SCREENSHOT_DIR to write the pictures";
    const auto save = [&](const char* name) {
        ASSERT_TRUE(window_->grab().save(QString::fromLocal8Bit(dir) + "/" + name)) << name;
    };
    Start();
    TurnViewOn();
    ChooseEffect(3);
    Click(Control<CPictureButton>(pid::kSecondColourfulToggle));
    if (Picture(pid::kSecondColourfulToggle) != "sjsdown.bmp") Click(Control<CPictureButton>(pid::kSecondColourfulToggle));
    QTest::qWait(700);  // well into the animation
    save("screenshot-lighting-wave.png");

    ChooseEffect(17);
    Click(Control<CPictureButton>(pid::kColourChoiceFirst + 3));
    QTest::qWait(100);
    save("screenshot-lighting-effect17.png");

    ChooseEffect(20);
    Control<QComboBox>(pid::kUserModeSelector)->activated(1);  // the ready-made WASD layout
    Click(Control<CPictureButton>(pid::kPaintToolPicture));
    PickColour(pid::kBaseColourButton, QColor(255, 190, 0));  // WASD follows
    for (int key : {1103, 1100, 1101, 1102, 1083, 1084, 1085}) Click(window_->Button(key));  // arrows, Ctrl Win Alt
    Click(Control<CPictureButton>(pid::kEraseToolPicture));
    PickColour(pid::kEraseColourButton, QColor(255, 40, 90));
    for (int key : {1022, 1010, 1011, 1012, 1013}) Click(window_->Button(key));  // Esc, F1..F4
    QTest::qWait(100);
    save("screenshot-lighting-effect20.png");
}

// While the view shows colours one field over the keys paints them; whatever changes a key's
// look still has to reach the screen, not only the preview's colours.
TEST_F(LightingWindow, ColouredKeysArePaintedInOnePassAndShowEveryChangeOfTheirLooks) {
    Start();
    CQuorvaneDlg& w = *window_;
    CPngButton* esc = w.Button(1022);
    CPngButton* g1 = w.Button(GKeyButtons()[0]);
    TurnViewOn();
    ChooseEffect(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return esc->LightColour().has_value(); }, 1000));
    // The ticks are driven by hand from here.
    w.KillTimer(ui::kTimerPreview);
    const auto settle = [] { QTest::qWait(30); };
    const auto onScreen = [&](const CPngButton* key) {
        return w.screen()->grabWindow(w.winId()).toImage().copy(key->geometry()).convertToFormat(QImage::Format_RGB32);
    };
    const auto ownLook = [](CPngButton* key) { return key->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    settle();
    ASSERT_FALSE(onScreen(esc).isNull()) << "the screen can be read here";
    EXPECT_EQ(onScreen(esc), ownLook(esc));

    PaintCounter field, key;
    QWidget* fieldWidget = w.findChild<QWidget*>(QStringLiteral("key_field"));
    ASSERT_NE(fieldWidget, nullptr);
    // Repaints still to come from before (the keyboard's profile marking keys late in a slow
    // build) would join the tick's: wait until the field has been left alone for a while.
    {
        PaintCounter late;
        fieldWidget->installEventFilter(&late);
        for (int i = 0; i < 30; ++i) {
            late.paints = 0;
            QTest::qWait(100);
            if (late.paints == 0) break;
        }
        fieldWidget->removeEventFilter(&late);
    }
    fieldWidget->installEventFilter(&field);
    esc->installEventFilter(&key);
    std::map<CPngButton*, std::optional<QColor>> before;
    for (int i = 0; i < lighting::kColourButtonCount; ++i) {
        CPngButton* k = w.Button(lighting::ColourButtonAt(i));
        if (k != nullptr && k->isVisible()) before[k] = k->LightColour();
    }
    Panel().PreviewTick();
    settle();
    ASSERT_NE(esc->LightColour(), before[esc]) << "the tick recoloured the key";
    EXPECT_EQ(field.paints, 1);
    EXPECT_EQ(key.paints, 0) << "the key was drawn by the field, not by itself";
    // Every key the tick changed was repainted, and no key it left alone (a caption costs).
    int left = 0;
    for (const auto& [k, colour] : before) {
        const QRect place = k->geometry().translated(-fieldWidget->pos());
        if (k->LightColour() != colour) {
            EXPECT_EQ(field.lastRegion.intersected(place), QRegion(place)) << k->ControlId();
            EXPECT_EQ(onScreen(k), ownLook(k)) << k->ControlId();
        } else {
            ++left;
            EXPECT_FALSE(field.lastRegion.intersects(place)) << k->ControlId();
        }
    }
    EXPECT_GT(left, 0) << "some keys keep their colour from one tick to the next";

    QTest::mousePress(esc, Qt::LeftButton, Qt::NoModifier, esc->rect().center());
    settle();
    ASSERT_TRUE(esc->isDown());
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "pressed";
    QTest::mouseRelease(esc, Qt::LeftButton, Qt::NoModifier, esc->rect().center());
    settle();
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "released";

    esc->setEnabled(false);
    settle();
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "disabled";
    esc->setEnabled(true);
    settle();
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "enabled again";

    const QImage captioned = onScreen(g1);
    g1->SetCaption(QStringLiteral("Z9"));
    settle();
    EXPECT_NE(onScreen(g1), captioned);
    EXPECT_EQ(onScreen(g1), ownLook(g1)) << "a new caption";

    // The flip puts the D keys, which have no colour, in the F keys' place.
    CPngButton* f1 = w.Button(id::kF1);
    CPngButton* d1 = w.Button(id::kFirstD);
    ASSERT_TRUE(f1->isVisible());
    w.OnCommand(id::kFlip1);
    settle();
    ASSERT_FALSE(f1->isVisible());
    ASSERT_TRUE(d1->isVisible());
    EXPECT_EQ(onScreen(d1), ownLook(d1)) << "the D key shows where the F key was";
    w.OnCommand(id::kFlip1);
    settle();
    ASSERT_TRUE(f1->isVisible());
    EXPECT_EQ(onScreen(f1), ownLook(f1)) << "and the F key again";

    // A key moved while coloured is drawn at its new place, with its new colour.
    const QPoint escAt = esc->pos();
    esc->move(escAt - QPoint(3, 0));
    Panel().PreviewTick();
    settle();
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "moved";
    esc->move(escAt);
    settle();
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "moved back";

    Click(Control<CPictureButton>(lighting::panel_id::kLightingViewToggle));
    ASSERT_FALSE(Panel().ViewOn());
    settle();
    EXPECT_FALSE(esc->LightColour().has_value());
    EXPECT_FALSE(fieldWidget->isVisible());
    EXPECT_EQ(onScreen(esc), ownLook(esc)) << "back to the plain look";
}

}  // namespace
}  // namespace qv::test
