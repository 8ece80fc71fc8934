#pragma once
// Keys, G keys, media items and application functions by the names a user types in a shell or a
// file: matched without regard to case or spaces ("right ctrl", "RightCtrl", "num 7"), with the
// closest names offered when nothing matches.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/keyboard/key_code.h"

namespace qv {

// A key of the key list by its catalogue name or one of a few typeable aliases ("Up" for the
// arrow, "Escape", "Left Ctrl", "Menu"...).
std::optional<KeyCode> FindKeyByName(std::string_view typed);
// The name a key is written with in files and listings: its catalogue name, which FindKeyByName
// reads back. Empty for a code that has no name.
std::string KeyNameForScripts(KeyCode code);

// The record index of a key one can give another function: one of the keyboard's key buttons,
// or a G key. "G1".."G9" take `bankB`; "A-G3" and "B-G3" carry their own bank.
struct RemappableKey {
    int recordIndex = -1;  // CatalogueSlot, or 256 + n for G key n
    std::string name;      // "Caps Lock", "B-G3"
};
std::optional<RemappableKey> FindRemappableKey(std::string_view typed, bool bankB);
// Whether record `index` belongs to a key button or a G key.
bool IsRemappableRecord(int index);
// Every name FindRemappableKey takes, in key-list order, then the G keys.
std::vector<std::string> RemappableKeyNames();
// Every key name FindKeyByName takes, in key-list order (aliases not included).
std::vector<std::string> KeyListNames();

// Media items and application functions by a fixed script name ("volume-up", "select-all"),
// by their shown name or by their index; the script names do not change with the language.
std::optional<int> FindMediaByName(std::string_view typed);
std::optional<int> FindFunctionByName(std::string_view typed);
const std::string& MediaScriptName(int index);     // empty outside 0..17
const std::string& FunctionScriptName(int index);  // empty outside 0..10
std::vector<std::string> MediaScriptNames();
std::vector<std::string> FunctionScriptNames();

// Up to `count` of `candidates` closest to `typed` (ignoring case and spaces), nearest first;
// only names near enough to be a likely typing slip.
std::vector<std::string> ClosestNames(std::string_view typed, const std::vector<std::string>& candidates,
                                      std::size_t count = 3);
// "unknown key 'Caps Lok' (did you mean Caps Lock?)", for any kind of name.
std::string UnknownNameMessage(std::string_view kind, std::string_view typed,
                               const std::vector<std::string>& candidates);

// Lower case without spaces: the form names are compared in.
std::string NameKey(std::string_view text);

}  // namespace qv
