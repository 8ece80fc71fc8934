#include "ui/skin/skin_pictures.h"

#include <QFile>
#include <QPainter>

#include <cstdio>
#include <cstdlib>

namespace qv::ui {
namespace {

MissingSkinHandler& Handler() {
    static MissingSkinHandler handler;
    return handler;
}

}  // namespace

void SetMissingSkinHandler(MissingSkinHandler handler) { Handler() = std::move(handler); }

void EndProcessQuietly() {
    std::fflush(nullptr);
    // Static destructors of a half-built window are not worth running.
    std::_Exit(0);
}

QImage LoadSkinPicture(const std::filesystem::path& file) {
    QFile in(QString::fromStdString(file.string()));
    QImage image;
    if (in.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = in.readAll();
        image.loadFromData(bytes);
    }
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
    QPixmap surface(client + QSize(100, 100));
    surface.fill(Qt::black);
    QPainter p(&surface);
    p.drawImage(0, 0, picture);
    return surface;
}

}  // namespace qv::ui
