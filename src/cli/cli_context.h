#pragma once
// What every quorvanectl command can rely on: the program's paths and text table are set up
// exactly as the window program sets them up.

#include <span>

namespace qv::cli {

// Builds program and per-user paths and loads the text table.
void SetUpProgram(const char* argv0);

int RunPaths(std::span<char* const> args);

}  // namespace qv::cli
