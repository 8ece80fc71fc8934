#pragma once
// Macros as a user names them in a shell: by name (exactly, else without regard to case) or by id.

#include <string>
#include <string_view>

#include "core/macro/macro_record.h"

namespace qv {

MacroRecord* FindMacro(MacroList& list, std::string_view nameOrId);
const MacroRecord* FindMacro(const MacroList& list, std::string_view nameOrId);
// "no macro 'helo' (did you mean hello?)".
std::string UnknownMacroMessage(const MacroList& list, std::string_view nameOrId);

// The macro of this name without regard to case.
MacroRecord* FindMacroByName(MacroList& list, std::u16string_view name);
// Whether another macro than `except` has this name, without regard to case.
bool MacroNameTaken(const MacroList& list, std::u16string_view name, const MacroRecord* except = nullptr);
// An error text for a name that breaks the model's limits (empty, too long), else empty.
std::string CheckMacroName(std::u16string_view name);

}  // namespace qv
