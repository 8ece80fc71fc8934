#pragma once
// The About box: modeless, one at a time.

#include <QDialog>
#include <QString>

#include <filesystem>
#include <functional>

#include "ui/common/help.h"

class QLabel;

namespace qv::ui {

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // Shows the About box unless one is open already; returns the open one.
    // `firmwareUpdate`, when given, is offered as a button that closes the box and runs it.
    static CAboutDlg* ShowAbout(QWidget* owner, const QString& link, const std::filesystem::path& languageFile,
                                const std::filesystem::path& helpFolder,
                                std::function<void()> firmwareUpdate = {});
    static CAboutDlg* Current();
    static void CloseCurrent();

    QString Introduction() const;
    QString Copyright() const;
    QString Link() const { return link_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    CAboutDlg(QWidget* owner, const QString& link, const std::filesystem::path& languageFile,
              const std::filesystem::path& helpFolder, std::function<void()> firmwareUpdate);
    void Finish();

    QString link_;
    std::filesystem::path helpFolder_;
    QLabel* intro_ = nullptr;
    QLabel* copyright_ = nullptr;
};

}  // namespace qv::ui
