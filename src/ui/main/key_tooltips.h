#pragma once
// What a key button's tooltip says: the key's name and, when the key has an assignment of its
// own, what it does now.

#include <string>

#include "core/keyboard/key_record.h"
#include "core/macro/macro_record.h"

namespace qv::ui {

// `name`: the key's name ("G%d" for G buttons). Types 2, 4, 7 and 8 name their value; disabled,
// stop-macro, program and text keys name their type; unknown types add only "Keys, Set: ".
std::string KeyButtonTooltip(const std::string& name, const KeyRecord& record, const MacroList& macros);

}  // namespace qv::ui
