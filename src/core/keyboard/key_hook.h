#pragma once
// A receiver of key events in the shape a Windows keyboard hook procedure gets them, so the
// editor's capture and the recorder resolve keys with KeyFromWindowsEvent like everywhere else.

#include <cstdint>

namespace qv {

// What a Windows keyboard hook procedure received: the virtual-key code and the lParam with
// repeat count (bits 0-15), scan code (16-23), extended bit 24, previous-state bit 30 and
// transition bit 31 (set on release).
class KeyHook {
public:
    virtual ~KeyHook() = default;
    // true swallows the event (the window never sees it), false passes it on.
    virtual bool OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) = 0;
};

}  // namespace qv
