#pragma once
// What the window system lets the program do with its own top-level windows. X11 lets it put
// them anywhere and cut their shape with a mask; a Wayland compositor places top-level windows
// itself, ignores a move, and takes a window's mask only as the region that receives input.

namespace qv::ui {

bool CanPlaceTopLevelWindows();
bool MasksShapeTopLevelWindows();

}  // namespace qv::ui
