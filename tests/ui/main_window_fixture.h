#pragma once
// A main window on the program folder's real skin, with its per-user files in a fresh folder.

#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>
#include <memory>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/profile_store.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"
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

}  // namespace qv::test
