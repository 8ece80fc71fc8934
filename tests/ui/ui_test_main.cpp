// One QApplication for all UI tests, on Qt's offscreen platform unless told otherwise.
#include <QApplication>
#include <gmock/gmock.h>

#include <cstdlib>

#include "ui/input/key_event_filter.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    qv::ui::InstallKeyEventFilter(app);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
