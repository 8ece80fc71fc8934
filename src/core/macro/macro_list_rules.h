#pragma once
// Rules of a macro list that every front end shares: the ids new macros take, the limits of
// typed pauses and repeat counts, and the repair of key records when the list is replaced.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/keyboard/profile_store.h"
#include "core/macro/macro_image.h"
#include "core/macro/macro_record.h"

namespace qv {

// The smallest id of 1..kMaxMacros that no macro of the list uses; 0 when every id is taken.
std::uint16_t SmallestFreeMacroId(const MacroList& list);

// A pause as the user typed it: above kMaxMacroDelayMs it takes the maximum (and says so),
// then it is rounded down to a multiple of 10 ms, the keyboard's resolution. Negative reads as 0.
struct TypedPause {
    int pause = 0;
    bool capped = false;
};
TypedPause NormalizeTypedPause(long long typed);

// A pause stated exactly, by a step list, quorvanectl's --pause or a JSON profile: it must be one
// the keyboard keeps as it is, a multiple of 10 ms within the 12 bits of 10 ms steps the macro
// memory has (0 to 40950 ms). Rounding or capping it instead would send something else than the
// script says. (The window's pause cell is typed by hand and keeps its own 40000 ms cap above.)
inline constexpr int kPauseStepMs = 10;
inline constexpr int kLongestPauseMs = kLongestEncodableDelayMs;
// The limits in the words every message, help text and the README use.
std::string PauseLimitsText();  // "0 to 40950 ms in steps of 10 ms"
// The reason a stated pause is refused, else nothing.
std::optional<std::string> CheckStatedPause(long long pause);

// A repeat count as typed: below 1 is 1, above 255 is 255.
int ClampRepeatCount(long long typed);

// Whether a key record of any of the four key tables plays the macro with this id.
bool MacroUsedByKeys(const ProfileContent& content, std::uint16_t id);

// Replaces the content's macro list with `macros` (their new flags cleared) after mending the key
// records that play macros, in table order (position = table * 512 + index):
// - a macro record with value 0 takes the id of the first macro, when there is one;
// - a record whose id no macro has, or whose macro is new (its id was taken by a macro made after
//   the old one was deleted), goes back to its factory function (type 0).
// `changed(table, index)` is called for every record changed. Returns how many were changed.
int ReplaceMacroList(ProfileContent& content, MacroList macros,
                     const std::function<void(int table, int index)>& changed = {});

}  // namespace qv
