// The key editor as a user drives it: the real dialog over the main window, the simulated
// keyboard through the real service library, keys typed as key events, the result read back
// from the keyboard with quorvanectl.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGuiApplication>
#include <QScreen>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "ui/main/main_window_fixture.h"
#include "core/app/settings.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_names.h"
#include "core/editor/composite_editor.h"
#include "core/editor/composite_ids.h"
#include "core/profile/profile_file.h"
#include "hidserv/sim_control_client.h"
#include "ui/app/device_session.h"
#include "ui/controls/report_list.h"
#include "ui/controls/styled_combo.h"
#include "ui/editor/composite_dlg.h"
#include "ui/editor/composite_editor_service.h"
#include "ui/common/window_messages.h"

namespace qv::test {
namespace {

namespace cid = composite_id;
using ui::Quorvane_DlgComposite;

int ButtonOf(KeyCode code) {
    for (const KeyButton& k : KeyButtonTable()) {
        if (k.code == code) return k.controlId;
    }
    return 0;
}

class EditorOverSimulatedKeyboard : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        setenv("QUORVANE_SIMULATE", "1", 1);
        setenv("QUORVANE_SIM_STATE", (home_.path() / "initial.state").c_str(), 1);
        // The desktop's on-screen keyboard is looked for on the PATH; here there is none.
        oldPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (home_.path() / "no-programs").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        if (session_) session_->Close();
        if (sim_) sim_->Reset("", false);
        window_.reset();
        editor_.reset();
        session_.reset();
        MainWindowFixture::TearDown();
    }

    ui::CQuorvaneDlg& Start() {
        session_ = std::make_unique<ui::DeviceSession>();
        session_->SetBeforeStart([this](device::DeviceLink& link) {
            sim_ = std::make_unique<hidserv::SimControl>(link.Service().Handle());
            ASSERT_TRUE(sim_->Valid());
            ASSERT_EQ(sim_->Reset(StateFile().string(), true), 1);
        });
        editor_ = std::make_unique<ui::CompositeEditorService>(&prompt_);
        ui::CQuorvaneDlg::Services services;
        services.device = session_.get();
        services.keyEditor = editor_.get();
        ui::CQuorvaneDlg& w = MakeWindow(std::move(services));
        QSignalSpy opened(&w, &ui::CQuorvaneDlg::windowOpened);
        EXPECT_TRUE(QTest::qWaitFor([&] { return opened.count() == 1; }, 3000));
        return w;
    }
    std::filesystem::path StateFile() const { return home_.path() / "keyboard.state"; }

    // Clicks a key button of the main window and runs `script` while the editor it opens runs
    // modally; whatever the script leaves open is cancelled so the test never hangs.
    void EditKey(int buttonId, const std::function<void(Quorvane_DlgComposite&)>& script) {
        QTimer::singleShot(0, [&] {
            Quorvane_DlgComposite* dlg = editor_->Dialog();
            if (dlg == nullptr || !QTest::qWaitForWindowExposed(dlg)) {
                ADD_FAILURE() << "the editor did not open";
                return;
            }
            script(*dlg);
            if (dlg->Editor().IsOpen()) {
                ADD_FAILURE() << "the script left the editor open";
                dlg->CancelEditor();
            }
        });
        window_->Button(buttonId)->click();
    }
    void Type(QWidget* target, Qt::Key key) {
        QTest::keyPress(target, key);
        QTest::keyRelease(target, key);
    }
    void Click(Quorvane_DlgComposite& dlg, int id) { dlg.Button(id)->click(); }

    // quorvanectl, as a shell runs it, against the simulated keyboard's memory.
    nlohmann::json ReadKeyboardBack() {
        const auto file = home_.path() / "read-back.qvn";
        const auto json = home_.path() / "read-back.json";
        const std::string env = "/usr/bin/env QUORVANE_SIMULATE=1 QUORVANE_SIM_STATE='" + StateFile().string() + "' ";
        const std::string ctl = "'" QV_BIN_DIR "/quorvanectl' ";
        EXPECT_EQ(std::system((env + ctl + "export '" + file.string() + "' >/dev/null").c_str()), 0);
        EXPECT_EQ(std::system((env + ctl + "show '" + file.string() + "' --json >'" + json.string() + "'").c_str()), 0);
        std::ifstream in(json);
        return nlohmann::json::parse(in, nullptr, false);
    }

