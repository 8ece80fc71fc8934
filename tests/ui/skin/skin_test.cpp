#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QStyleFactory>
#include <QTest>
#include <QWindow>

#include <fstream>

#include "support/paint_counter.h"
#include "support/temp_dir.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/mask_region.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_layout.h"

namespace qv::ui {
namespace {

QImage WhiteImage(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

bool SameArea(const QRegion& a, const QRegion& b) { return (a ^ b).isEmpty(); }

TEST(MaskRegion, AllWhiteGivesNoRegion) {
    EXPECT_TRUE(MaskRuns(WhiteImage(30, 20), qRgb(255, 255, 255), qRgb(0, 0, 0)).empty());
    EXPECT_TRUE(RegionFromMask(WhiteImage(30, 20)).isEmpty());
}

TEST(MaskRegion, OneOpaqueColumnGivesOneRectanglePerRow) {
    QImage img = WhiteImage(30, 20);
    for (int y = 0; y < 20; ++y) img.setPixel(7, y, qRgb(0, 0, 0));
    const auto runs = MaskRuns(img, qRgb(255, 255, 255), qRgb(0, 0, 0));
    ASSERT_EQ(runs.size(), 20u);
    for (int y = 0; y < 20; ++y) EXPECT_EQ(runs[static_cast<std::size_t>(y)], QRect(7, y, 1, 1));
    EXPECT_TRUE(SameArea(RegionFromMask(img), QRegion(7, 0, 1, 20)));
}

TEST(MaskRegion, NearWhiteIsOpaqueAtToleranceZeroAndTransparentWithinTolerance) {
    QImage img = WhiteImage(4, 1);
    img.setPixel(1, 0, qRgb(254, 255, 255));
    img.setPixel(2, 0, qRgb(254, 255, 255));
    EXPECT_EQ(MaskRuns(img, qRgb(255, 255, 255), qRgb(0, 0, 0)), (std::vector<QRect>{QRect(1, 0, 2, 1)}));
    EXPECT_TRUE(MaskRuns(img, qRgb(250, 250, 250), qRgb(10, 10, 10)).empty());
}

TEST(MaskRegion, ManyRunsBatchedEqualTheRegionBuiltAtOnce) {
    // A checkerboard of 120 x 60 gives 3600 runs: more than one batch of 2000.
    QImage img = WhiteImage(120, 60);
    for (int y = 0; y < 60; ++y)
        for (int x = (y % 2); x < 120; x += 2) img.setPixel(x, y, qRgb(0, 0, 0));
    const auto runs = MaskRuns(img, qRgb(255, 255, 255), qRgb(0, 0, 0));
    ASSERT_GT(runs.size(), 2000u);
    const QRegion batched = RegionFromRuns(runs);
    const QRegion atOnce = RegionFromRuns(runs, static_cast<int>(runs.size()));
    EXPECT_TRUE(SameArea(batched, atOnce));
    EXPECT_TRUE(SameArea(RegionFromRuns(runs, 7), atOnce));
    EXPECT_EQ(batched.rectCount(), atOnce.rectCount());
    EXPECT_TRUE(batched.contains(QPoint(0, 0)));
    EXPECT_FALSE(batched.contains(QPoint(1, 0)));
    EXPECT_TRUE(batched.contains(QPoint(1, 1)));
}

void Spit(const std::filesystem::path& p, const std::string& text) { std::ofstream(p) << text; }

TEST(SkinLayout, ImageButtonAtOneOneIsDisabledWhateverItsSize) {
    test::TempDir dir;
    const auto ini = dir.path() / "Main.ini";
    Spit(ini, "[BUTTONINFO]\nA=1,1,40,20\nB=10,20,30,40\n");
    CPngButton a(1), b(2), missing(3);
    LayoutImageButton(a, ini, kButtonSection, "A", {});
    EXPECT_FALSE(a.isEnabled());
    EXPECT_EQ(a.geometry(), QRect(1, 1, 40, 20));
    LayoutImageButton(b, ini, kButtonSection, "B", {});
    EXPECT_TRUE(b.isEnabled());
    EXPECT_EQ(b.SourceOrigin(), QPoint(10, 20));
    LayoutImageButton(missing, ini, kButtonSection, "NOPE", {});
    EXPECT_FALSE(missing.isEnabled());
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
}

TEST(SkinLayout, LabelIsMovedAndSizedPositionOnlyKeepsSize) {
    test::TempDir dir;
    const auto ini = dir.path() / "Main.ini";
    Spit(ini, "[BUTTONINFO]\nLABEL=10,20,30,40\nPOS=5,6,0,0\nSHORT=7,8\n");
    QLabel label, pos, shortEntry, missing;
    pos.setGeometry(50, 50, 33, 44);
    LayoutControl(label, ini, kButtonSection, "label");
    EXPECT_EQ(label.geometry(), QRect(10, 20, 30, 40));
    PlaceControl(pos, ini, kButtonSection, "POS");
    EXPECT_EQ(pos.geometry(), QRect(5, 6, 33, 44));
    LayoutControl(shortEntry, ini, kButtonSection, "SHORT");
    EXPECT_EQ(shortEntry.pos(), QPoint(7, 8));
    LayoutControl(missing, ini, kButtonSection, "MISSING");
    EXPECT_EQ(missing.geometry(), QRect(1, 1, 1, 1));
    EXPECT_TRUE(missing.isEnabled());
}

TEST(SkinLayout, ArrowTakesItsFacesFromTheSecondSection) {
    test::TempDir dir;
    const auto ini = dir.path() / "Main.ini";
    Spit(ini, "[BUTTONINFO]\nLEFT_ARROW=100,50,14,14\n[BUTTONINFO2]\nUP_ARROW_LEFT1=3,3,14,14\n");
    QPixmap arrows(40, 40);
    CPngButton arrow(1132);
    LayoutArrow(arrow, ini, "LEFT_ARROW", "UP_ARROW_LEFT1", &arrows);
    EXPECT_EQ(arrow.geometry(), QRect(100, 50, 14, 14));
    EXPECT_EQ(arrow.SourceOrigin(), QPoint(3, 3));
    EXPECT_EQ(arrow.Faces().disabled, &arrows);
}

// Four solid-colour face pictures: the colour at a button's centre tells which face it shows.
struct ColouredFaces {
    QPixmap normal{60, 60}, over{60, 60}, down{60, 60}, disabled{60, 60}, off{60, 60}, on{60, 60};
    ColouredFaces() {
        normal.fill(Qt::red);
        over.fill(Qt::green);
        down.fill(Qt::blue);
        disabled.fill(Qt::gray);
        off.fill(Qt::black);
        on.fill(Qt::white);
    }
    FaceSet Set() { return {&normal, &over, &down, &disabled}; }
};

QColor CentreColour(CPngButton& b) { return b.grab().toImage().pixelColor(b.width() / 2, b.height() / 2); }

TEST(PngButton, FaceChoiceOrderDisabledThenAlternativeThenPressedThenHover) {
    ColouredFaces faces;
    CPngButton b(1);
    b.setGeometry(10, 10, 20, 20);
    b.SetFaces(10, 10, faces.Set());
    EXPECT_EQ(CentreColour(b), QColor(Qt::red));

    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    EXPECT_TRUE(b.Hovered());
    EXPECT_EQ(CentreColour(b), QColor(Qt::green));
    b.setDown(true);
    EXPECT_EQ(CentreColour(b), QColor(Qt::blue));
    b.SetAltFaces(&faces.off, &faces.on, true, true);
    EXPECT_EQ(CentreColour(b), QColor(Qt::white));
    b.SetAltFaces(&faces.off, &faces.on, true, false);
    EXPECT_EQ(CentreColour(b), QColor(Qt::black));
    b.setEnabled(false);
    EXPECT_EQ(b.ChooseFace(), CPngButton::Face::kDisabled);
    EXPECT_EQ(CentreColour(b), QColor(Qt::gray));
}

TEST(PngButton, AFaceLeftNullIsDecodedOnceWhenFirstShown) {
    ColouredFaces faces;
    QPixmap over;
    int decodes = 0;
    FaceSet set = faces.Set();
    set.over = &over;
    set.decode = [&] {
        ++decodes;
        over = QPixmap(60, 60);
        over.fill(Qt::green);
    };
    CPngButton b(1);
    b.setGeometry(10, 10, 20, 20);
    b.SetFaces(10, 10, set);
    EXPECT_EQ(CentreColour(b), QColor(Qt::red));
    EXPECT_EQ(decodes, 0) << "the normal face needs no decoding";
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    EXPECT_EQ(CentreColour(b), QColor(Qt::green));
    EXPECT_EQ(CentreColour(b), QColor(Qt::green));
    EXPECT_EQ(decodes, 1);
}

TEST(PngButton, SettingFacesClearsHoverAndPressed) {
    ColouredFaces faces;
    CPngButton b(1);
    b.resize(20, 20);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(&b, &enter);
    b.setDown(true);
    b.SetFaces(faces.Set());
    EXPECT_FALSE(b.Hovered());
    EXPECT_FALSE(b.isDown());
    EXPECT_EQ(b.ChooseFace(), CPngButton::Face::kNormal);
}

void SendMouse(QWidget& w, QEvent::Type type) {
    const QPointF at(5, 5);
    QMouseEvent e(type, at, w.mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &e);
}

TEST(PngButton, DoubleClickGivesTwoClicks) {
    CPngButton b(1);
    b.resize(30, 20);
    b.show();
    QSignalSpy clicks(&b, &QAbstractButton::clicked);
    // The platform reports a fast second click as press, release, double-click, release.
    SendMouse(b, QEvent::MouseButtonPress);
    SendMouse(b, QEvent::MouseButtonRelease);
    SendMouse(b, QEvent::MouseButtonDblClick);
    SendMouse(b, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(PngButton, PaintCallbackTellsWhetherTheNormalFaceShows) {
    ColouredFaces faces;
    CPngButton b(1);
    b.resize(20, 20);
    b.SetFaces(faces.Set());
    std::vector<bool> seen;
    b.SetPaintCallback([&](CPngButton* self, bool normal) {
        EXPECT_EQ(self, &b);
        seen.push_back(normal);
    });
    b.grab();
    b.setDown(true);
    b.grab();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
}

TEST(PngButton, TooltipIsOnlyShownWhileActive) {
    CPngButton b(1);
    b.SetTooltip("Help", true);
    EXPECT_EQ(b.toolTip(), "Help");
    b.SetTooltip("Help", false);
    EXPECT_TRUE(b.toolTip().isEmpty());
    EXPECT_EQ(b.TooltipText(), "Help");
}

TEST(PngButton, CaptionIsDrawnOverTheFace) {
    ColouredFaces faces;
    CPngButton plain(1), captioned(2);
    for (CPngButton* b : {&plain, &captioned}) {
        b->resize(80, 30);
        b->SetFaces(faces.Set());
        b->setText("WWWW");
    }
    captioned.SetCaptionFont("Tahoma", 12, Qt::white);
    EXPECT_NE(plain.grab().toImage(), captioned.grab().toImage());
    const QImage before = captioned.grab().toImage();
    captioned.SetEscapement(900, true);
    EXPECT_NE(captioned.grab().toImage(), before);
}

// The lighting colour is drawn without QPainter's Multiply mode; what the key shows must stay
// the same, pixel for pixel, for every cap shade, colour and legend ink, pressed or not.
TEST(PngButton, LightColourIsTheCapTimesTheColourUnderItsLegends) {
    QImage capsImage(120, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 120; ++x) capsImage.setPixel(x, y, qRgb((x * 37 + y) % 256, (y * 53 + x * 3) % 256, (x * y) % 256));
    }
    QPixmap caps = QPixmap::fromImage(capsImage);
    // The legends as the keys get them (ink coverage) and as QPainter would lay them on (a
    // premultiplied layer of the ink), every coverage from 0 to 255.
    KeyLegends legends;
    legends.coverage = QImage(120, 60, QImage::Format_Grayscale8);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 120; ++x) legends.coverage.scanLine(y)[x] = static_cast<uchar>((x * 11 + y * 7) % 256);
    }
    const auto legendLayer = [&legends](QColor ink) {
        QImage layer(120, 60, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 120; ++x) {
                const int a = legends.coverage.constScanLine(y)[x];
                layer.setPixel(x, y, qRgba(ink.red() * a / 255, ink.green() * a / 255, ink.blue() * a / 255, a));
            }
        }
        return QPixmap::fromImage(layer);
    };
    const QPixmap light = legendLayer(QColor(0xf4, 0xf6, 0xf8));
    const QPixmap dark = legendLayer(QColor(0x12, 0x14, 0x18));
    ColouredFaces faces;
    CPngButton b(1);
    b.resize(40, 30);
    b.SetFaces(11, 6, faces.Set());
    b.SetColourFaces(&caps, &legends);
    for (const QColor colour : {QColor(255, 0, 0), QColor(17, 200, 99), QColor(250, 250, 250), QColor(1, 2, 3)}) {
        for (const bool pressed : {false, true}) {
            b.ShowPlainLook();
            b.ShowLightColour(colour);
            b.setDown(pressed);
            const QImage shown = b.grab().toImage();
            QImage expected(40, 30, shown.format());
            QPainter p(&expected);
            const QColor drawn = pressed ? colour.darker(150) : colour;
            p.drawPixmap(QRect(0, 0, 40, 30), caps, QRect(10, 5, 40, 30));
            p.setCompositionMode(QPainter::CompositionMode_Multiply);
            p.fillRect(QRect(0, 0, 40, 30), drawn);
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            const bool darkInk = (drawn.red() * 299 + drawn.green() * 587 + drawn.blue() * 114) / 1000 > 150;
            p.drawPixmap(QRect(0, 0, 40, 30), darkInk ? dark : light, QRect(10, 5, 40, 30));
            p.end();
            EXPECT_EQ(shown, expected) << colour.name().toStdString() << (pressed ? " pressed" : "");
        }
    }
    // The key keeps its recoloured cap; a new caps picture (another scale, another skin) or
    // another place in it must not show the old one.
    const QColor colour(40, 160, 220);
    b.ShowPlainLook();
    b.ShowLightColour(colour);
    b.grab();
    const auto expectedAt = [&](QRect source, QImage::Format format) {
        QImage expected(source.size(), format);
        QPainter p(&expected);
        const QRect all(QPoint(), source.size());
        p.drawPixmap(all, caps, source);
        p.setCompositionMode(QPainter::CompositionMode_Multiply);
        p.fillRect(all, colour);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.drawPixmap(all, light, source);
        return expected;
    };
    capsImage.invertPixels();
    caps = QPixmap::fromImage(capsImage);
    QImage shown = b.grab().toImage();
    EXPECT_EQ(shown, expectedAt(QRect(10, 5, 40, 30), shown.format())) << "a new caps picture";
    b.SetSourceOrigin(31, 21);
    shown = b.grab().toImage();
    EXPECT_EQ(shown, expectedAt(QRect(30, 20, 40, 30), shown.format())) << "another place in it";
    // Recoloured four pixels at a time: a width that is no multiple of four ends one pixel at a time.
    for (const int width : {43, 1, 6}) {
        b.resize(width, 30);
        shown = b.grab().toImage();
        EXPECT_EQ(shown, expectedAt(QRect(30, 20, width, 30), shown.format())) << width << " pixels wide";
    }
}

class TestDialog : public CBaseDialog {
public:
    using CBaseDialog::CBaseDialog;
    using CBaseDialog::MakeButton;
};

// A skin folder with a 50 x 40 background whose mask keeps the square (10, 5)-(40, 35).
void WriteSquareSkin(const std::filesystem::path& dir) {
    QImage bg(50, 40, QImage::Format_RGB32);
    bg.fill(Qt::darkGray);
    bg.save(QString::fromStdString((dir / "bg.jpg").string()));
    QImage mask = WhiteImage(50, 40);
    for (int y = 5; y < 35; ++y)
        for (int x = 10; x < 40; ++x) mask.setPixel(x, y, qRgb(0, 0, 0));
    mask.save(QString::fromStdString((dir / "mask.bmp").string()));
    Spit(dir / "Main.ini", "[SCREEN]\nMain=bg.jpg\nMask=mask.bmp\n");
}

TEST(BaseDialog, AButtonRepaintLeavesTheWindowBehindItAlone) {
    test::TempDir dir;
    WriteSquareSkin(dir.path());
    TestDialog d(102, nullptr, dir.path() / "Main.ini", dir.path());
    d.OnInitDialog();
    ColouredFaces faces;
    CPngButton* b = d.MakeButton(7);
    b->setGeometry(12, 8, 20, 20);
    b->SetFaces(12, 8, faces.Set());
    // The style the standard dialogs wear marks buttons as see-through when it polishes them.
    b->setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_TRUE(b->testAttribute(Qt::WA_OpaquePaintEvent));

    // The outline is the native window's, so repaints are not clipped widget by widget.
    EXPECT_TRUE(d.mask().isEmpty());
    ASSERT_NE(d.windowHandle(), nullptr);
    EXPECT_TRUE(SameArea(d.windowHandle()->mask(), QRegion(10, 5, 30, 30)));

    test::PaintCounter window, button;
    d.installEventFilter(&window);
    b->installEventFilter(&button);
    b->update();
    QTRY_COMPARE(button.paints, 1);
    QTest::qWait(20);
    EXPECT_EQ(window.paints, 0) << "the button's face covers it; the background under it is not drawn again";
}

TEST(BaseDialog, TakesSizeFromBackgroundAndShapeFromMask) {
    test::TempDir dir;
    WriteSquareSkin(dir.path());
    TestDialog d(102, nullptr, dir.path() / "Main.ini", dir.path());
    d.OnInitDialog();
    EXPECT_EQ(d.size(), QSize(50, 40));
    EXPECT_TRUE(SameArea(d.Shape(), QRegion(10, 5, 30, 30)));
    EXPECT_FALSE(d.SkinLoading());
}

TEST(BaseDialog, MissingPictureEndsTheProcessQuietly) {
    test::TempDir dir;
    Spit(dir.path() / "Main.ini", "[SCREEN]\nMain=none.jpg\nMask=none.bmp\n");
    std::vector<std::filesystem::path> missing;
    SetMissingSkinHandler([&](const std::filesystem::path& p) { missing.push_back(p); });
    TestDialog d(102, nullptr, dir.path() / "Main.ini", dir.path());
    d.OnInitDialog();
    SetMissingSkinHandler(nullptr);
    ASSERT_EQ(missing.size(), 2u);
    EXPECT_EQ(missing[0].filename(), "none.jpg");
}

TEST(BaseDialog, EndProcessExitsWithCodeZero) {
    EXPECT_EXIT(EndProcessQuietly(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace qv::ui
