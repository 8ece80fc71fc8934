// The main window moved between screens of different device pixel ratios, as a user drags it to
// another monitor. Needs Qt's offscreen platform with screens at 1x, 2x and 1.5x
// (screens_1x_2x_1.5x.json beside this file, its own ctest entry); with one screen it is skipped.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include "core/keyboard/key_buttons.h"
#include "ui/main/main_window_fixture.h"
#include "ui/skin/png_button.h"

namespace qv::test {
namespace {

int ButtonOf(KeyCode code) {
    for (const KeyButton& k : KeyButtonTable()) {
        if (k.code == code) return k.controlId;
    }
    return 0;
}

QScreen* ScreenOfRatio(double ratio) {
    for (QScreen* s : QGuiApplication::screens()) {
        if (s->devicePixelRatio() == ratio) return s;
    }
    return nullptr;
}

// Share of the pixels in `area` (logical) where the fine picture differs from the plain one
// doubled pixel by pixel.
double ShareDifferingFromDoubled(const QImage& plain, const QImage& fine, const QRect& area) {
    const QImage doubled = plain.scaled(plain.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    long differing = 0, all = 0;
    for (int y = area.top() * 2; y <= area.bottom() * 2; ++y) {
        for (int x = area.left() * 2; x <= area.right() * 2; ++x) {
            ++all;
            if (doubled.pixel(x, y) != fine.pixel(x, y)) ++differing;
        }
    }
    return all == 0 ? 0 : double(differing) / double(all);
}

class ScreenChange : public SimulatedWindowFixture {};

TEST_F(ScreenChange, TheWindowRedrawsAtTheRatioOfTheScreenItIsMovedTo) {
    QScreen* plain = ScreenOfRatio(1);
    QScreen* fine = ScreenOfRatio(2);
    if (plain == nullptr || fine == nullptr) GTEST_SKIP() << "needs a screen at 1x and one at 2x";
    ui::CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    w.move(plain->geometry().topLeft());
    Settle(50);
    ASSERT_DOUBLE_EQ(w.PictureRatio(), 1);
    const QSize size = w.size();
    const QRegion shape = w.Shape();
    const QImage before = w.grab().toImage();

    w.move(fine->geometry().topLeft() + QPoint(20, 20));
    ASSERT_TRUE(SettleUntil([&] { return w.PictureRatio() == 2; })) << "the window followed its new screen";
    EXPECT_EQ(w.size(), size) << "the layout is logical";
    EXPECT_EQ(w.Shape(), shape) << "the shape and hit-testing are logical";
    EXPECT_DOUBLE_EQ(w.Background().devicePixelRatio(), 2);
    const ui::CPngButton* esc = w.Button(ButtonOf(0x001));
    ASSERT_NE(esc, nullptr);
    EXPECT_DOUBLE_EQ(esc->Faces().normal->devicePixelRatio(), 2) << "the key faces were loaded again";
    Settle(50);
    const QImage after = w.grab().toImage();
    ASSERT_EQ(after.size(), size * 2);
    // The key field, from the Esc key to the keypad: legends and edges drawn finely, not doubled.
    const QRect keys = esc->geometry().united(w.Button(ButtonOf(0x11C))->geometry());
    EXPECT_GT(ShareDifferingFromDoubled(before, after, keys), 0.05);
    // A G key's caption is drawn by the button itself, not taken from a picture.
    const ui::CPngButton* g1 = w.Button(GKeyButtons()[0]);
    ASSERT_NE(g1, nullptr);
    ASSERT_FALSE(g1->text().isEmpty());
    EXPECT_GT(ShareDifferingFromDoubled(before, after, g1->geometry()), 0.05);

    w.move(plain->geometry().topLeft());
    ASSERT_TRUE(SettleUntil([&] { return w.PictureRatio() == 1; }));
    Settle(50);
    EXPECT_EQ(w.grab().toImage(), before) << "back on the plain screen, the window is as it was";
}

TEST_F(ScreenChange, AFractionalRatioDrawsEveryDevicePixelOfTheSameLayout) {
    QScreen* plain = ScreenOfRatio(1);
    QScreen* between = ScreenOfRatio(1.5);
    if (plain == nullptr || between == nullptr) GTEST_SKIP() << "needs a screen at 1x and one at 1.5x";
    ui::CQuorvaneDlg& w = Start(true);
    ASSERT_TRUE(SettleUntil([&] { return opened_->count() == 1; }));
    w.move(plain->geometry().topLeft());
    Settle(50);
    const QSize size = w.size();
    const QRegion shape = w.Shape();

    w.move(between->geometry().topLeft() + QPoint(20, 20));
    ASSERT_TRUE(SettleUntil([&] { return w.PictureRatio() == 1.5; }));
    EXPECT_EQ(w.size(), size);
    EXPECT_EQ(w.Shape(), shape);
    // The 2x pictures scaled down once on loading: the background covers the window's device
    // pixels exactly, so painting copies them one to one.
    EXPECT_DOUBLE_EQ(w.Background().devicePixelRatio(), 1.5);
    EXPECT_EQ(w.Background().size(), size * 1.5);
    const ui::CPngButton* esc = w.Button(ButtonOf(0x001));
    ASSERT_NE(esc, nullptr);
    EXPECT_DOUBLE_EQ(esc->Faces().normal->devicePixelRatio(), 1.5);
    Settle(50);
    const QImage drawn = w.grab().toImage();
    ASSERT_EQ(drawn.size(), size * 1.5);
    // The key's legend is in its face: a key drawn from a missing or blank face would be one colour.
    const QRect escPixels(esc->x() * 3 / 2, esc->y() * 3 / 2, esc->width() * 3 / 2, esc->height() * 3 / 2);
    const QImage escDrawn = drawn.copy(escPixels);
    int bright = 0;
    for (int y = 0; y < escDrawn.height(); ++y) {
        for (int x = 0; x < escDrawn.width(); ++x) bright += qGray(escDrawn.pixel(x, y)) > 180 ? 1 : 0;
    }
    EXPECT_GT(bright, 10) << "the Esc legend is drawn";
}

}  // namespace
}  // namespace qv::test