    std::string oldPath_;
    std::unique_ptr<ui::DeviceSession> session_;
    std::unique_ptr<hidserv::SimControl> sim_;
    std::unique_ptr<ui::CompositeEditorService> editor_;
};

TEST_F(EditorOverSimulatedKeyboard, CapturedKeyIsAppliedAndTheKeyButtonSaysSo) {
    ui::CQuorvaneDlg& w = Start();
    const int a = ButtonOf(0x01E);
    EditKey(a, [&](Quorvane_DlgComposite& dlg) {
        EXPECT_TRUE(w.Model().CompositeEditorOpen());
        EXPECT_TRUE(dlg.Control(cid::kKeyEdit)->isVisible()) << "a key of factory function opens on the single key";
        EXPECT_FALSE(dlg.Control(cid::kActionList)->isVisible());
        EXPECT_FALSE(dlg.Button(cid::kApply)->isEnabled());
        // Enter and Escape are captured like any key and close nothing.
        Type(&dlg, Qt::Key_Escape);
        EXPECT_TRUE(dlg.isVisible());
        Type(&dlg, Qt::Key_Control);
        EXPECT_EQ(static_cast<QLineEdit*>(dlg.Control(cid::kKeyEdit))->text().toStdString(), KeyName(0x01D));
        EXPECT_TRUE(dlg.Button(cid::kApply)->isEnabled());
        Click(dlg, cid::kApply);
        EXPECT_FALSE(dlg.Button(cid::kApply)->isEnabled());
        EXPECT_TRUE(w.IsEditing()) << "the editor's Apply enables the window's Apply";
        EXPECT_NE(w.Button(a)->TooltipText().toStdString().find(Text(TextId::KEY_PROMPT_SINGLE) + KeyName(0x01D) + ")"),
                  std::string::npos)
            << w.Button(a)->TooltipText().toStdString();
        Click(dlg, cid::kCancel);
    });
    EXPECT_FALSE(w.Model().CompositeEditorOpen());
    EXPECT_TRUE(w.Button(a)->Assigned());
    {
        auto lock = WorkingStore().Lock();
        const KeyRecord& r = WorkingStore().Content().Record(0, KeyCodeToSlot(0x01E));
        EXPECT_EQ(r.type, AssignSingleKey);
        EXPECT_EQ(r.value, 0x01Du) << "Cancel after Apply keeps what was applied";
    }
}

