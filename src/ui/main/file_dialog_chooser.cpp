#include "ui/main/file_dialog_chooser.h"

#include <QFileDialog>
#include <QStringList>

namespace qv::ui {
namespace {

QString InitialPath(const FileDialogOptions& o) {
    return QString::fromStdString(o.initialFolder.string());
}

std::optional<std::filesystem::path> WithExtension(const QString& chosen, const FileDialogOptions& o) {
    if (chosen.isEmpty()) return std::nullopt;
    std::filesystem::path p = chosen.toStdString();
    if (!p.has_extension() && !o.defaultExtension.empty()) p += "." + o.defaultExtension;
    return p;
}

}  // namespace

QString QtFilterOf(const std::string& windowsFilter) {
    const QStringList parts = QString::fromStdString(windowsFilter).split('|', Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << QString("%1 (%2)").arg(parts[i], parts[i + 1]);
    return filters.join(";;");
}

std::optional<std::filesystem::path> FileDialogChooser::ChooseFileToOpen(const FileDialogOptions& o) {
    return WithExtension(QFileDialog::getOpenFileName(owner_, QString(), InitialPath(o), QtFilterOf(o.filter)), o);
}

std::optional<std::filesystem::path> FileDialogChooser::ChooseFileToSave(const FileDialogOptions& o) {
    QFileDialog::Options options;
    if (!o.overwritePrompt) options |= QFileDialog::DontConfirmOverwrite;
    return WithExtension(
        QFileDialog::getSaveFileName(owner_, QString(), InitialPath(o), QtFilterOf(o.filter), nullptr, options), o);
}

}  // namespace qv::ui
