#pragma once
// Where this platform keeps the user's documents and the running executable.

#include <filesystem>

namespace qv::platform {

// The XDG documents folder (XDG_DOCUMENTS_DIR from user-dirs.dirs, else ~/Documents when it
// exists); the home folder when there is none.
std::filesystem::path DocumentsFolder();

// The full path of the running executable, independent of the current folder.
std::filesystem::path ExecutablePath(const char* argv0 = nullptr);

}  // namespace qv::platform
