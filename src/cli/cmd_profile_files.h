#pragma once
// Commands for profile files.

#include <span>

namespace qv::cli {

int RunExport(std::span<char* const> args);
int RunValidate(std::span<char* const> args);
int RunImport(std::span<char* const> args);
int RunShow(std::span<char* const> args);

// The program's text table from Skins/language.ini beside the executable, when it is complete.
void LoadProgramTexts();

}  // namespace qv::cli
