#pragma once
// The window's own buttons on the main skin: which there are, their places and faces, fonts,
// captions and tooltips.

#include <functional>

#include "ui/main/on_screen_keyboard.h"
#include "ui/skin/base_dialog.h"

namespace qv::ui {

// Creates the window's own image buttons in their stacking order (later siblings paint over
// earlier ones), key buttons included.
void MakeMainButtons(CBaseDialog& window, const std::function<CPngButton*(int id)>& make);
// The face pictures at the window's picture ratio; called again when that ratio changes (the
// buttons keep pointing at the same members).
void LoadMainFaces(const CBaseDialog& window, MainFaces& faces);
// The lighting view's colour pictures, loaded when the view first colours a key.
void LoadColourFaces(const CBaseDialog& window, MainFaces& faces);
void PlaceOwnButtons(CBaseDialog& window, const MainFaces& faces);
void StyleOwnButtons(CBaseDialog& window);
// The caption set of the text file on the profile, OK, Cancel, Apply buttons and the tooltips.
void LoadMainCaptions(CBaseDialog& window);

}  // namespace qv::ui
