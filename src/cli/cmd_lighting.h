#pragma once
// quorvanectl lighting, quorvanectl keycolours.

#include <span>

namespace qv::cli {

int RunLighting(std::span<char* const> args);
int RunKeyColours(std::span<char* const> args);

}  // namespace qv::cli
