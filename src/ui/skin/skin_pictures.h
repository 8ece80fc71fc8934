#pragma once
// Loading skin pictures. A skin picture that cannot be read ends the program (exit code 0, no
// message): a window without its pictures cannot be drawn or used.

#include <QImage>
#include <QPixmap>
#include <QSize>

#include <filesystem>
#include <functional>

namespace qv::ui {

// What happens when a skin picture is missing. The default ends the process at once with exit
// code 0; tests install their own.
using MissingSkinHandler = std::function<void(const std::filesystem::path&)>;
void SetMissingSkinHandler(MissingSkinHandler handler);
[[noreturn]] void EndProcessQuietly();

// The whole file read into memory and decoded. On failure the handler runs; when it returns
// (tests), a null image comes back.
QImage LoadSkinPicture(const std::filesystem::path& file);

// A face source: the picture drawn unscaled at the origin on a surface as large as the dialog's
// client area plus 100 pixels each way, so faces cut near the edges stay inside.
QPixmap MakeFaceSource(const QImage& picture, QSize client);

// The four state pictures of a dialog's image buttons (borrowed by the buttons).
struct FaceSet {
    const QPixmap* normal = nullptr;
    const QPixmap* over = nullptr;
    const QPixmap* down = nullptr;
    const QPixmap* disabled = nullptr;
};

}  // namespace qv::ui