TEST_F(EditorOverSimulatedKeyboard, RecordedMacroReachesTheKeyboardWithItsActionsAndPauses) {
    ui::CQuorvaneDlg& w = Start();
    const int b = ButtonOf(0x030);
    EditKey(b, [&](Quorvane_DlgComposite& dlg) {
        Click(dlg, cid::kPageMacro);
        EXPECT_TRUE(dlg.Control(cid::kActionList)->isVisible());
        EXPECT_FALSE(dlg.Control(cid::kKeyEdit)->isVisible());
        Click(dlg, cid::kAddMacro);
        auto* selector = static_cast<ui::CStyledComboBox*>(dlg.Control(cid::kMacroSelector));
        EXPECT_EQ(selector->currentText().toStdString(), Text(TextId::MACRO_NEW_PREFIX) + "1");
        Click(dlg, cid::kRecord);
        EXPECT_EQ(dlg.Button(cid::kRecord)->text().toStdString(), Text(TextId::MACRO_ACTION_STOP_RECORD));
        EXPECT_FALSE(dlg.Button(cid::kAddMacro)->isEnabled()) << "no macro added while recording";
        QTest::keyPress(&dlg, Qt::Key_A);
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a", true);
        QApplication::sendEvent(&dlg, &repeat);  // held: the repeat is swallowed, not recorded
        QTest::keyRelease(&dlg, Qt::Key_A);
        Type(&dlg, Qt::Key_B);
        Click(dlg, cid::kRecord);
        ui::CReportList* list = dlg.ActionList();
        ASSERT_EQ(list->rowCount(), 4);
        EXPECT_EQ(list->CellText(0, 0).toStdString(), KeyName(0x01E));
        EXPECT_EQ(list->CellText(3, 0).toStdString(), KeyName(0x030));
        EXPECT_EQ(list->CellText(2, 2), "50") << "without the record-delay option every pause is 50 ms";
        EXPECT_EQ(list->CellText(3, 2), "0");

        // The second row's pause, typed into its cell: rounded down to 10 ms.
        list->SelectRow(1);
        ASSERT_TRUE(list->OpenCellEditor(1, 2));
        auto* edit = qobject_cast<QLineEdit*>(list->OpenEditor());
        ASSERT_NE(edit, nullptr);
        edit->clear();
        QTest::keyClicks(edit, "1234");
        Click(dlg, cid::kOk);  // OK ends the cell edit first
    });
    EXPECT_TRUE(w.IsEditing());
    w.OnCommand(ui::id::kApply);
    EXPECT_FALSE(w.IsEditing()) << "the window's Apply reached the keyboard";

    const nlohmann::json shown = ReadKeyboardBack();
    ASSERT_TRUE(shown.is_object()) << shown.dump();
    ASSERT_EQ(shown["macros"].size(), 1u) << shown.dump();
    const nlohmann::json& macro = shown["macros"][0];
    EXPECT_EQ(macro["name"], Text(TextId::MACRO_NEW_PREFIX) + "1");
    const nlohmann::json& actions = macro["actions"];
    ASSERT_EQ(actions.size(), 4u) << macro.dump();
    const std::pair<int, bool> expected[] = {{0x01E, true}, {0x01E, false}, {0x030, true}, {0x030, false}};
    const int pauses[] = {50, 1230, 50, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(actions[i]["key"], KeyNameForScripts(static_cast<KeyCode>(expected[i].first))) << i;
        EXPECT_EQ(actions[i]["press"], expected[i].second) << i;
        EXPECT_EQ(actions[i]["delay"], pauses[i]) << i;
    }
    bool found = false;
    for (const auto& key : shown["profiles"][0]["keys"]) {
        if (key["key"] == KeyNameForScripts(0x030)) {
            found = true;
            EXPECT_EQ(key["type"], "macro");
            EXPECT_EQ(key["target"], macro["name"]);
        }
    }
    EXPECT_TRUE(found) << shown["profiles"][0].dump();
}

TEST_F(EditorOverSimulatedKeyboard, MacroButtonOpensMacroOnlyAndKeyboardRemovalCancels) {
    ui::CQuorvaneDlg& w = Start();
    QTimer::singleShot(0, [&] {
        Quorvane_DlgComposite* dlg = editor_->Dialog();
        ASSERT_NE(dlg, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg));
        EXPECT_TRUE(dlg->Control(cid::kActionList)->isVisible());
        for (int page : {cid::kPageSingleKey, cid::kPageMedia, cid::kPageFunction, cid::kClear}) {
            EXPECT_FALSE(dlg->Button(page)->isEnabled()) << page;
        }
        EXPECT_TRUE(dlg->Button(cid::kPageSingleKey)->text().isEmpty());
        dlg->Button(cid::kAddMacro)->click();
        // The on-screen keyboard that is not there says so.
        dlg->Button(cid::kOnScreenKeyboard)->click();
        EXPECT_EQ(prompt_.messages, (std::vector<std::string>{Text(TextId::EXTRA_NO_ON_SCREEN_KEYBOARD)}));
        // The keyboard leaves while the editor is open: the editor is cancelled.
        sim_->Attach(false);
    });
    w.OnCommand(ui::id::kMacro);
    EXPECT_FALSE(editor_->Dialog()->isVisible());
    EXPECT_FALSE(editor_->Editor()->IsOpen());
    auto lock = WorkingStore().Lock();
    EXPECT_TRUE(WorkingStore().Content().macros.empty()) << "the cancelled macro never reached the store";
    EXPECT_FALSE(w.IsEditing());
}

}  // namespace
}  // namespace qv::test

