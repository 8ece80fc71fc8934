#pragma once
// The JSON form of a profile: the three on-board profiles' assignments and the macros, as
// `show --json` prints them and `export --json` writes them. It carries everything the binary
// profile file carries for profiles 1 to 3 (every assignment type with its target, macro keys'
// repeat counts, texts, macros with names, actions and pauses); not the fourth, unused key table
// nor the record fields no one reads.
//
//   {"format": "quorvane-profiles", "version": 1,
//    "profiles": [{"profile": 1, "keys": [{"key": "A", "type": "key", "target": "B"}, ...]}, ...],
//    "macros": [{"id": 1, "name": "hello", "repeat": 1,
//                "actions": [{"key": "H", "press": true, "delay": 50}, ...]}]}
//
// A key record the named form cannot say as it is (a type this tool does not know, a media or
// function index outside the tables, a macro number beyond 100) is written as it is, by its type
// number: {"key": "A", "type": "raw", "raw_type": 13, "value": 0} with "aux" when it is not the
// key's usual one ("type" is always a string; the reader also takes the number in "type" that
// earlier versions wrote). Whatever the writer writes, the reader takes back as the same record.
//
// The reader takes input it does not trust: unknown fields, wrong types, values out of range,
// unknown names and duplicates are refused with the JSON path of the bad value. Pauses are
// checked by CheckStatedPause, as on the command line: never rounded or capped.

#include <optional>
#include <string>
#include <string_view>

#include "core/keyboard/profile_store.h"

namespace qv {

inline constexpr std::string_view kProfileJsonFormat = "quorvane-profiles";
inline constexpr int kProfileJsonVersion = 1;
// Larger input is refused before it is parsed (100 full macros take about 10 MB).
inline constexpr std::size_t kMaxProfileJsonBytes = 32u << 20;

// Two-space indented, one key or action per line; ends with a line feed.
std::string ProfileToJson(const ProfileContent& content);
// One macro as it appears in the "macros" list, and the whole list.
std::string MacroToJson(const MacroRecord& macro);
std::string MacroListToJson(const MacroList& macros);
// One profile (table 0..2) as it appears in the "profiles" list; with `withFactoryKeys` also
// every key button and G key at its factory function, as {"key": ..., "type": "default"}.
std::string ProfileKeysToJson(const ProfileContent& content, int table, bool withFactoryKeys = false);

struct ProfileJsonResult {
    std::optional<ProfileContent> content;
    std::string error;  // "profiles[1].keys[3].target: unknown key 'Caps Lok' (did you mean Caps Lock?)"
};
ProfileJsonResult ParseProfileJson(std::string_view text);

// Whether the bytes look like the JSON form rather than a binary profile file: the first byte
// that is not white space is '{'.
bool LooksLikeJson(std::string_view bytes);

}  // namespace qv
