#include "core/editor/key_choices.h"

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/keyboard/key_record.h"

namespace qv {

std::optional<int> FunctionChoiceOfType(std::uint16_t type) {
    if (type == AssignDisabled) return kDisabledChoice;
    if (type == AssignStopMacro) return kStopMacroChoice;
    return std::nullopt;
}

std::uint16_t TypeOfFunctionChoice(int choice) {
    if (choice == kDisabledChoice) return AssignDisabled;
    if (choice == kStopMacroChoice) return AssignStopMacro;
    return AssignFunctionKey;
}

std::string FunctionChoiceName(int choice) {
    if (choice == kDisabledChoice) return kDisabledName;
    if (choice == kStopMacroChoice) return kStopMacroName;
    return FunctionName(choice);
}

bool KeyboardCanSend(KeyCode key) {
    if (key == kNoKey) return false;
    // Asked of the encoder itself, so the editor refuses exactly what it would write as dead.
    KeyRecord r;
    r.type = AssignSingleKey;
    r.value = key;
    const MatrixEntry e = EncodeAssignment(r, MatrixEntry{}, MacroList{});
    return e[0] == 2 && (e[1] == 1 || e[2] != 0);
}

std::string CannotSendPrompt(KeyCode key) {
    return KeyName(key) + " cannot be assigned: the keyboard cannot send this key. Choose another key.";
}

}  // namespace qv
