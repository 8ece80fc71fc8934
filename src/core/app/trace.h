#pragma once
// The few diagnostic traces of the tool. No log files: they go to standard error, and only when
// QUORVANE_TRACE is set in the environment.

#include <string_view>

namespace qv {

bool TraceEnabled();
void Trace(std::string_view text);

}  // namespace qv
