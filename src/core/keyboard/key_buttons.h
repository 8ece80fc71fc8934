#pragma once
// The key buttons of the main window (dialog 102): control id, KeyCode and place in the
// keyboard's 6 x 21 matrix (row x 21 + column), the G-key buttons and the skin key names.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/keyboard/key_code.h"

namespace qv {

using MatrixIndex = std::uint8_t;

inline constexpr int kKeyButtonCount = 104;
inline constexpr int kGKeyButtonCount = 9;
inline constexpr int kFnButtonId = 1174;
inline constexpr MatrixIndex kFnMatrixIndex = 110;
inline constexpr MatrixIndex kGKeyMatrixIndex = 125;

struct KeyButton {
    int controlId;
    KeyCode code;
    MatrixIndex matrixIndex;
};

const std::array<KeyButton, kKeyButtonCount>& KeyButtonTable();
// G1..G9.
const std::array<int, kGKeyButtonCount>& GKeyButtons();

const KeyButton* FindKeyButton(int controlId);
// 0..8, or nothing for an id that is not a G button.
std::optional<int> GKeyIndexOfButton(int controlId);
// 125 for any G button, 110 for the Fn button, 0 for an unknown id.
MatrixIndex MatrixIndexOfButton(int controlId);

// Skin keys of the main window's BUTTONINFO section.
std::string SkinKeyName(KeyCode code);  // "KEY_%03X" with the code's slot
std::string SkinGKeyName(int position); // "FUNC_G%d", position 0..8 -> 1..9
inline constexpr const char* kSkinFnKeyName = "KEY_FN";

}  // namespace qv
