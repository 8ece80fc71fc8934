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

// What a file dialog's answer means: an open dialog opens an existing file as chosen, and adds
// the default extension only to find a file named without it; a save dialog adds it to a name
// without an extension.
std::optional<std::filesystem::path> ChosenFileToOpen(const QString& chosen, const FileDialogOptions& options);
std::optional<std::filesystem::path> ChosenFileToSave(const QString& chosen, const FileDialogOptions& options);

// "(*.qvn)|*.qvn|(*.*)|*.*||" -> "(*.qvn) (*.qvn);;(*.*) (*.*)"
QString QtFilterOf(const std::string& windowsFilter);

}  // namespace qv::ui
