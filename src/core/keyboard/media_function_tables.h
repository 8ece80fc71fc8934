#pragma once
// The 18 media functions (assignment type 7) and 11 application functions (type 8). A key record
// keeps only the index; the names come from the text table.

#include <cstdint>
#include <optional>
#include <string>

#include "core/keyboard/key_code.h"

namespace qv {

inline constexpr int kMediaCount = 18;
inline constexpr int kFunctionCount = 11;

// Index outside the table: an empty name, key 0, usage 0.
const std::string& MediaName(int index);
KeyCode MediaKeyCode(int index);
std::uint16_t MediaUsage(int index);
// The first item with this consumer usage.
std::optional<int> MediaIndexOfUsage(std::uint16_t usage);

const std::string& FunctionName(int index);

}  // namespace qv