namespace qv::test {
namespace {

// The dialog alone over the working store: what it shows for the models' pages.
class EditorDialogAlone : public MainWindowFixture, public EditorHost {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        {
            auto lock = WorkingStore().Lock();
            CreateDefaultFile(WorkingStore());
        }
        editor_ = std::make_unique<CompositeEditor>(WorkingStore(), *this, prompt_,
                                                    SettingsStore(SettingsStore::DefaultFile()), Paths().textTable);
        ui::Quorvane_DlgComposite::Environment env{Paths().compositeSkin, Paths().skinFolder, Paths().helpFolder,
                                                   &prompt_};
        dlg_ = std::make_unique<ui::Quorvane_DlgComposite>(*editor_, env);
    }
    void TearDown() override {
        dlg_.reset();
        editor_.reset();
        MainWindowFixture::TearDown();
    }
    void SetEditing(bool) override { ++editing_; }
    void RefreshKeyButton(int) override {}
    void RefreshKeyButtons() override {}

    EditorRequest KeyA() const {
        EditorRequest r;
        r.recordIndex = KeyCodeToSlot(0x01E);
        r.buttonId = ButtonOf(0x01E);
        return r;
    }

    std::unique_ptr<CompositeEditor> editor_;
    std::unique_ptr<ui::Quorvane_DlgComposite> dlg_;
    int editing_ = 0;
};

TEST_F(EditorDialogAlone, PagesShowTheirControlsAndTheirPictures) {
    dlg_->Open(KeyA(), QRect(10, 10, 40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg_.get()));
    const QPixmap* keyPicture = dlg_->Button(cid::kPagePicture)->Faces().disabled;
    EXPECT_TRUE(dlg_->Button(cid::kPageSingleKey)->ChooseFace() == ui::CPngButton::Face::kAltOn);
    EXPECT_TRUE(dlg_->Button(cid::kPageMedia)->ChooseFace() != ui::CPngButton::Face::kAltOn);

    dlg_->Button(cid::kPageMedia)->click();
    EXPECT_TRUE(dlg_->Control(cid::kMediaList)->isVisible());
    EXPECT_FALSE(dlg_->Control(cid::kKeyEdit)->isVisible());
    EXPECT_NE(dlg_->Button(cid::kPagePicture)->Faces().disabled, keyPicture) << "the page picture follows the page";
    EXPECT_TRUE(dlg_->Button(cid::kPageMedia)->ChooseFace() == ui::CPngButton::Face::kAltOn);
    auto* media = static_cast<ui::CStyledComboBox*>(dlg_->Control(cid::kMediaList));
    EXPECT_EQ(media->count(), 18);
    EXPECT_EQ(static_cast<ui::CStyledComboBox*>(dlg_->Control(cid::kFunctionList))->count(), 13)
        << "the application functions, then Disabled and Stop macro";
    emit media->activated(6);
    dlg_->Button(cid::kOk)->click();
    EXPECT_FALSE(dlg_->isVisible());
    EXPECT_GT(editing_, 0);
    auto lock = WorkingStore().Lock();
    const KeyRecord& r = WorkingStore().Content().Record(0, KeyCodeToSlot(0x01E));
    EXPECT_EQ(r.type, AssignMedia);
    EXPECT_EQ(r.value, 6u);
}

TEST_F(EditorDialogAlone, OpensAboveLeftOfAButtonInTheScreensCorner) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const QRect button(screen.right() - 40, screen.bottom() - 30, 40, 30);
    dlg_->Open(KeyA(), button);
    EXPECT_EQ(dlg_->pos(), QPoint(button.left() - dlg_->width(), button.top() - dlg_->height()));
    dlg_->Button(cid::kCancel)->click();
    EXPECT_FALSE(editor_->IsOpen());
}

