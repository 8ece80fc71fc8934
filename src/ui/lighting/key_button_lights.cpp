#include "ui/lighting/key_button_lights.h"

#include <QImage>

#include <vector>

#include "core/lighting/lighting_keys.h"
#include "ui/lighting/key_field.h"
#include "ui/skin/png_button.h"

namespace qv::ui {

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
    const bool usable = caps_ != nullptr && !caps_->isNull() && !legendLayers_.coverage.isNull();
    if (!usable) return;
    std::vector<CPngButton*> keys;
    for (CPngButton* b : buttons_) {
        if (b == nullptr) continue;
        b->SetColourFaces(caps_, &legendLayers_);
        keys.push_back(b);
    }
    field_ = new CKeyField(std::move(keys));
    if (batching_) field_->BeginBatch();
}

void KeyButtonLights::RebuildLegendLayers() {
    if (!loaded_ || legends_ == nullptr || legends_->isNull()) return;
    // The legends picture's brightness is how much ink covers each pixel.
    legendLayers_.coverage = legends_->toImage().convertToFormat(QImage::Format_Grayscale8);
    legendLayers_.coverage.setDevicePixelRatio(legends_->devicePixelRatio());
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
