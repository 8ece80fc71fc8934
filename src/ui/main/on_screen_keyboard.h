#pragma once
// The on-screen keyboard of the main window: key, G, Fn and D buttons with their faces, places
// and tooltips, the Flip layout of F1..F4 and D1..D6, and the G-key bank.

#include <QPixmap>

#include <functional>

#include "core/keyboard/profile_store.h"
#include "core/mainwin/main_window_view.h"
#include "ui/skin/base_dialog.h"

namespace qv::mainwin {
class MainWindowModel;
}

namespace qv::ui {

class CPngButton;

// The face pictures of dialog 102: the key buttons' set, the second set of the window's own
// buttons, the flip arrows and the lighting view's colour keys.
struct MainFaces {
    QPixmap normal, over, down, disable;
    QPixmap normal2, over2, down2, disable2;
    QPixmap arrows, colour0, colour1;
    // Decodes the hover pictures (over, over2), which stay null until a button shows one.
    std::function<void()> decodeHover;
};

class COnScreenKeyboard : public mainwin::KeyButtonsView {
public:
    // `dialog` owns the buttons (made by the window); `model` gives the active profile and bank.
    COnScreenKeyboard(CBaseDialog& dialog, const MainFaces& faces, ProfileStore& working,
                      const mainwin::MainWindowModel& model);

    void Place();
    // Assigned flags and tooltips from the working store (caller holds its lock).
    void RefreshKeyButtons() override;
    void ToggleFlip();
    void ApplyFlip();
    // Faces of the AB button and captions of the G buttons for bank 0 (A) or 1 (B).
    void ShowBank(int bank);

private:
    CPngButton* Button(int id) const { return dialog_.Button(id); }
    void ArrowAfterPaint(CPngButton* flipButton, bool normalFace);
    int ActiveTable() const;

    CBaseDialog& dialog_;
    const MainFaces& faces_;
    ProfileStore& working_;
    const mainwin::MainWindowModel& model_;
};

}  // namespace qv::ui
