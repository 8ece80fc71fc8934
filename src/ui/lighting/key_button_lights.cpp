#include "ui/lighting/key_button_lights.h"

#include <QColor>
#include <QImage>

#include "core/lighting/lighting_keys.h"
#include "ui/skin/png_button.h"

namespace qv::ui {
namespace {

// The legends picture as a layer of one ink colour whose coverage is the picture's brightness,
// so a legend can be laid over any cap colour.
QPixmap LegendLayer(const QPixmap& legends, QColor ink) {
    const QImage grey = legends.toImage().convertToFormat(QImage::Format_Grayscale8);
    QImage layer(grey.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* in = grey.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int a = in[x];
            out[x] = qRgba(ink.red() * a / 255, ink.green() * a / 255, ink.blue() * a / 255, a);
        }
    }
    layer.setDevicePixelRatio(legends.devicePixelRatio());
    return QPixmap::fromImage(layer);
}

}  // namespace

KeyButtonLights::KeyButtonLights(const std::function<CPngButton*(int id)>& buttonOf, const QPixmap* caps,
                                 const QPixmap* legends)
    : legends_(legends) {
    RebuildLegendLayers();
    const bool usable = caps != nullptr && !caps->isNull() && !lightLegends_.isNull();
    for (int i = 0; i < lighting::kColourButtonCount; ++i) {
        const int id = lighting::ColourButtonAt(i);
        if (id < kFirstId || id > kLastId) continue;
        CPngButton* b = buttonOf(id);
        buttons_[static_cast<std::size_t>(id - kFirstId)] = b;
        if (b != nullptr && usable) b->SetColourFaces(caps, &lightLegends_, &darkLegends_);
    }
}

void KeyButtonLights::RebuildLegendLayers() {
    if (legends_ == nullptr || legends_->isNull()) return;
    lightLegends_ = LegendLayer(*legends_, QColor(0xf4, 0xf6, 0xf8));
    darkLegends_ = LegendLayer(*legends_, QColor(0x12, 0x14, 0x18));
}

CPngButton* KeyButtonLights::At(int id) const {
    if (id < kFirstId || id > kLastId) return nullptr;
    return buttons_[static_cast<std::size_t>(id - kFirstId)];
}

void KeyButtonLights::ShowColour(int buttonId, lighting::ColourRef colour) {
    if (CPngButton* b = At(buttonId)) {
        b->ShowLightColour(QColor(lighting::RedOf(colour), lighting::GreenOf(colour), lighting::BlueOf(colour)));
    }
}

void KeyButtonLights::ShowPlain(int buttonId) {
    if (CPngButton* b = At(buttonId)) b->ShowPlainLook();
}

void KeyButtonLights::ShowAllPlain() {
    for (CPngButton* b : buttons_) {
        if (b != nullptr) b->ShowPlainLook();
    }
}

}  // namespace qv::ui
