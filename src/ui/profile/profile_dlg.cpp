#include "ui/profile/profile_dlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QTableWidget>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "ui/common/help.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_layout.h"

namespace qv::ui {
namespace {

QString Words(const char* key) { return QString::fromStdString(ReadLanguageText(Paths().textTable, key)); }
QString Q(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kListStyle =
    "QTableWidget { background: #14171c; color: #e4e4e4; gridline-color: #2a2f37; border: none;"
    " selection-background-color: #15506a; selection-color: #ffffff; font-size: 12px; }"
    "QHeaderView::section { background: #1d2128; color: #8a909a; border: none;"
    " border-right: 1px solid #2a2f37; border-bottom: 1px solid #29b4e4; padding: 5px 6px;"
    " font-weight: bold; font-size: 11px; }"
    "QTableWidget::indicator { width: 14px; height: 14px; border: 1px solid #4a515c; border-radius: 3px;"
    " background: #1d2128; }"
    "QTableWidget::indicator:checked { background: #21c7ff; border-color: #21c7ff; }"
    "QScrollBar:vertical { background: #14171c; width: 10px; }"
    "QScrollBar::handle:vertical { background: #2f353e; border-radius: 4px; min-height: 24px; }";

}  // namespace

CQuorvane_DlgProfile::CQuorvane_DlgProfile(ProfileOperations& profiles, SettingsStore settings, QWidget* parent)
    : CBaseDialog(kTemplate, parent, Paths().profileSkin, Paths().skinFolder),
      profiles_(profiles),
      settings_(std::move(settings)) {
    setObjectName("dialog_131");
    setWindowTitle(QStringLiteral("Profiles"));
    list_ = new QTableWidget(0, 3, this);
    list_->setObjectName("list_1007");
    list_->setShowGrid(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->setStyleSheet(kListStyle);
    connect(list_, &QTableWidget::itemChanged, this, &CQuorvane_DlgProfile::OnItemChanged);
    for (int id : {kNew, kLoad, kDelete, kApply, kOk, kCancel, kHelp}) MakeButton(id);
}

CQuorvane_DlgProfile::~CQuorvane_DlgProfile() = default;

void CQuorvane_DlgProfile::ReloadPictures() {
    const auto load = [this](const char* name) { return MakeFaceSource(LoadPicture(name), size()); };
    normal_ = load("Profile_normal.jpg");
    over_ = load("Profile_over.jpg");
    down_ = load("Profile_down.jpg");
}

bool CQuorvane_DlgProfile::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    ReloadPictures();
    // The pressed picture is the disabled look as well.
    const FaceSet faces{&normal_, &over_, &down_, &down_};
    const std::pair<int, const char*> keys[] = {
        {kOk, "CONTROL_OK"},       {kCancel, "CONTROL_CANCEL"}, {kNew, "FUNC_ADD"},   {kLoad, "FUNC_LOAD"},
        {kDelete, "FUNC_DELETE"}, {kApply, "CONTROL2_APPLY"},  {kHelp, "CONTROL_HELP"}};
    for (const auto& [id, key] : keys) LayoutImageButton(*Button(id), SkinIni(), kButtonSection, key, faces);
    LayoutControl(*list_, SkinIni(), kButtonSection, "PROGRAM_LIST");

    const std::pair<int, QString> captions[] = {
        {kNew, Words("PROFILE_BUTTON_NEW")},        {kLoad, Words("PROFILE_BUTTON_LOAD")},
        {kDelete, Words("PROFILE_BUTTON_DELETE")},  {kApply, Q(Caption(CaptionId::PROFILE_APPLY))},
        {kOk, Q(Caption(CaptionId::PROFILE_OK))},   {kCancel, Q(Caption(CaptionId::PROFILE_CANCLE))}};
    for (const auto& [id, text] : captions) {
        Button(id)->setText(text);
        Button(id)->SetCaptionFont("Tahoma", 9, Qt::white, CPngButton::kCentred);
    }
    Button(kHelp)->SetTooltip(Q(Text(TextId::MAIN_HELP_PROMPT)), true);

    list_->setHorizontalHeaderLabels(
        {Words("PROFILE_LIST_ACTIVE"), Words("PROFILE_LIST_NAME"), Words("PROFILE_LIST_PATH")});
    list_->setColumnWidth(0, 60);
    list_->setColumnWidth(1, 120);
    list_->setColumnWidth(2, 230);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setRowCount(0);
    for (const ProfileListRow& row : profiles_.InitialProfileRows()) AddRow(row);
    SetApplyEnabled(false);
    return true;
}

void CQuorvane_DlgProfile::AddRow(const ProfileListRow& row) {
    filling_ = true;
    const int r = list_->rowCount();
    list_->insertRow(r);
    auto* tick = new QTableWidgetItem;
    tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    tick->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
    list_->setItem(r, 0, tick);
    list_->setItem(r, 1, new QTableWidgetItem(Q(row.title)));
    list_->setItem(r, 2, new QTableWidgetItem(Q(row.folder)));
    filling_ = false;
}

std::vector<ProfileListRow> CQuorvane_DlgProfile::Rows() const {
    std::vector<ProfileListRow> rows;
    for (int r = 0; r < list_->rowCount(); ++r) {
        ProfileListRow row;
        row.ticked = list_->item(r, 0)->checkState() == Qt::Checked;
        row.title = list_->item(r, 1)->text().toStdString();
        row.folder = list_->item(r, 2)->text().toStdString();
        rows.push_back(std::move(row));
    }
    return rows;
}

void CQuorvane_DlgProfile::OnItemChanged(QTableWidgetItem* item) {
    if (filling_ || item->column() != 0) return;
    if (item->checkState() == Qt::Checked) {
        // One row at most is the active profile.
        filling_ = true;
        for (int r = 0; r < list_->rowCount(); ++r) {
            if (r != item->row()) list_->item(r, 0)->setCheckState(Qt::Unchecked);
        }
        filling_ = false;
    }
    SetApplyEnabled(true);
}

void CQuorvane_DlgProfile::TickRow(int row) {
    filling_ = true;
    for (int r = 0; r < list_->rowCount(); ++r) list_->item(r, 0)->setCheckState(r == row ? Qt::Checked : Qt::Unchecked);
    filling_ = false;
    SetApplyEnabled(false);
}

void CQuorvane_DlgProfile::SetApplyEnabled(bool enabled) { Button(kApply)->setEnabled(enabled); }

bool CQuorvane_DlgProfile::ApplyEnabled() const { return Button(kApply)->isEnabled(); }

void CQuorvane_DlgProfile::Apply() {
    profiles_.ApplyProfileRows(Rows(), settings_);
    SetApplyEnabled(false);
}

void CQuorvane_DlgProfile::OnCommand(int id) {
    switch (id) {
    case kNew:
        if (const auto row = profiles_.NewProfileFile()) {
            AddRow(*row);
            SetApplyEnabled(true);
        }
        return;
    case kLoad:
        if (const auto row = profiles_.LoadProfileFile()) {
            AddRow(*row);
            SetApplyEnabled(true);
        }
        return;
    case kDelete:
        if (const int r = list_->currentRow(); r >= 0 && list_->selectionModel()->isRowSelected(r, {})) {
            list_->removeRow(r);
            SetApplyEnabled(true);
        }
        return;
    case kApply: Apply(); return;
    case kOk:
        Apply();
        OnOK();
        return;
    case kCancel: reject(); return;
    case kHelp: OpenHelp(Paths().helpFolder); return;
    default: return;
    }
}

CQuorvane_DlgProfile* CQuorvane_DlgProfile::Current() {
    return qobject_cast<CQuorvane_DlgProfile*>(OpenDialog(kTemplate));
}

void CQuorvane_DlgProfile::CloseCurrent() {
    if (CQuorvane_DlgProfile* open = Current()) open->OnCommand(kCancel);
}

void RunProfileManager(QWidget* parent, ProfileOperations& profiles) {
    CQuorvane_DlgProfile dialog(profiles, SettingsStore(SettingsStore::DefaultFile()), parent);
    dialog.DoModal();
}

}  // namespace qv::ui
