#include "core/editor/editor_placement.h"

#include <algorithm>

namespace qv {

namespace {

// The default place when the editor fits on no side of the button: moved back into the
// available area as far as its size allows, so its lower buttons are never off the screen.
ScreenPoint InsideScreen(ScreenPoint p, EditorSize editor, const ScreenRect& screen) {
    p.x = std::max(std::min(p.x, screen.right - editor.width), screen.left);
    p.y = std::max(std::min(p.y, screen.bottom - editor.height), screen.top);
    return p;
}

}  // namespace

ScreenPoint PlaceEditor(const ScreenRect& button, EditorSize editor, const ScreenRect& screen) {
    const ScreenPoint byDefault{button.right, button.bottom};
    const bool fitsRight = screen.right - button.right >= editor.width;
    const bool fitsBelow = screen.bottom - button.bottom >= editor.height;
    if (fitsRight && fitsBelow) return byDefault;
    const bool fitsAbove = button.top - screen.top >= editor.height;
    const bool fitsLeft = button.left - screen.left >= editor.width;
    if (fitsRight && fitsAbove) return {button.right, button.top - editor.height};
    if (fitsLeft) {
        if (fitsBelow) return {button.left - editor.width, button.bottom};
        if (fitsAbove) return {button.left - editor.width, button.top - editor.height};
    }
    return InsideScreen(byDefault, editor, screen);
}

}  // namespace qv
