#pragma once
// quorvanectl info, quorvanectl profile [N].

#include <span>

namespace qv::cli {

int RunInfo(std::span<char* const> args);
int RunProfile(std::span<char* const> args);

}  // namespace qv::cli
