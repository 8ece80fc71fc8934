// Skin pictures on screens of every device pixel ratio: which file is read, what comes back, and
// that faces are cut from the right device pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <fstream>

#include "support/temp_dir.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_pictures.h"

namespace qv::ui {
namespace {

namespace fs = std::filesystem;

// A picture of `logical` size drawn at `scale`: red left of logical x = 50, blue from there on,
// as the generator would draw one description at every scale.
QImage Halves(QSize logical, int scale) {
    QImage img(logical * scale, QImage::Format_RGB32);
    img.fill(Qt::blue);
    QPainter(&img).fillRect(QRect(0, 0, 50 * scale, img.height()), Qt::red);
    return img;
}

void Write(const fs::path& file, const QImage& img) { ASSERT_TRUE(img.save(QString::fromStdString(file.string()))); }

class SkinVariants : public ::testing::Test {
protected:
    fs::path File(const char* name) const { return dir_.path() / name; }
    test::TempDir dir_;
};

TEST_F(SkinVariants, EachRatioReadsTheSmallestVariantAtOrAboveIt) {
    for (const char* name : {"a.png", "a@2x.png", "a@3x.png"}) std::ofstream(File(name)) << "x";
    const std::pair<double, fs::path> cases[] = {
        {1, "a.png"},      {0.5, "a.png"},    {1.25, "a@2x.png"}, {1.5, "a@2x.png"},
        {2, "a@2x.png"},   {2.5, "a@3x.png"}, {3, "a@3x.png"},    {4, "a@3x.png"},
    };
    for (const auto& [ratio, expected] : cases) {
        EXPECT_EQ(ChooseSkinPictureFile(File("a.png"), ratio).file.filename(), expected) << ratio;
    }
    EXPECT_EQ(ChooseSkinPictureFile(File("a.png"), 1.5).scale, 2);
    EXPECT_EQ(ChooseSkinPictureFile(File("a.png"), 4).scale, 3) << "the finest below when none is finer";
}

TEST_F(SkinVariants, APlainSkinIsReadAsItIsAtEveryRatio) {
    std::ofstream(File("own.jpg")) << "x";
    std::ofstream(File("other@2x.jpg")) << "x";  // another picture's variant is no variant of this one
    for (double ratio : {1.0, 1.5, 2.0, 3.0}) {
        const SkinPictureFile chosen = ChooseSkinPictureFile(File("own.jpg"), ratio);
        EXPECT_EQ(chosen.file, File("own.jpg")) << ratio;
        EXPECT_EQ(chosen.scale, 1);
    }
}

TEST_F(SkinVariants, PicturesKeepTheirLogicalSizeAtEveryRatio) {
    const QSize logical(120, 30);
    Write(File("p.png"), Halves(logical, 1));
    Write(File("p@2x.png"), Halves(logical, 2));
    Write(File("p@3x.png"), Halves(logical, 3));
    for (double ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
        const QImage img = ReadSkinPicture(File("p.png"), ratio);
        ASSERT_FALSE(img.isNull()) << ratio;
        EXPECT_DOUBLE_EQ(img.devicePixelRatio(), ratio);
        EXPECT_EQ(img.deviceIndependentSize().toSize(), logical) << ratio;
        EXPECT_EQ(img.size(), QSize(qRound(120 * ratio), qRound(30 * ratio))) << "one pixel per device pixel";
        // The picture still says what it says: red left of logical 50, blue right of it.
        EXPECT_EQ(img.pixelColor(qRound(45 * ratio), 5), QColor(Qt::red)) << ratio;
        EXPECT_EQ(img.pixelColor(qRound(55 * ratio), 5), QColor(Qt::blue)) << ratio;
    }
    EXPECT_EQ(ReadSkinPicture(File("p.png"), 1), QImage(QString::fromStdString(File("p.png").string())))
        << "at 1x the plain file, pixel for pixel";
}

TEST_F(SkinVariants, AMissingOrBrokenVariantFallsBackToThePlainPicture) {
    Write(File("own.png"), Halves(QSize(80, 20), 1));
    const QImage plain = ReadSkinPicture(File("own.png"), 2);
    EXPECT_DOUBLE_EQ(plain.devicePixelRatio(), 1) << "Qt scales a 1x picture as it always did";
    EXPECT_EQ(plain.size(), QSize(80, 20));

    std::ofstream(File("own@2x.png")) << "not a picture";
    const QImage fallback = ReadSkinPicture(File("own.png"), 2);
    EXPECT_EQ(fallback.size(), QSize(80, 20));
    EXPECT_DOUBLE_EQ(fallback.devicePixelRatio(), 1);

    EXPECT_TRUE(ReadSkinPicture(File("none.png"), 2).isNull());
    std::vector<fs::path> missing;
    SetMissingSkinHandler([&](const fs::path& p) { missing.push_back(p); });
    EXPECT_TRUE(LoadSkinPicture(File("none.png"), 2).isNull());
    SetMissingSkinHandler(nullptr);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_EQ(missing[0], File("none.png")) << "the picture the skin names, not its variant";
}

TEST(FaceSource, KeepsThePicturesRatioAndCoversTheClientAreaPlusAMargin) {
    QImage picture = Halves(QSize(100, 40), 2);
    picture.setDevicePixelRatio(2);
    const QPixmap source = MakeFaceSource(picture, QSize(100, 40));
    EXPECT_DOUBLE_EQ(source.devicePixelRatio(), 2);
    EXPECT_EQ(source.deviceIndependentSize().toSize(), QSize(200, 140));
    EXPECT_EQ(PixelRect(source, QRectF(49, 1, 10, 4)), QRectF(98, 2, 20, 8));
    const QImage plain = Halves(QSize(100, 40), 1);
    EXPECT_EQ(MakeFaceSource(plain, QSize(100, 40)).size(), QSize(200, 140));
}

// A button's face at 2x is cut from the 2x picture at the button's logical place: a copy that
// took the logical rectangle as pixels would show the red half and stretch it.
TEST(FaceSource, ButtonCutsItsFaceFromTheDevicePixelsOfItsPlace) {
    QImage picture = Halves(QSize(120, 40), 2);
    QPainter(&picture).fillRect(QRect(100, 0, 1, 80), Qt::green);  // one device pixel wide
    picture.setDevicePixelRatio(2);
    const QPixmap source = MakeFaceSource(picture, QSize(120, 40));
    CPngButton button(1);
    button.resize(20, 10);
    button.SetFaces(51, 1, FaceSet{&source, &source, &source, &source});

    QPixmap target(40, 20);
    target.setDevicePixelRatio(2);
    target.fill(Qt::black);
    button.render(&target);
    const QImage shown = target.toImage();
    EXPECT_EQ(shown.pixelColor(0, 5), QColor(Qt::green)) << "logical x 50 is device pixel 100";
    EXPECT_EQ(shown.pixelColor(1, 5), QColor(Qt::blue)) << "and the face is not stretched";
    EXPECT_EQ(shown.pixelColor(39, 19), QColor(Qt::blue));
}

class CountingDialog : public CBaseDialog {
public:
    using CBaseDialog::CBaseDialog;
    int reloads = 0;
    double ratioSeen = 0;

protected:
    void ReloadPictures() override {
        ++reloads;
        ratioSeen = PictureRatio();
    }
};

TEST(BaseDialog, ANewRatioReloadsThePicturesAndKeepsSizeAndShape) {
    test::TempDir dir;
    Write(dir.path() / "bg.png", Halves(QSize(60, 40), 1));
    Write(dir.path() / "bg@2x.png", Halves(QSize(60, 40), 2));
    QImage mask(60, 40, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter(&mask).fillRect(QRect(5, 5, 50, 30), Qt::black);
    Write(dir.path() / "mask.bmp", mask);
    std::ofstream(dir.path() / "Main.ini") << "[SCREEN]\nMain=bg.png\nMask=mask.bmp\n";

    CountingDialog d(102, nullptr, dir.path() / "Main.ini", dir.path());
    EXPECT_FALSE(d.FollowPixelRatio(2)) << "nothing to reload before the skin is applied";
    d.OnInitDialog();
    const QRegion shape = d.Shape();
    EXPECT_DOUBLE_EQ(d.PictureRatio(), 1);
    EXPECT_TRUE(d.FollowPixelRatio(2));
    EXPECT_EQ(d.reloads, 1);
    EXPECT_DOUBLE_EQ(d.ratioSeen, 2) << "the dialog's own pictures load at the new ratio";
    EXPECT_DOUBLE_EQ(d.Background().devicePixelRatio(), 2);
    EXPECT_EQ(d.Background().size(), QSize(120, 80));
    EXPECT_EQ(d.size(), QSize(60, 40));
    EXPECT_TRUE((d.Shape() ^ shape).isEmpty());
    EXPECT_FALSE(d.FollowPixelRatio(2)) << "the same ratio again loads nothing";
    EXPECT_TRUE(d.FollowPixelRatio(1));
    EXPECT_EQ(d.Background().size(), QSize(60, 40));
    EXPECT_EQ(d.reloads, 2);
}

}  // namespace
}  // namespace qv::ui
