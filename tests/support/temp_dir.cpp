#include "support/temp_dir.h"

#include <cstdlib>
#include <stdexcept>

namespace qv::test {

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "qvtest.XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

}  // namespace qv::test
