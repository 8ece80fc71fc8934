#include "ui/main/about_dlg.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/app/paths.h"
#include "core/app/text_table.h"

namespace qv::ui {
namespace {

QPointer<CAboutDlg>& Instance() {
    static QPointer<CAboutDlg> instance;
    return instance;
}

}  // namespace

CAboutDlg* CAboutDlg::ShowAbout(QWidget* owner, const QString& link, const std::filesystem::path& languageFile,
                                const std::filesystem::path& helpFolder, std::function<void()> firmwareUpdate) {
    if (Instance()) return Instance();
    Instance() = new CAboutDlg(owner, link, languageFile, helpFolder, std::move(firmwareUpdate));
    Instance()->show();
    Instance()->raise();
    return Instance();
}

CAboutDlg* CAboutDlg::Current() { return Instance(); }

void CAboutDlg::CloseCurrent() {
    if (Instance()) Instance()->Finish();
}

CAboutDlg::CAboutDlg(QWidget* owner, const QString& link, const std::filesystem::path& languageFile,
                     const std::filesystem::path& helpFolder, std::function<void()> firmwareUpdate)
    : QDialog(owner), link_(link), helpFolder_(helpFolder) {
    setObjectName("about_100");
    setWindowTitle(QStringLiteral("About"));
    setAttribute(Qt::WA_DeleteOnClose);
    setStyleSheet(
        "QDialog { background: #16191e; }"
        "QLabel { color: #e4e4e4; }"
        "QLabel#title { font-size: 18px; font-weight: bold; letter-spacing: 2px; }"
        "QLabel#muted { color: #8a909a; }"
        "QPushButton { background: #168fbb; color: white; border: 1px solid #29b4e4; border-radius: 5px;"
        " padding: 6px 22px; }"
        "QPushButton:hover { background: #22a9da; }");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 18);
    auto* title = new QLabel(QStringLiteral("QUORVANE"), this);
    title->setObjectName("title");
    layout->addWidget(title);
    intro_ = new QLabel(QString::fromStdString(ReadLanguageText(languageFile, "GUANYU_JIESHAO")), this);
    intro_->setObjectName("static_1206");
    intro_->setWordWrap(true);
    layout->addWidget(intro_);
    copyright_ = new QLabel(QString::fromStdString(ReadLanguageText(languageFile, "GUANYU_BANQUAN")), this);
    copyright_->setObjectName("muted");
    copyright_->setWordWrap(true);
    layout->addWidget(copyright_);
    auto* linkLabel = new QLabel(QStringLiteral("<a style=\"color:#21c7ff\" href=\"%1\">%1</a>").arg(link.toHtmlEscaped()), this);
    linkLabel->setObjectName("link_1124");
    linkLabel->setOpenExternalLinks(true);
    layout->addWidget(linkLabel);
    auto* row = new QHBoxLayout;
    if (firmwareUpdate) {
        auto* update = new QPushButton(QString::fromStdString(ReadLanguageText(languageFile, "ABOUT_FIRMWARE_UPDATE")), this);
        update->setObjectName("firmware_update");
        update->setStyleSheet("QPushButton { background: #2a2f37; border-color: #3a414b; }"
                              "QPushButton:hover { background: #353b45; }");
        row->addWidget(update);
        // The box goes first: the update dialog runs modally over the main window.
        connect(update, &QPushButton::clicked, this, [this, run = std::move(firmwareUpdate)] {
            const std::function<void()> action = run;
            Finish();
            action();
        });
    }
    row->addStretch();
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    row->addWidget(ok);
    layout->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::Finish);
    connect(this, &QDialog::rejected, this, &CAboutDlg::Finish);
    setMinimumWidth(380);
}

QString CAboutDlg::Introduction() const { return intro_->text(); }
QString CAboutDlg::Copyright() const { return copyright_->text(); }

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        OpenHelp(helpFolder_);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CAboutDlg::Finish() {
    // The next request may create a new box as soon as this one is on its way out.
    if (Instance() == this) Instance() = nullptr;
    hide();
    deleteLater();
}

}  // namespace qv::ui
