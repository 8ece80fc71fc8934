#pragma once
// A main window on the program folder's real skin, with its per-user files in a fresh folder.

#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>
#include <functional>
#include <memory>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/profile_store.h"
#include "hidserv/sim_control_client.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"
#include "ui/app/device_session.h"
#include "ui/main/main_window_state.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::test {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("XDG_CONFIG_HOME", (home_.path() / "config").c_str(), 1);
        SetProgramPaths(BuildProgramPaths(std::filesystem::path(QV_BIN_DIR) / "quorvane"));
        SetUserPaths(BuildUserPaths(home_.path() / "Documents"));
        LoadTextTable(Paths().textTable);
        ui::ResetMainState();
    }
    void TearDown() override {
        window_.reset();
        ui::ResetMainState();
    }

    // Builds and initialises the window; runs the deferred initialisation.
    ui::CQuorvaneDlg& MakeWindow(ui::CQuorvaneDlg::Services services = {}) {
        if (services.prompt == nullptr) services.prompt = &prompt_;
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

    TempDir home_;
    RecordingPrompt prompt_;
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
        ui::MainState().autoOpen = startSwitch ? 1 : 0;
        ui::CQuorvaneDlg::Services services = session_->Services();
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
