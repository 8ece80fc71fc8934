#include "ui/update/updater_launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

namespace qv::ui {

bool ProcessUpdaterLauncher::CanStart(const std::filesystem::path& file) const {
    const QFileInfo info(QString::fromStdString(file.string()));
    return info.isFile() && info.isExecutable();
}

bool ProcessUpdaterLauncher::Start(const std::filesystem::path& file, const std::filesystem::path& workingFolder) {
    const QString program = QString::fromStdString(std::filesystem::absolute(file).string());
    // A folder that is not there would keep the updater from starting at all.
    QString folder = QString::fromStdString(workingFolder.string());
    if (!QFileInfo(folder).isDir()) folder = QFileInfo(program).absolutePath();
    return QProcess::startDetached(program, {}, folder);
}

}  // namespace qv::ui
