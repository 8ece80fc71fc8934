#include "ui/controls/image_slider.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

namespace qv::test {
namespace {

using ui::CImageSlider;

TEST(ImageSlider, ReportsEachNewPositionOnceAndStaysInRange) {
    CImageSlider slider(1178, 6);
    slider.resize(150, 30);
    QSignalSpy moved(&slider, &CImageSlider::moved);

    slider.SetPosition(3);
    EXPECT_EQ(slider.Position(), 3);
    EXPECT_EQ(moved.count(), 0) << "a refresh is not a move";
    slider.SetPosition(9);
    EXPECT_EQ(slider.Position(), 5);

    QTest::keyClick(&slider, Qt::Key_Right);
    EXPECT_EQ(moved.count(), 0) << "already at the end";
    QTest::keyClick(&slider, Qt::Key_Home);
    QTest::keyClick(&slider, Qt::Key_Left);
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved[0][0].toInt(), 1178);
    EXPECT_EQ(moved[0][1].toInt(), 0);

    // Clicks left of the track and right of it land on the ends.
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(-20, 10));
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(400, 10));
    EXPECT_EQ(slider.Position(), 5);
    EXPECT_EQ(moved.count(), 2);
    for (int p = 0; p < 6; ++p) {
        QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.PositionX(p), 10));
        EXPECT_EQ(slider.Position(), p);
    }

    QWheelEvent down(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, -240), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(&slider, &down);
    EXPECT_EQ(slider.Position(), 3);
}

}  // namespace
}  // namespace qv::test
