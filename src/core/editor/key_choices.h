#pragma once
// Key functions the editor offers beside the four pages' own: a key that does nothing and a key
// that stops the macro playing. They sit at the end of the function list, after the eleven
// application functions, and are written as their own record types, not as type 8.

#include <cstdint>
#include <optional>
#include <string>

#include "core/keyboard/key_code.h"
#include "core/keyboard/media_function_tables.h"

namespace qv {

inline constexpr int kDisabledChoice = kFunctionCount;
inline constexpr int kStopMacroChoice = kFunctionCount + 1;
inline constexpr int kFunctionChoiceCount = kFunctionCount + 2;

// The text table has no texts for them: they read in English in every language.
inline constexpr const char* kDisabledName = "Disabled";
inline constexpr const char* kStopMacroName = "Stop macro";

// The function list's entry for a record type with no value of its own (1 or 5).
std::optional<int> FunctionChoiceOfType(std::uint16_t type);
// The record type an entry of the function list writes (8 for the application functions).
std::uint16_t TypeOfFunctionChoice(int choice);
// Entry names, application functions first.
std::string FunctionChoiceName(int choice);

// Whether the keyboard can send the key as a single-key assignment: a modifier or a key of the
// keyboard usage page. Any other key (F13, the power keys, mouse buttons) would be stored as an
// entry that sends nothing and reads back as a disabled key.
bool KeyboardCanSend(KeyCode key);
// What the editor says when such a key is pressed.
std::string CannotSendPrompt(KeyCode key);

}  // namespace qv
