// The Linux key code table. Virtual-key codes are the ones of a US layout, so a key always
// resolves to its position; the left/right modifiers carry their sided codes.
#include "platform/key_translation.h"

#include <linux/input-event-codes.h>

namespace qv::platform {
namespace {

struct Entry {
    std::uint16_t linuxCode;
    std::uint8_t vk;
    std::uint8_t scanCode;
    bool extended;
    std::uint8_t numLockOffVk;  // 0: the key reports the same code with Num Lock off
};

constexpr bool E = true;   // E0-prefixed
constexpr bool N = false;

// clang-format off
constexpr Entry kTable[] = {
    {KEY_ESC, 0x1B, 0x01, N, 0},
    {KEY_1, 0x31, 0x02, N, 0}, {KEY_2, 0x32, 0x03, N, 0}, {KEY_3, 0x33, 0x04, N, 0},
    {KEY_4, 0x34, 0x05, N, 0}, {KEY_5, 0x35, 0x06, N, 0}, {KEY_6, 0x36, 0x07, N, 0},
    {KEY_7, 0x37, 0x08, N, 0}, {KEY_8, 0x38, 0x09, N, 0}, {KEY_9, 0x39, 0x0A, N, 0},
    {KEY_0, 0x30, 0x0B, N, 0},
    {KEY_MINUS, 0xBD, 0x0C, N, 0}, {KEY_EQUAL, 0xBB, 0x0D, N, 0},
    {KEY_BACKSPACE, 0x08, 0x0E, N, 0}, {KEY_TAB, 0x09, 0x0F, N, 0},
    {KEY_Q, 0x51, 0x10, N, 0}, {KEY_W, 0x57, 0x11, N, 0}, {KEY_E, 0x45, 0x12, N, 0},
    {KEY_R, 0x52, 0x13, N, 0}, {KEY_T, 0x54, 0x14, N, 0}, {KEY_Y, 0x59, 0x15, N, 0},
    {KEY_U, 0x55, 0x16, N, 0}, {KEY_I, 0x49, 0x17, N, 0}, {KEY_O, 0x4F, 0x18, N, 0},
    {KEY_P, 0x50, 0x19, N, 0},
    {KEY_LEFTBRACE, 0xDB, 0x1A, N, 0}, {KEY_RIGHTBRACE, 0xDD, 0x1B, N, 0},
    {KEY_ENTER, 0x0D, 0x1C, N, 0}, {KEY_LEFTCTRL, 0xA2, 0x1D, N, 0},
    {KEY_A, 0x41, 0x1E, N, 0}, {KEY_S, 0x53, 0x1F, N, 0}, {KEY_D, 0x44, 0x20, N, 0},
    {KEY_F, 0x46, 0x21, N, 0}, {KEY_G, 0x47, 0x22, N, 0}, {KEY_H, 0x48, 0x23, N, 0},
    {KEY_J, 0x4A, 0x24, N, 0}, {KEY_K, 0x4B, 0x25, N, 0}, {KEY_L, 0x4C, 0x26, N, 0},
    {KEY_SEMICOLON, 0xBA, 0x27, N, 0}, {KEY_APOSTROPHE, 0xDE, 0x28, N, 0},
    {KEY_GRAVE, 0xC0, 0x29, N, 0}, {KEY_LEFTSHIFT, 0xA0, 0x2A, N, 0},
    {KEY_BACKSLASH, 0xDC, 0x2B, N, 0},
    {KEY_Z, 0x5A, 0x2C, N, 0}, {KEY_X, 0x58, 0x2D, N, 0}, {KEY_C, 0x43, 0x2E, N, 0},
    {KEY_V, 0x56, 0x2F, N, 0}, {KEY_B, 0x42, 0x30, N, 0}, {KEY_N, 0x4E, 0x31, N, 0},
    {KEY_M, 0x4D, 0x32, N, 0},
    {KEY_COMMA, 0xBC, 0x33, N, 0}, {KEY_DOT, 0xBE, 0x34, N, 0}, {KEY_SLASH, 0xBF, 0x35, N, 0},
    {KEY_RIGHTSHIFT, 0xA1, 0x36, N, 0},
    {KEY_KPASTERISK, 0x6A, 0x37, N, 0},
    {KEY_LEFTALT, 0xA4, 0x38, N, 0}, {KEY_SPACE, 0x20, 0x39, N, 0},
    {KEY_CAPSLOCK, 0x14, 0x3A, N, 0},
    {KEY_F1, 0x70, 0x3B, N, 0}, {KEY_F2, 0x71, 0x3C, N, 0}, {KEY_F3, 0x72, 0x3D, N, 0},
    {KEY_F4, 0x73, 0x3E, N, 0}, {KEY_F5, 0x74, 0x3F, N, 0}, {KEY_F6, 0x75, 0x40, N, 0},
    {KEY_F7, 0x76, 0x41, N, 0}, {KEY_F8, 0x77, 0x42, N, 0}, {KEY_F9, 0x78, 0x43, N, 0},
    {KEY_F10, 0x79, 0x44, N, 0}, {KEY_F11, 0x7A, 0x57, N, 0}, {KEY_F12, 0x7B, 0x58, N, 0},
    {KEY_F13, 0x7C, 0x64, N, 0},
    // Windows reports Num Lock with the extended bit although the key sends no E0.
    {KEY_NUMLOCK, 0x90, 0x45, E, 0},
    {KEY_SCROLLLOCK, 0x91, 0x46, N, 0},
    {KEY_KP7, 0x67, 0x47, N, 0x24}, {KEY_KP8, 0x68, 0x48, N, 0x26},
    {KEY_KP9, 0x69, 0x49, N, 0x21}, {KEY_KPMINUS, 0x6D, 0x4A, N, 0},
    {KEY_KP4, 0x64, 0x4B, N, 0x25}, {KEY_KP5, 0x65, 0x4C, N, 0x0C},
    {KEY_KP6, 0x66, 0x4D, N, 0x27}, {KEY_KPPLUS, 0x6B, 0x4E, N, 0},
    {KEY_KP1, 0x61, 0x4F, N, 0x23}, {KEY_KP2, 0x62, 0x50, N, 0x28},
    {KEY_KP3, 0x63, 0x51, N, 0x22}, {KEY_KP0, 0x60, 0x52, N, 0x2D},
    {KEY_KPDOT, 0x6E, 0x53, N, 0x2E},
    {KEY_KPENTER, 0x0D, 0x1C, E, 0}, {KEY_KPSLASH, 0x6F, 0x35, E, 0},
    {KEY_102ND, 0xE2, 0x56, N, 0},
    {KEY_RIGHTCTRL, 0xA3, 0x1D, E, 0}, {KEY_RIGHTALT, 0xA5, 0x38, E, 0},
    // The PC Print Screen key arrives as KEY_SYSRQ; KEY_PRINT is the key of other boards.
    {KEY_SYSRQ, 0x2C, 0x37, E, 0}, {KEY_PRINT, 0x2C, 0x37, E, 0},
    {KEY_PAUSE, 0x13, 0x45, N, 0},
    {KEY_BREAK, 0x03, 0x46, E, 0},
    {KEY_HOME, 0x24, 0x47, E, 0}, {KEY_UP, 0x26, 0x48, E, 0}, {KEY_PAGEUP, 0x21, 0x49, E, 0},
    {KEY_LEFT, 0x25, 0x4B, E, 0}, {KEY_RIGHT, 0x27, 0x4D, E, 0}, {KEY_END, 0x23, 0x4F, E, 0},
    {KEY_DOWN, 0x28, 0x50, E, 0}, {KEY_PAGEDOWN, 0x22, 0x51, E, 0},
    {KEY_INSERT, 0x2D, 0x52, E, 0}, {KEY_DELETE, 0x2E, 0x53, E, 0},
    {KEY_LEFTMETA, 0x5B, 0x5B, E, 0}, {KEY_RIGHTMETA, 0x5C, 0x5C, E, 0},
    {KEY_COMPOSE, 0x5D, 0x5D, E, 0}, {KEY_MENU, 0x5D, 0x5D, E, 0},

    // Keys of Japanese, Brazilian and Korean boards.
    {KEY_RO, 0xC1, 0x73, N, 0}, {KEY_KPJPCOMMA, 0xC2, 0x7E, N, 0},
    {KEY_KATAKANAHIRAGANA, 0x15, 0x70, N, 0},
    {KEY_HENKAN, 0x1C, 0x79, N, 0}, {KEY_MUHENKAN, 0x1D, 0x7B, N, 0},
    {KEY_YEN, 0xFF, 0x7D, N, 0},
    {KEY_HANGEUL, 0x15, 0x72, N, 0}, {KEY_HANJA, 0x19, 0x71, N, 0},

    // Media and browser keys. Several Linux codes stand for one key where boards differ in
    // the HID usage they send for it.
    {KEY_MUTE, 0xAD, 0x20, E, 0}, {KEY_VOLUMEDOWN, 0xAE, 0x2E, E, 0},
    {KEY_VOLUMEUP, 0xAF, 0x30, E, 0},
    {KEY_NEXTSONG, 0xB0, 0x19, E, 0}, {KEY_PREVIOUSSONG, 0xB1, 0x10, E, 0},
    {KEY_STOPCD, 0xB2, 0x24, E, 0},
    {KEY_PLAYPAUSE, 0xB3, 0x22, E, 0}, {KEY_PLAYCD, 0xB3, 0x22, E, 0},
    {KEY_PAUSECD, 0xB3, 0x22, E, 0},
    {KEY_MAIL, 0xB4, 0x6C, E, 0}, {KEY_EMAIL, 0xB4, 0x6C, E, 0},
    {KEY_MEDIA, 0xB5, 0x6D, E, 0}, {KEY_CONFIG, 0xB5, 0x6D, E, 0},
    {KEY_COMPUTER, 0xB6, 0x6B, E, 0}, {KEY_FILE, 0xB6, 0x6B, E, 0},
    {KEY_CALC, 0xB7, 0x21, E, 0},
    {KEY_BACK, 0xA6, 0x6A, E, 0}, {KEY_FORWARD, 0xA7, 0x69, E, 0},
    {KEY_REFRESH, 0xA8, 0x67, E, 0}, {KEY_STOP, 0xA9, 0x68, E, 0},
    {KEY_SEARCH, 0xAA, 0x65, E, 0}, {KEY_BOOKMARKS, 0xAB, 0x66, E, 0},
    {KEY_HOMEPAGE, 0xAC, 0x32, E, 0},
};
// clang-format on

const Entry* Find(std::uint16_t linuxCode) {
    for (const Entry& e : kTable) {
        if (e.linuxCode == linuxCode) return &e;
    }
    return nullptr;
}

constexpr WindowsKey kBreak{0x03, 0x46, true, false};
constexpr WindowsKey kSysReq{0x2C, 0x54, false, false};

bool IsReportedOnReleaseOnly(const WindowsKey& k) {
    if (k.extended) return k.scanCode == 0x37;  // Print Screen
    return k.scanCode == 0x54 || k.scanCode == 0x71 || k.scanCode == 0x72;
}

}  // namespace

std::optional<WindowsKey> WindowsKeyFromLinuxKey(std::uint16_t linuxKeyCode,
                                                 const KeyTranslationState& state) {
    const Entry* e = Find(linuxKeyCode);
    if (e == nullptr) return std::nullopt;
    WindowsKey key{e->vk, e->scanCode, e->extended, false};
    // The keyboard itself sends other codes for these two while Ctrl or Alt is held.
    if (linuxKeyCode == KEY_PAUSE && state.ctrl) key = kBreak;
    if ((linuxKeyCode == KEY_SYSRQ || linuxKeyCode == KEY_PRINT) && state.alt) key = kSysReq;
    if (state.numLockOff && e->numLockOffVk != 0) key.vk = e->numLockOffVk;
    key.releaseOnly = IsReportedOnReleaseOnly(key);
    return key;
}

std::uint32_t KeyEventLParam(const WindowsKey& key, bool release, bool autoRepeat) {
    std::uint32_t lParam = 1;  // repeat count: every event is reported on its own
    lParam |= std::uint32_t{key.scanCode} << 16;
    if (key.extended) lParam |= 1u << 24;
    if (release || autoRepeat) lParam |= 1u << 30;
    if (release) lParam |= 1u << 31;
    return lParam;
}

}  // namespace qv::platform
