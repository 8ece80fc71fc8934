// What a benchmark of the real window runs it in: the simulated keyboard, with its state file,
// the settings and the documents folder in a home of the run's own, and the program's paths and
// texts as the program itself loads them.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/app/paths.h"
#include "core/app/text_table.h"

namespace qv::bench {

inline std::filesystem::path UseSimulatedProgram(const std::string& tag) {
    const auto home = std::filesystem::temp_directory_path() / (tag + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home / "Documents");
    setenv("QUORVANE_SIMULATE", "1", 1);
    setenv("QUORVANE_SIM_STATE", (home / "keyboard.state").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
    SetProgramPaths(BuildProgramPaths(std::filesystem::path(QV_BIN_DIR) / "quorvane"));
    SetUserPaths(BuildUserPaths(home / "Documents"));
    LoadTextTable(Paths().textTable);
    return home;
}

}  // namespace qv::bench
