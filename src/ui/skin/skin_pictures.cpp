#include "ui/skin/skin_pictures.h"

#include <QFile>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qv::ui {
namespace {

// The finest variant looked for; the generator writes 2x and 3x.
constexpr int kFinestVariant = 4;

MissingSkinHandler& Handler() {
    static MissingSkinHandler handler;
    return handler;
}

bool SameRatio(double a, double b) { return std::abs(a - b) < 0.001; }

std::filesystem::path VariantOf(const std::filesystem::path& file, int scale) {
    std::filesystem::path variant = file;
    variant.replace_filename(file.stem().string() + "@" + std::to_string(scale) + "x" + file.extension().string());
    return variant;
}

QImage Decode(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    QImage image;
    if (in.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = in.readAll();
        image.loadFromData(bytes);
    }
    return image;
}

}  // namespace

void SetMissingSkinHandler(MissingSkinHandler handler) { Handler() = std::move(handler); }

void EndProcessQuietly() {
    std::fflush(nullptr);
    // Static destructors of a half-built window are not worth running.
    std::_Exit(0);
}

SkinPictureFile ChooseSkinPictureFile(const std::filesystem::path& file, double ratio) {
    if (!(ratio > 1) || SameRatio(ratio, 1)) return {file, 1};
    const int wanted = static_cast<int>(std::ceil(ratio - 0.001));
    std::error_code ec;
    for (int scale = wanted; scale <= kFinestVariant; ++scale) {
        const std::filesystem::path variant = VariantOf(file, scale);
        if (std::filesystem::is_regular_file(variant, ec)) return {variant, scale};
    }
    for (int scale = std::min(wanted, kFinestVariant + 1) - 1; scale >= 2; --scale) {
        const std::filesystem::path variant = VariantOf(file, scale);
        if (std::filesystem::is_regular_file(variant, ec)) return {variant, scale};
    }
    return {file, 1};
}

QImage ReadSkinPicture(const std::filesystem::path& file, double ratio) {
    const SkinPictureFile chosen = ChooseSkinPictureFile(file, ratio);
    QImage image = Decode(chosen.file);
    int scale = chosen.scale;
    if (image.isNull() && scale != 1) {
        image = Decode(file);
        scale = 1;
    }
    if (image.isNull() || scale == 1) return image;
    if (!SameRatio(scale, ratio)) {
        const QSize logical(static_cast<int>(std::lround(image.width() / double(scale))),
                            static_cast<int>(std::lround(image.height() / double(scale))));
        const QSize pixels(std::max(1, static_cast<int>(std::lround(logical.width() * ratio))),
                           std::max(1, static_cast<int>(std::lround(logical.height() * ratio))));
        image = image.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(SameRatio(scale, ratio) ? scale : ratio);
    return image;
}

QImage LoadSkinPicture(const std::filesystem::path& file, double ratio) {
    QImage image = ReadSkinPicture(file, ratio);
    if (image.isNull()) {
        if (Handler()) {
            Handler()(file);
            return {};
        }
        EndProcessQuietly();
    }
    return image;
}

QPixmap MakeFaceSource(const QImage& picture, QSize client) {
    const double ratio = picture.isNull() ? 1.0 : picture.devicePixelRatio();
    const QSize logical = client + QSize(100, 100);
    QPixmap surface(static_cast<int>(std::ceil(logical.width() * ratio)),
                    static_cast<int>(std::ceil(logical.height() * ratio)));
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::black);
    QPainter p(&surface);
    p.drawImage(0, 0, picture);
    return surface;
}

namespace {
QRectF Scaled(const QRectF& logical, double r) { return {logical.x() * r, logical.y() * r, logical.width() * r, logical.height() * r}; }
}  // namespace

QRectF PixelRect(const QPixmap& picture, const QRectF& logical) { return Scaled(logical, picture.devicePixelRatio()); }
QRectF PixelRect(const QImage& picture, const QRectF& logical) { return Scaled(logical, picture.devicePixelRatio()); }

}  // namespace qv::ui
