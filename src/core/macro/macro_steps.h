#pragma once
// Macro actions written as text, for the command line and scripts, and text turned into the key
// actions that type it.
//
// A step list is a sequence of words separated by white space:
//   +KEY     press KEY            -KEY     release KEY
//   KEY      press and release KEY (a tap)
//   NUMms    the pause after the action before it, 0..40950 in steps of 10 ("250ms")
// KEY is a key name as FindKeyByName takes it, written without its spaces ("CapsLock", "Num7",
// "RightCtrl"), or a key code in hexadecimal ("0x01E"). A one-character word is always a tap, so
// "-" taps the minus key; "--" releases it and "+-" presses it. Actions not followed by a pause
// get the default pause; the last action's pause is 0 unless one is given.
//   "+Ctrl c -Ctrl"            Ctrl+C
//   "+LeftShift h -LeftShift i 500ms Enter"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/macro/macro_record.h"

namespace qv {

struct StepsResult {
    std::vector<MacroAction> actions;
    std::string error;  // empty on success; names the bad word
    bool ok() const { return error.empty(); }
};

// Parses a step list; pauses are checked with CheckStatedPause. `defaultPause` is one that passes it.
StepsResult ParseMacroSteps(std::string_view steps, int defaultPause);
// The actions as a step list that ParseMacroSteps reads back with a default pause of 0.
std::string FormatMacroSteps(const std::vector<MacroAction>& actions);

// The actions that type `text` on a US layout: a press and a release per character, Shift held
// around the characters that need it, `pause` after every action but the last. Tabs and line
// feeds type Tab and Enter. A character without a key is refused, naming it.
StepsResult TypeTextActions(std::string_view utf8Text, int pause);

}  // namespace qv
