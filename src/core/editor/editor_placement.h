#pragma once
// Where the key editor opens: next to the clicked key button, on the side where it fits.

namespace qv {

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;   // exclusive
    int bottom = 0;  // exclusive
};

struct EditorSize {
    int width = 0;
    int height = 0;
};

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

// Top-left corner of the editor for a button (screen coordinates) within the screen's available
// area: below-right of the button by default; above-right, below-left or above-left when the
// default does not fit; when nothing fits, the default moved back inside the available area.
ScreenPoint PlaceEditor(const ScreenRect& button, EditorSize editor, const ScreenRect& screen);

}  // namespace qv