// The editor as the main window opens it: a dialog of that window.
class EditorOverItsOwner : public EditorDialogAlone {
protected:
    void SetUp() override {
        EditorDialogAlone::SetUp();
        owner_.setFixedSize(1000, 500);
        owner_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner_));
        dlg_.reset();
        ui::Quorvane_DlgComposite::Environment env{Paths().compositeSkin, Paths().skinFolder, Paths().helpFolder,
                                                   &prompt_};
        dlg_ = std::make_unique<ui::Quorvane_DlgComposite>(*editor_, env, &owner_);
    }
    void TearDown() override {
        dlg_.reset();
        EditorDialogAlone::TearDown();
    }
    QWidget owner_;
};

TEST_F(EditorOverItsOwner, OnWaylandOpensAsTheMainWindowsDialogWithoutAPlaceOfItsOwn) {
    if (!QGuiApplication::platformName().startsWith("wayland")) GTEST_SKIP() << "windows can be placed here";
    // A button in the screen's corner would put the editor above-left of it elsewhere.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    dlg_->Open(KeyA(), QRect(screen.right() - 40, screen.bottom() - 30, 40, 30));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg_.get()));
    ASSERT_NE(dlg_->windowHandle(), nullptr);
    EXPECT_EQ(dlg_->windowHandle()->transientParent(), owner_.windowHandle())
        << "the compositor is told whose dialog it is";
    EXPECT_FALSE(dlg_->testAttribute(Qt::WA_Moved))
        << "a place next to the button would be ignored; the dialog is left to be centred over its owner";
    dlg_->Button(cid::kCancel)->click();
    EXPECT_FALSE(editor_->IsOpen());
}

TEST_F(EditorDialogAlone, EnterAndEscapeCloseNothingOnTheMacroPage) {
    dlg_->Open(KeyA(), QRect(10, 10, 40, 40));
    dlg_->Button(cid::kPageMacro)->click();
    dlg_->Button(cid::kAddMacro)->click();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(dlg_.get(), key);
        EXPECT_TRUE(dlg_->isVisible()) << key;
    }
    // Typing a name renames the macro that is current.
    auto* selector = static_cast<ui::CStyledComboBox*>(dlg_->Control(cid::kMacroSelector));
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector->lineEdit(), "Combo");
    EXPECT_EQ(editor_->Macros().MacroName(0), "Combo");
    EXPECT_EQ(selector->itemText(0), "Combo");
    dlg_->Button(cid::kCancel)->click();
    auto lock = WorkingStore().Lock();
    EXPECT_TRUE(WorkingStore().Content().macros.empty());
}

// The pictures of the editor in the documentation: QV_SCREENSHOT_DIR names the folder.
TEST_F(EditorDialogAlone, Screenshots) {
    const char* dir = std::getenv("QV_SCREENSHOT_DIR");
    if (dir == nullptr) GTEST_SKIP() << "set QV_SCREENSHOT_DIR to write the pictures";
    const auto save = [&](const char* name) {
        QTest::qWait(50);
        ASSERT_TRUE(dlg_->grab().save(QString::fromLocal8Bit(dir) + "/" + name)) << name;
    };
    dlg_->Open(KeyA(), QRect(10, 10, 40, 40));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg_.get()));
    save("screenshot-editor-single-key.png");
    dlg_->Button(cid::kPageMedia)->click();
    save("screenshot-editor-multimedia.png");
    dlg_->Button(cid::kPageMacro)->click();
    dlg_->Button(cid::kAddMacro)->click();
    save("screenshot-editor-macro.png");
    dlg_->Button(cid::kCancel)->click();
}

}  // namespace
}  // namespace qv::test
