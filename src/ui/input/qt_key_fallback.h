#pragma once
// For key events that carry no native scan code: the Linux key code of the key a Qt::Key
// stands for on a US layout. Left-hand modifiers stand for either side.

#include <cstdint>

namespace qv::ui {

// 0 when no key of the table stands for it.
std::uint16_t LinuxKeyFromQtKey(int qtKey, bool keypad);

// The Qt keys the numeric pad gives with Num Lock off (Home for 7, Clear for 5, ...).
bool IsKeypadNavigationKey(int qtKey);

}  // namespace qv::ui
