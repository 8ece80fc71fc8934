#pragma once
// A file chooser that gives the same answer to every question and keeps the last options asked.

#include <filesystem>
#include <optional>

#include "core/profile/profile_host.h"

namespace qv::test {

class OneAnswerChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& o) override {
        last = o;
        return answer;
    }
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& o) override {
        last = o;
        return answer;
    }
    std::optional<std::filesystem::path> answer;  // cancelled when empty
    FileDialogOptions last;
};

}  // namespace qv::test
