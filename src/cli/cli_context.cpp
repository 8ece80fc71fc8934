#include "cli/cli_context.h"

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "platform/user_folders.h"

namespace qv::cli {

void SetUpProgram(const char* argv0) {
    SetProgramPaths(BuildProgramPaths(platform::ExecutablePath(argv0)));
    SetUserPaths(BuildUserPaths(platform::DocumentsFolder()));
    LoadTextTable(Paths().textTable);
}

}  // namespace qv::cli
