#include "platform/key_translation.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

#include <set>
#include <string>

#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"

namespace qv::platform {
namespace {

// The key a hook resolves a translated press to, as the editor and the recorder do.
KeyCode Resolve(std::uint16_t linuxCode, const KeyTranslationState& state = {}, bool release = false,
                bool repeat = false) {
    const auto key = WindowsKeyFromLinuxKey(linuxCode, state);
    if (!key) return kNoKey;
    return KeyFromWindowsEvent(key->vk, KeyEventLParam(*key, release, repeat));
}

struct Expected {
    std::uint16_t linuxCode;
    const char* name;  // the key list's name of the key at that position
    KeyTranslationState state;
};

const KeyTranslationState kCtrl{false, true, false};

// Every key of the key list with the Linux key code of the key at its place on a 105-key board.
const Expected kKeyList[] = {
    {KEY_A, "A", {}}, {KEY_B, "B", {}}, {KEY_C, "C", {}}, {KEY_D, "D", {}}, {KEY_E, "E", {}},
    {KEY_F, "F", {}}, {KEY_G, "G", {}}, {KEY_H, "H", {}}, {KEY_I, "I", {}}, {KEY_J, "J", {}},
    {KEY_K, "K", {}}, {KEY_L, "L", {}}, {KEY_M, "M", {}}, {KEY_N, "N", {}}, {KEY_O, "O", {}},
    {KEY_P, "P", {}}, {KEY_Q, "Q", {}}, {KEY_R, "R", {}}, {KEY_S, "S", {}}, {KEY_T, "T", {}},
    {KEY_U, "U", {}}, {KEY_V, "V", {}}, {KEY_W, "W", {}}, {KEY_X, "X", {}}, {KEY_Y, "Y", {}},
    {KEY_Z, "Z", {}},
    {KEY_1, "1", {}}, {KEY_2, "2", {}}, {KEY_3, "3", {}}, {KEY_4, "4", {}}, {KEY_5, "5", {}},
    {KEY_6, "6", {}}, {KEY_7, "7", {}}, {KEY_8, "8", {}}, {KEY_9, "9", {}}, {KEY_0, "0", {}},
    {KEY_ENTER, "Enter", {}}, {KEY_ESC, "Esc", {}}, {KEY_BACKSPACE, "Backspace", {}},
    {KEY_TAB, "Tab", {}}, {KEY_SPACE, "Space", {}}, {KEY_MINUS, "-", {}}, {KEY_EQUAL, "=", {}},
    {KEY_LEFTBRACE, "[", {}}, {KEY_RIGHTBRACE, "]", {}}, {KEY_BACKSLASH, "\\", {}},
    {KEY_SEMICOLON, ";", {}}, {KEY_APOSTROPHE, "'", {}}, {KEY_GRAVE, "`", {}},
    {KEY_COMMA, ",", {}}, {KEY_DOT, ".", {}}, {KEY_SLASH, "/", {}},
    {KEY_F1, "F1", {}}, {KEY_F2, "F2", {}}, {KEY_F3, "F3", {}}, {KEY_F4, "F4", {}},
    {KEY_F5, "F5", {}}, {KEY_F6, "F6", {}}, {KEY_F7, "F7", {}}, {KEY_F8, "F8", {}},
    {KEY_F9, "F9", {}}, {KEY_F10, "F10", {}}, {KEY_F11, "F11", {}}, {KEY_F12, "F12", {}},
    {KEY_SYSRQ, "Print Screen", {}}, {KEY_PAUSE, "Pause", {}}, {KEY_PAUSE, "Break", kCtrl},
    {KEY_INSERT, "Insert", {}}, {KEY_DELETE, "Delete", {}}, {KEY_HOME, "Home", {}},
    {KEY_END, "End", {}}, {KEY_PAGEUP, "Page Up", {}}, {KEY_PAGEDOWN, "Page Down", {}},
    {KEY_UP, "\u2191", {}}, {KEY_DOWN, "\u2193", {}}, {KEY_LEFT, "\u2190", {}},
    {KEY_RIGHT, "\u2192", {}},
    {KEY_SCROLLLOCK, "Scroll Lock", {}}, {KEY_CAPSLOCK, "Caps Lock", {}},
    {KEY_NUMLOCK, "Num Lock", {}}, {KEY_KPSLASH, "Num /", {}}, {KEY_KPASTERISK, "Num *", {}},
    {KEY_KPMINUS, "Num -", {}}, {KEY_KPPLUS, "Num +", {}}, {KEY_KPENTER, "Num Enter", {}},
    {KEY_KP1, "Num 1", {}}, {KEY_KP2, "Num 2", {}}, {KEY_KP3, "Num 3", {}},
    {KEY_KP4, "Num 4", {}}, {KEY_KP5, "Num 5", {}}, {KEY_KP6, "Num 6", {}},
    {KEY_KP7, "Num 7", {}}, {KEY_KP8, "Num 8", {}}, {KEY_KP9, "Num 9", {}},
    {KEY_KP0, "Num 0", {}}, {KEY_KPDOT, "Num .", {}},
    {KEY_102ND, "K45", {}}, {KEY_COMPOSE, "App", {}},
    {KEY_LEFTCTRL, "Ctrl", {}}, {KEY_LEFTSHIFT, "Shift", {}}, {KEY_LEFTALT, "Alt", {}},
    {KEY_LEFTMETA, "Win", {}}, {KEY_RIGHTCTRL, "Right Ctrl", {}},
    {KEY_RIGHTSHIFT, "Right Shift", {}}, {KEY_RIGHTALT, "Right Alt", {}},
    {KEY_RIGHTMETA, "Right Win", {}},
};

class KeyTranslationTest : public ::testing::Test {
protected:
    void SetUp() override { ResetTextTable(); }
};

TEST_F(KeyTranslationTest, EveryKeyOfTheKeyListIsCapturedAsItself) {
    std::set<int> covered;
    for (const Expected& e : kKeyList) {
        SCOPED_TRACE(std::string("key ") + e.name);
        const KeyCode code = Resolve(e.linuxCode, e.state);
        ASSERT_NE(code, kNoKey);
        EXPECT_EQ(KeyName(code), e.name);
        const int position = KeyListPositionOf(code);
        ASSERT_LT(position, kKeyListSize);
        EXPECT_EQ(KeyCodeAtListPosition(position), code);
        covered.insert(position);
        // Releases and repeats name the same key.
        EXPECT_EQ(Resolve(e.linuxCode, e.state, true), code);
        EXPECT_EQ(Resolve(e.linuxCode, e.state, false, true), code);
    }
    EXPECT_EQ(covered.size(), static_cast<std::size_t>(kKeyListSize));
}

TEST_F(KeyTranslationTest, VirtualKeysAreTheOnesWindowsReports) {
    for (const Expected& e : kKeyList) {
        SCOPED_TRACE(std::string("key ") + e.name);
        const auto key = WindowsKeyFromLinuxKey(e.linuxCode, e.state);
        ASSERT_TRUE(key);
        const KeyCode code = static_cast<KeyCode>((key->extended ? 0x100 : 0) | key->scanCode);
        // The lParam's scan code and extended bit spell the key's own code.
        const KeyCode expected = Resolve(e.linuxCode, e.state);
        EXPECT_EQ(code, expected);
        EXPECT_EQ(key->vk, KeyCatalogue()[KeyCodeToSlot(expected)].primaryVk);
    }
}

TEST_F(KeyTranslationTest, NumericPadWithNumLockOffReportsNavigationKeys) {
    const KeyTranslationState off{true, false, false};
    const std::uint16_t pad[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4, KEY_KP5,
                                 KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9, KEY_KPDOT};
    for (std::uint16_t code : pad) {
        SCOPED_TRACE(code);
        const auto on = WindowsKeyFromLinuxKey(code);
        const auto key = WindowsKeyFromLinuxKey(code, off);
        ASSERT_TRUE(key);
        const KeyCode keyCode = Resolve(code);
        EXPECT_EQ(key->vk, KeyCatalogue()[KeyCodeToSlot(keyCode)].secondaryVk);
        EXPECT_NE(key->vk, on->vk);
        EXPECT_EQ(Resolve(code, off), keyCode);
    }
    EXPECT_EQ(WindowsKeyFromLinuxKey(KEY_KP7, off)->vk, 0x24);
    // The dedicated navigation keys stay what they are.
    EXPECT_EQ(Resolve(KEY_HOME, off), 0x147);
    EXPECT_EQ(Resolve(KEY_KPENTER, off), 0x11C);
}

TEST_F(KeyTranslationTest, KeysTheKeyboardSendsDifferentlyWithModifiersHeld) {
    const auto pause = WindowsKeyFromLinuxKey(KEY_PAUSE);
    EXPECT_EQ(*pause, (WindowsKey{0x13, 0x45, false, false}));
    EXPECT_EQ(*WindowsKeyFromLinuxKey(KEY_PAUSE, kCtrl), (WindowsKey{0x03, 0x46, true, false}));
    EXPECT_EQ(*WindowsKeyFromLinuxKey(KEY_NUMLOCK), (WindowsKey{0x90, 0x45, true, false}));

    const KeyTranslationState alt{false, false, true};
    EXPECT_EQ(Resolve(KEY_SYSRQ, alt), 0x054);
    EXPECT_EQ(Resolve(KEY_PRINT), 0x137);
    // Ctrl and Alt leave every other key alone.
    EXPECT_EQ(Resolve(KEY_A, KeyTranslationState{false, true, true}), 0x01E);
}

TEST_F(KeyTranslationTest, OnlyTheKeysWindowsReportsOnReleaseAreMarkedSo) {
    const KeyTranslationState alt{false, false, true};
    EXPECT_TRUE(WindowsKeyFromLinuxKey(KEY_SYSRQ)->releaseOnly);
    EXPECT_TRUE(WindowsKeyFromLinuxKey(KEY_SYSRQ, alt)->releaseOnly);
    EXPECT_TRUE(WindowsKeyFromLinuxKey(KEY_HANJA)->releaseOnly);
    EXPECT_TRUE(WindowsKeyFromLinuxKey(KEY_HANGEUL)->releaseOnly);
    EXPECT_EQ(Resolve(KEY_HANJA), 0x071);
    EXPECT_EQ(Resolve(KEY_HANGEUL), 0x072);
    for (const Expected& e : kKeyList) {
        if (e.linuxCode == KEY_SYSRQ) continue;
        EXPECT_FALSE(WindowsKeyFromLinuxKey(e.linuxCode, e.state)->releaseOnly) << e.name;
    }
}

TEST_F(KeyTranslationTest, MediaKeysResolveToTheCatalogueMediaKeys) {
    // In media-table order; some keys come as either of two Linux codes.
    const std::uint16_t media[kMediaCount][2] = {
        {KEY_MEDIA, KEY_CONFIG}, {KEY_PLAYPAUSE, KEY_PLAYCD}, {KEY_STOPCD, 0},
        {KEY_PREVIOUSSONG, 0}, {KEY_NEXTSONG, 0}, {KEY_VOLUMEDOWN, 0}, {KEY_VOLUMEUP, 0},
        {KEY_MUTE, 0}, {KEY_HOMEPAGE, 0}, {KEY_REFRESH, 0}, {KEY_STOP, 0}, {KEY_BACK, 0},
        {KEY_FORWARD, 0}, {KEY_BOOKMARKS, 0}, {KEY_SEARCH, 0}, {KEY_COMPUTER, KEY_FILE},
        {KEY_CALC, 0}, {KEY_MAIL, KEY_EMAIL},
    };
    for (int i = 0; i < kMediaCount; ++i) {
        for (std::uint16_t code : media[i]) {
            if (code == 0) continue;
            SCOPED_TRACE(code);
            EXPECT_EQ(Resolve(code), MediaKeyCode(i));
            const auto key = WindowsKeyFromLinuxKey(code);
            EXPECT_GE(key->vk, 0xA6);
            EXPECT_LE(key->vk, 0xB7);
        }
    }
}

TEST_F(KeyTranslationTest, CodesOfNoKeyAreNotTranslated) {
    EXPECT_FALSE(WindowsKeyFromLinuxKey(0));
    EXPECT_FALSE(WindowsKeyFromLinuxKey(KEY_BRIGHTNESSUP));
    EXPECT_FALSE(WindowsKeyFromLinuxKey(BTN_LEFT));
    EXPECT_FALSE(WindowsKeyFromLinuxKey(0xFFFF));
}

TEST_F(KeyTranslationTest, LParamCarriesScanCodeExtendedBitAndTransition) {
    const WindowsKey rightCtrl{0xA3, 0x1D, true, false};
    EXPECT_EQ(KeyEventLParam(rightCtrl, false, false), 0x011D0001u);
    EXPECT_EQ(KeyEventLParam(rightCtrl, false, true), 0x411D0001u);
    EXPECT_EQ(KeyEventLParam(rightCtrl, true, false), 0xC11D0001u);
    const WindowsKey a{0x41, 0x1E, false, false};
    EXPECT_EQ(KeyEventLParam(a, false, false), 0x001E0001u);
    EXPECT_EQ(KeyEventLParam(a, true, true), 0xC01E0001u);
}

}  // namespace
}  // namespace qv::platform
