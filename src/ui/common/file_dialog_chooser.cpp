#include "ui/common/file_dialog_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QSortFilterProxyModel>
#include <QStringList>

#include <system_error>

namespace qv::ui {
namespace {

// The toolkit's own dialogs: they wear the skin's look, and the executables filter needs a proxy
// model that only they take.
constexpr QFileDialog::Options kOwnDialog = QFileDialog::DontUseNativeDialog;

// The folder, with the initial name when it names a file rather than a pattern.
QString InitialPath(const FileDialogOptions& o) {
    if (o.initialName.empty() || o.initialName.find('*') != std::string::npos) {
        return QString::fromStdString(o.initialFolder.string());
    }
    return QString::fromStdString((o.initialFolder / o.initialName).string());
}

// Hides the files of the "all executable files" filter that this user cannot run.
class ExecutableFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files == nullptr) return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || info.suffix().compare("exe", Qt::CaseInsensitive) == 0 || info.isExecutable();
    }
};

}  // namespace

std::optional<std::filesystem::path> ChosenFileToOpen(const QString& chosen, const FileDialogOptions& o) {
    if (chosen.isEmpty()) return std::nullopt;
    std::filesystem::path p = chosen.toStdString();
    // A file is opened as chosen; the default extension only finds a file the user named without
    // it, as the platform's own dialogs do.
    std::error_code ec;
    if (!std::filesystem::exists(p, ec) && !p.has_extension() && !o.defaultExtension.empty()) {
        std::filesystem::path withExtension = p;
        withExtension += "." + o.defaultExtension;
        if (std::filesystem::exists(withExtension, ec)) return withExtension;
    }
    return p;
}

std::optional<std::filesystem::path> ChosenFileToSave(const QString& chosen, const FileDialogOptions& o) {
    if (chosen.isEmpty()) return std::nullopt;
    std::filesystem::path p = chosen.toStdString();
    if (!p.has_extension() && !o.defaultExtension.empty()) p += "." + o.defaultExtension;
    return p;
}

QString QtFilterOf(const std::string& windowsFilter) {
    const QStringList parts = QString::fromStdString(windowsFilter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << QString("%1 (%2)").arg(parts[i], parts[i + 1]);
    return filters.join(";;");
}

std::optional<std::filesystem::path> FileDialogChooser::ChooseFileToOpen(const FileDialogOptions& o) {
    if (o.executablesFilter.empty()) {
        return ChosenFileToOpen(QFileDialog::getOpenFileName(owner_, QString(), InitialPath(o), QtFilterOf(o.filter),
                                                             nullptr, kOwnDialog),
                                o);
    }
    QFileDialog dialog(owner_, QString(), InitialPath(o));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ExecutableFilter(&dialog));
    QStringList filters = QtFilterOf(o.filter).split(";;", Qt::SkipEmptyParts);
    filters << QString::fromStdString(o.executablesFilter) + " (*)";
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return ChosenFileToOpen(dialog.selectedFiles().front(), o);
}

std::optional<std::filesystem::path> FileDialogChooser::ChooseFileToSave(const FileDialogOptions& o) {
    QFileDialog::Options options = kOwnDialog;
    if (!o.overwritePrompt) options |= QFileDialog::DontConfirmOverwrite;
    return ChosenFileToSave(
        QFileDialog::getSaveFileName(owner_, QString(), InitialPath(o), QtFilterOf(o.filter), nullptr, options), o);
}

}  // namespace qv::ui
