#include "ui/lighting/key_button_lights.h"

#include <QColor>
#include <QImage>

#include <array>
#include <vector>

#include "core/lighting/lighting_keys.h"
#include "ui/lighting/key_field.h"
#include "ui/skin/png_button.h"

namespace qv::ui {
namespace {

// The legends picture as a layer of one ink colour whose coverage is the picture's brightness,
// so a legend can be laid over any cap colour. One table of the 256 coverages, not a colour
// computed per pixel.
QPixmap LegendLayer(const QPixmap& legends, QColor ink) {
    const int r = ink.red(), g = ink.green(), b = ink.blue();
    std::array<QRgb, 256> inked{};
    for (int a = 0; a < 256; ++a) inked[static_cast<std::size_t>(a)] = qRgba(r * a / 255, g * a / 255, b * a / 255, a);
    const QImage grey = legends.toImage().convertToFormat(QImage::Format_Grayscale8);
    QImage layer(grey.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < grey.height(); ++y) {
        const uchar* in = grey.constScanLine(y);
        auto* out = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) out[x] = inked[in[x]];
    }
    layer.setDevicePixelRatio(legends.devicePixelRatio());
    return QPixmap::fromImage(layer);
}

}  // namespace

KeyButtonLights::KeyButtonLights(const std::function<CPngButton*(int id)>& buttonOf, const QPixmap* caps,
                                 const QPixmap* legends, std::function<void()> loadPictures)
    : caps_(caps), legends_(legends), loadPictures_(std::move(loadPictures)) {
    for (int i = 0; i < lighting::kColourButtonCount; ++i) {
        const int id = lighting::ColourButtonAt(i);
        if (id < kFirstId || id > kLastId) continue;
        buttons_[static_cast<std::size_t>(id - kFirstId)] = buttonOf(id);
    }
}

void KeyButtonLights::EnsurePictures() {
    if (loaded_) return;
    loaded_ = true;
    if (loadPictures_) loadPictures_();
    RebuildLegendLayers();
    const bool usable = caps_ != nullptr && !caps_->isNull() && !lightLegends_.isNull();
    if (!usable) return;
    std::vector<CPngButton*> keys;
    for (CPngButton* b : buttons_) {
        if (b == nullptr) continue;
        b->SetColourFaces(caps_, &lightLegends_, &darkLegends_);
        keys.push_back(b);
    }
    field_ = new CKeyField(std::move(keys));
    if (batching_) field_->BeginBatch();
}

void KeyButtonLights::RebuildLegendLayers() {
    if (!loaded_ || legends_ == nullptr || legends_->isNull()) return;
    lightLegends_ = LegendLayer(*legends_, QColor(0xf4, 0xf6, 0xf8));
    darkLegends_ = LegendLayer(*legends_, QColor(0x12, 0x14, 0x18));
    if (field_) field_->update();
}

CPngButton* KeyButtonLights::At(int id) const {
    if (id < kFirstId || id > kLastId) return nullptr;
    return buttons_[static_cast<std::size_t>(id - kFirstId)];
}

void KeyButtonLights::ShowColour(int buttonId, lighting::ColourRef colour) {
    if (CPngButton* b = At(buttonId)) {
        EnsurePictures();
        if (field_ && !field_->Covering()) field_->Cover();
        b->ShowLightColour(QColor(lighting::RedOf(colour), lighting::GreenOf(colour), lighting::BlueOf(colour)));
    }
}

void KeyButtonLights::ShowPlain(int buttonId) {
    if (CPngButton* b = At(buttonId)) b->ShowPlainLook();
}

void KeyButtonLights::ShowAllPlain() {
    if (field_) field_->Uncover();
    for (CPngButton* b : buttons_) {
        if (b != nullptr) b->ShowPlainLook();
    }
}

void KeyButtonLights::ShowInOneRepaint(const std::function<void()>& changes) {
    batching_ = true;
    if (field_) field_->BeginBatch();
    changes();
    batching_ = false;
    if (field_) field_->EndBatch();
}

}  // namespace qv::ui
