#pragma once
// A main window on the program folder's real skin, with its per-user files in a fresh folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/profile_store.h"
#include "hidserv/sim_control_client.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"
#include "ui/app/device_session.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::test {

// A keyboard link without a keyboard side: the window's device rules stay idle, the facts are
// what the test says.
class FakeDevice : public ui::DeviceConnector {
public:
    bool Start(ui::CQuorvaneDlg&) override { return true; }
    device::CommandSet* Commands() override { return nullptr; }
    int KeyboardCount() const override { return count; }
    std::size_t MacroCapacity() const override { return 0; }
    int Bank() const override { return bank; }
    int count = 0;
    int bank = 0;
};

// The key editor's place: records what the window asked it to edit.
class RecordingKeyEditor : public ui::KeyEditorRunner {
public:
    void Run(const EditorRequest& request, QWidget*, const QRect&, EditorHost&) override {
        requests.push_back(request);
        if (onRun) onRun(request);
    }
    void Cancel() override { ++cancels; }
    std::vector<EditorRequest> requests;
    std::function<void(const EditorRequest&)> onRun;
    int cancels = 0;
};

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (home_.path() / "config").c_str(), 1);
        SetProgramPaths(BuildProgramPaths(std::filesystem::path(QV_BIN_DIR) / "quorvane"));
        SetUserPaths(BuildUserPaths(home_.path() / "Documents"));
        LoadTextTable(Paths().textTable);
    }
    void TearDown() override { window_.reset(); }

    // Builds and initialises the window; runs the deferred initialisation.
    ui::CQuorvaneDlg& MakeWindow(ui::CQuorvaneDlg::Services services = {}) {
        if (services.prompt == nullptr) services.prompt = &prompt_;
        if (services.device == nullptr) services.device = &device_;
        window_ = std::make_unique<ui::CQuorvaneDlg>(std::move(services));
        window_->OnInitDialog();
        QApplication::processEvents();
        return *window_;
    }
    void Settle(int ms = 0) {
        QApplication::processEvents();
        if (ms > 0) {
            QTest_Wait(ms);
        }
    }
    static void QTest_Wait(int ms);

    mainwin::MainWindowState& State() { return window_->Model().State(); }

    TempDir home_;
    RecordingPrompt prompt_;
    FakeDevice device_;
    std::unique_ptr<ui::CQuorvaneDlg> window_;
};

// A main window over the real service library running the simulated keyboard.
class SimulatedWindowFixture : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        setenv("QUORVANE_SIMULATE", "1", 1);
        setenv("QUORVANE_SIM_STATE", (home_.path() / "initial.state").c_str(), 1);
    }
    void TearDown() override {
        if (session_) session_->Close();
        if (sim_) sim_->Reset("", false);
        window_.reset();
        session_.reset();
        MainWindowFixture::TearDown();
    }

    ui::CQuorvaneDlg& Start(bool attached, bool startSwitch = false) {
        session_ = std::make_unique<ui::DeviceSession>();
        session_->SetBeforeStart([this, attached](device::DeviceLink& link) {
            sim_ = std::make_unique<hidserv::SimControl>(link.Service().Handle());
            ASSERT_TRUE(sim_->Valid());
            ASSERT_EQ(sim_->Reset((home_.path() / "keyboard.state").string(), attached), 1);
            if (prepareKeyboard_) prepareKeyboard_(*sim_);
        });
        ui::CQuorvaneDlg::Services services;
        services.device = session_.get();
        services.autoOpen = startSwitch ? 1 : 0;
        if (adjustServices_) adjustServices_(services);
        ui::CQuorvaneDlg& w = MakeWindow(std::move(services));
        opened_ = std::make_unique<QSignalSpy>(&w, &ui::CQuorvaneDlg::windowOpened);
        return w;
    }
    // Lets the presence worker run its course (it waits for the window's thread).
    bool SettleUntil(const std::function<bool()>& done, int ms = 3000) { return QTest::qWaitFor(done, ms); }
    int KeyboardCount() { return session_->Events()->Presence().LastKnownCount(); }

    std::unique_ptr<ui::DeviceSession> session_;
    std::unique_ptr<hidserv::SimControl> sim_;
    std::unique_ptr<QSignalSpy> opened_;
    // Set before Start: the window's services beyond the device link, and changes to the
    // keyboard's memory before the window first reads it.
    std::function<void(ui::CQuorvaneDlg::Services&)> adjustServices_;
    std::function<void(const hidserv::SimControl&)> prepareKeyboard_;
};

}  // namespace qv::test
