#pragma once
// Profile file choice through the toolkit's file dialogs.

#include <QPointer>
#include <QWidget>

#include "core/profile/profile_host.h"

namespace qv::ui {

class FileDialogChooser : public FileChooser {
public:
    explicit FileDialogChooser(QWidget* owner = nullptr) : owner_(owner) {}
    std::optional<std::filesystem::path> ChooseFileToOpen(const FileDialogOptions& options) override;
    std::optional<std::filesystem::path> ChooseFileToSave(const FileDialogOptions& options) override;

private:
    QPointer<QWidget> owner_;
};

// "(*.qvn)|*.qvn|(*.*)|*.*||" -> "(*.qvn) (*.qvn);;(*.*) (*.*)"
QString QtFilterOf(const std::string& windowsFilter);

}  // namespace qv::ui
