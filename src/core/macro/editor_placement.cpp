#include "core/macro/editor_placement.h"

namespace qv {

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
    return byDefault;
}

}  // namespace qv
