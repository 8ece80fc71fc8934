#pragma once
// A fresh folder per test, removed afterwards.

#include <filesystem>
#include <string>

namespace qv::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace qv::test
