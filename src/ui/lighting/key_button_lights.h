#pragma once
// The key buttons of the main window as the lighting paints them: the preview and the per-key
// colours tell each button which colour to show or to go back to its plain look.

#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>

#include "core/lighting/lighting_preview.h"
#include "ui/lighting/key_field.h"
#include "ui/skin/key_colour.h"

namespace qv::ui {

class CPngButton;

class KeyButtonLights final : public lighting::PreviewSink {
public:
    // `caps`: light caps without legends (main_color1); `legends`: the legends alone, white on
    // black (main_color0). Both are full-window face sources, filled in by `loadPictures` when the
    // first key shows a colour: most starts never turn the lighting view on, and the pictures
    // with the legends' coverage are a good part of the window's memory.
    KeyButtonLights(const std::function<CPngButton*(int id)>& buttonOf, const QPixmap* caps, const QPixmap* legends,
                    std::function<void()> loadPictures = {});

    // The legends' coverage made again from the legends picture, which was loaded anew (at
    // another device pixel ratio); the buttons keep pointing at the same legends. Nothing before
    // the pictures were first needed.
    void RebuildLegendLayers();
    bool PicturesLoaded() const { return loaded_; }

    void ShowColour(int buttonId, lighting::ColourRef colour) override;
    void ShowPlain(int buttonId) override;
    // Every button that can show a colour back to its plain look.
    void ShowAllPlain();
    // The colours `changes` shows appear in one repaint (a preview tick).
    void ShowInOneRepaint(const std::function<void()>& changes);

private:
    static constexpr int kFirstId = 1000;
    static constexpr int kLastId = 1174;
    CPngButton* At(int id) const;
    void EnsurePictures();

    std::array<CPngButton*, kLastId - kFirstId + 1> buttons_{};
    const QPixmap* caps_;
    const QPixmap* legends_;
    std::function<void()> loadPictures_;
    bool loaded_ = false;
    bool batching_ = false;
    KeyLegends legendLayers_;
    // Paints the keys in one pass while any of them shows a colour; the window owns it.
    QPointer<CKeyField> field_;
};

}  // namespace qv::ui
