#include "ui/update/update_dlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "ui/common/help.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_layout.h"
#include "ui/update/updater_launcher.h"

namespace qv::ui {
namespace {

QString Words(const char* key) { return QString::fromStdString(ReadLanguageText(Paths().textTable, key)); }

// The button faces are read once per process and device pixel ratio and kept for later openings.
const QImage& FacePicture(bool over, double ratio) {
    struct Faces {
        double ratio = 0;
        QImage normal, hover;
    };
    static Faces faces;
    if (faces.normal.isNull() || faces.ratio != ratio) {
        faces.ratio = ratio;
        faces.normal = LoadSkinPicture(Paths().skinFolder / "update_normal.jpg", ratio);
        faces.hover = LoadSkinPicture(Paths().skinFolder / "update_over.jpg", ratio);
    }
    return over ? faces.hover : faces.normal;
}

}  // namespace

CQuorvane_DlgUpdate::CQuorvane_DlgUpdate(device::CommandSet& commands, UserPrompt& prompt, FileChooser& chooser,
                                         UpdaterLauncher& launcher, QWidget* parent)
    : CBaseDialog(kTemplate, parent, Paths().updateSkin, Paths().skinFolder),
      update_(commands, launcher, prompt, chooser, Paths().packageFolder,
              ReadLanguageText(Paths().textTable, "UPDATE_FILTER_EXECUTABLES")) {
    setObjectName("dialog_149");
    setWindowTitle(QStringLiteral("Firmware"));
    prompt_ = new QLabel(this);
    prompt_->setObjectName("static_1179");
    prompt_->setStyleSheet("color: #c9ced6; font-size: 12px;");
    path_ = new QLineEdit(this);
    path_->setObjectName("combo_1178");
    path_->setReadOnly(true);
    path_->setStyleSheet(
        "QLineEdit { background: #14171c; color: #e4e4e4; border: 1px solid #2f353e; border-radius: 4px;"
        " padding: 2px 8px; font-size: 12px; }");
    for (int id : {kChoose, kUpdate, kBackup, kCancel}) MakeButton(id);
}

CQuorvane_DlgUpdate::~CQuorvane_DlgUpdate() = default;

void CQuorvane_DlgUpdate::ReloadPictures() {
    normal_ = MakeFaceSource(FacePicture(false, PictureRatio()), size());
    over_ = MakeFaceSource(FacePicture(true, PictureRatio()), size());
}

bool CQuorvane_DlgUpdate::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    ReloadPictures();
    const FaceSet faces{&normal_, &over_, &over_, &normal_};
    const std::pair<int, const char*> keys[] = {{kCancel, "CONTROL_CUPButton"},
                                                {kUpdate, "CONTROL_UPButton"},
                                                {kChoose, "CONTROL_OPENButton"},
                                                {kBackup, "CONTROL_BACKUPButton"}};
    for (const auto& [id, key] : keys) LayoutImageButton(*Button(id), SkinIni(), kButtonSection, key, faces);
    LayoutControl(*prompt_, SkinIni(), kButtonSection, "CONTROL_UPStatic");
    LayoutControl(*path_, SkinIni(), kButtonSection, "CONTROL_UPCombox");
    prompt_->setText(Words("UPDATE_PROMPT"));
    const std::pair<int, const char*> captions[] = {
        {kChoose, "UPDATE_BUTTON_CHOOSE"}, {kUpdate, "UPDATE_BUTTON_UPDATE"}, {kBackup, "UPDATE_BUTTON_BACKUP"}};
    for (const auto& [id, key] : captions) {
        Button(id)->setText(Words(key));
        Button(id)->SetCaptionFont("Tahoma", 9, Qt::white, CPngButton::kCentred);
    }
    Button(kCancel)->SetTooltip(QString::fromStdString(Caption(CaptionId::PROFILE_CANCLE)), true);
    ShowPath();
    return true;
}

QString CQuorvane_DlgUpdate::ShownPath() const { return path_->text(); }

void CQuorvane_DlgUpdate::ShowPath() {
    path_->setText(QString::fromStdString(SelectedUpdaterPath()));
    path_->setToolTip(path_->text());
    // Shown at once, before any slow step that follows.
    if (isVisible()) repaint();
}

void CQuorvane_DlgUpdate::OnCommand(int id) {
    switch (id) {
    case kChoose:
        update_.Choose();
        ShowPath();
        return;
    case kUpdate: {
        const UpdateOutcome outcome = update_.Update();
        lastOutcome_ = outcome;
        ShowPath();
        if (outcome == UpdateOutcome::Started) reject();
        return;
    }
    case kBackup: update_.Backup(); return;
    case kCancel:
        update_.Cancel();
        reject();
        return;
    default: return;
    }
}

CQuorvane_DlgUpdate* CQuorvane_DlgUpdate::Current() {
    return qobject_cast<CQuorvane_DlgUpdate*>(OpenDialog(kTemplate));
}

void CQuorvane_DlgUpdate::CloseCurrent() {
    if (CQuorvane_DlgUpdate* open = Current()) open->OnCommand(kCancel);
}

std::optional<UpdateOutcome> RunUpdateDialog(QWidget* parent, device::CommandSet& commands, UserPrompt& prompt,
                                             FileChooser& chooser) {
    ProcessUpdaterLauncher launcher;
    CQuorvane_DlgUpdate dialog(commands, prompt, chooser, launcher, parent);
    dialog.DoModal();
    return dialog.LastOutcome();
}

}  // namespace qv::ui
