#pragma once
// A profile's assignments and macros in readable form: per on-board profile the keys that do
// something else than their factory function, then every macro with its actions.

#include <string>

#include "core/keyboard/profile_store.h"

namespace qv {

// "Key(B)", "Macro(name)", "Media(...)", ...; empty for type 0.
std::string DescribeAssignment(const ProfileContent& content, int table, int recordIndex);
// The name of record `index`: the key's name, or "G%d" with the bank for G-key records.
std::string RecordName(int recordIndex);

std::string ProfileReportText(const ProfileContent& content);

}  // namespace qv
