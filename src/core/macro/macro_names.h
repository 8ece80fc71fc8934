#pragma once
// Macros as a user names them in a shell: by name (exactly, else without regard to case) or by id.

#include <string>
#include <string_view>

#include "core/macro/macro_record.h"

namespace qv {

// A macro named by a user: by its name (exactly, else without regard to case) or its id, or
// with `byId` by its id only. A word of digits that is the name of one macro and the id of
// another is refused, naming both, rather than one silently winning.
struct MacroLookup {
    MacroRecord* macro = nullptr;
    std::string error;  // when macro is nullptr: "unknown macro 'helo' (did you mean hello?)"
};
MacroLookup FindMacro(MacroList& list, std::string_view nameOrId, bool byId = false);
const MacroRecord* FindMacro(const MacroList& list, std::string_view nameOrId, bool byId, std::string* error);

// The macro of this name without regard to case.
MacroRecord* FindMacroByName(MacroList& list, std::u16string_view name);
// Whether another macro than `except` has this name, without regard to case.
bool MacroNameTaken(const MacroList& list, std::u16string_view name, const MacroRecord* except = nullptr);
// An error text for a name that breaks the model's limits (empty, too long, control characters
// such as a line break), else empty.
std::string CheckMacroName(std::u16string_view name);
// The same for a name typed as UTF-8, which must be well-formed.
std::string CheckMacroName(std::string_view utf8);

}  // namespace qv
