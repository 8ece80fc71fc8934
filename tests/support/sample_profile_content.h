#pragma once
// Profile contents for round trips through the keyboard: every kind of assignment the keyboard
// holds in all three profiles, and named macros.

#include <string>

#include "core/keyboard/profile_store.h"

namespace qv::test {

// Single keys, modifiers, disabled, media, function keys, macro and stop-macro keys in all three
// profiles; three macros (the second unnamed) with keyboard, modifier, consumer and desktop keys.
ProfileContent KeyboardHeldContent();

// What the keyboard gives back for it: unnamed macros come back as "Macro<n>".
ProfileContent KeyboardHeldContentAsReadBack();

// "" when equal, else one line per differing record: index, type/aux/value of both sides.
std::string TableDifferences(const KeyTable& actual, const KeyTable& expected);

}  // namespace qv::test
