#pragma once
// An X server repeats a held key as release/press pairs unless the client asks otherwise, and Qt
// does not always mark those pairs as repeats. Asking for detectable auto-repeat makes a held
// key a row of presses and one release, as Windows reports it.

namespace qv::ui {

// Does nothing off X11 or when the server cannot do it.
void RequestDetectableAutoRepeat();

}  // namespace qv::ui
