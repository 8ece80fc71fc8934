#include "main_window_fixture.h"

#include <QTest>

#include "core/app/settings.h"
#include "core/keyboard/key_buttons.h"
#include "ui/main/window_messages.h"

namespace qv::test {

void MainWindowFixture::QTest_Wait(int ms) { QTest::qWait(ms); }

namespace {

using ui::CQuorvaneDlg;
namespace id = ui::id;

TEST_F(MainWindowFixture, ScreenshotOfTheSkin) {
    CQuorvaneDlg& w = MakeWindow();
    ui::MainState().keyboardCount = 1;
    w.OpenWindow();
    Settle(50);
    w.grab().save("/tmp/main_window.png");
}

}  // namespace
}  // namespace qv::test
