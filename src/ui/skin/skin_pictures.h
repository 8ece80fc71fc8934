#pragma once
// Loading skin pictures. A skin picture that cannot be read ends the program (exit code 0, no
// message): a window without its pictures cannot be drawn or used.
//
// Every picture is laid out in logical pixels; beside a plain file the skin may hold variants
// drawn for finer screens, named the way Qt names them ("main_normal@2x.jpg"). The variant for a
// screen is chosen here and nowhere else, so a window passes its device pixel ratio in and gets
// a picture whose logical size is the plain file's.

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>

#include <filesystem>
#include <functional>

namespace qv::ui {

// What happens when a skin picture is missing. The default ends the process at once with exit
// code 0; tests install their own.
using MissingSkinHandler = std::function<void(const std::filesystem::path&)>;
void SetMissingSkinHandler(MissingSkinHandler handler);
[[noreturn]] void EndProcessQuietly();

// The file a picture is read from at a device pixel ratio and the device pixels per logical
// pixel it holds: the smallest "@Nx" variant at or above the ratio (finer pictures are scaled
// down, coarser ones never up), else the largest below it, else the plain file, which is all a
// skin of 1x pictures (a user's own) has.
struct SkinPictureFile {
    std::filesystem::path file;
    int scale = 1;
};
SkinPictureFile ChooseSkinPictureFile(const std::filesystem::path& file, double ratio);

// The picture for a screen of `ratio`: its device pixel ratio is `ratio` when the skin has a
// variant for it (resampled once here when the ratio lies between variants, so painting copies
// pixels one to one), or 1 for a plain file alone, which Qt then scales as it always did. An
// unreadable variant falls back to the plain file. A null image when nothing could be read.
QImage ReadSkinPicture(const std::filesystem::path& file, double ratio = 1);

// As ReadSkinPicture; when the picture cannot be read the handler runs, and when it returns
// (tests), a null image comes back.
QImage LoadSkinPicture(const std::filesystem::path& file, double ratio = 1);

// A face source: the picture drawn unscaled at the origin on a surface as large as the dialog's
// client area plus 100 pixels each way, so faces cut near the edges stay inside. The surface has
// the picture's device pixel ratio.
QPixmap MakeFaceSource(const QImage& picture, QSize client);

// A rectangle in a picture's logical coordinates as that picture's own pixels, which is what
// QPainter takes as the source rectangle of a copy.
QRectF PixelRect(const QPixmap& picture, const QRectF& logical);
QRectF PixelRect(const QImage& picture, const QRectF& logical);

// The four state pictures of a dialog's image buttons (borrowed by the buttons). A picture that
// is seldom on screen may be left null and decoded by `decode` when a button first shows it.
struct FaceSet {
    FaceSet() = default;
    FaceSet(const QPixmap* normal_, const QPixmap* over_, const QPixmap* down_, const QPixmap* disabled_,
            std::function<void()> decode_ = {})
        : normal(normal_), over(over_), down(down_), disabled(disabled_), decode(std::move(decode_)) {}

    const QPixmap* normal = nullptr;
    const QPixmap* over = nullptr;
    const QPixmap* down = nullptr;
    const QPixmap* disabled = nullptr;
    std::function<void()> decode;
};

}  // namespace qv::ui
