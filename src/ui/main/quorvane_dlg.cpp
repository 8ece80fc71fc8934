#include "ui/main/quorvane_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QUrl>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/lighting/lighting_panel.h"
#include "core/profile/profile_file.h"
#include "platform/heap.h"
#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "ui/common/file_dialog_chooser.h"
#include "ui/common/help.h"
#include "ui/common/message_box_prompt.h"
#include "ui/common/open_dialogs.h"
#include "ui/common/window_messages.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/about_dlg.h"
#include "ui/main/main_window_skin.h"
#include "ui/main/popup_menus.h"
#include "ui/profile/profile_dlg.h"
#include "ui/skin/skin_layout.h"
#include "ui/update/update_dlg.h"

namespace qv::ui {
namespace {

constexpr const char* kDefaultLink = "https://quorvane.example.com/";
constexpr int kMainTemplate = 102;
constexpr int kReportButtons[] = {id::kReport1, id::kReport2, id::kReport3, id::kReport4};
constexpr int kProfileButtons[] = {id::kProfile1, id::kProfile2, id::kProfile3};

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool EnterOrEscape(const QKeyEvent& e) {
    return e.key() == Qt::Key_Return || e.key() == Qt::Key_Enter || e.key() == Qt::Key_Escape;
}

// A window started without a keyboard link.
class NoKeyboard : public mainwin::KeyboardFacts {
public:
    int KeyboardCount() const override { return 0; }
    std::size_t MacroCapacity() const override { return 0; }
    int Bank() const override { return 0; }
};

mainwin::MainWindowFiles WindowFiles() {
    return {UserFiles().userFolder, UserFiles().workingProfileFile, [] { SeedUserLighting(); }};
}

}  // namespace

CQuorvaneDlg::CQuorvaneDlg(Services services, QWidget* parent)
    : CBaseDialog(kMainTemplate, parent, Paths().mainSkin, Paths().skinFolder),
      services_(std::move(services)),
      ownPrompt_(services_.prompt ? nullptr : std::make_unique<MessageBoxPrompt>(this)),
      ownChooser_(services_.fileChooser ? nullptr : std::make_unique<FileDialogChooser>(this)),
      prompt_(services_.prompt ? services_.prompt : ownPrompt_.get()),
      chooser_(services_.fileChooser ? services_.fileChooser : ownChooser_.get()),
      noDevice_(std::make_unique<NoKeyboard>()),
      keyboard_(*this, faces_, WorkingStore(), model_),
      model_(WorkingStore(), AppliedStore(), *prompt_, *chooser_, *this, keyboard_, dialogs_,
             services_.device ? static_cast<const mainwin::KeyboardFacts&>(*services_.device) : *noDevice_,
             WindowFiles()),
      instanceServer_([this](std::uint32_t message, std::uint32_t wParam) { OnMessage(message, wParam); }) {
    setObjectName("dialog_102");
    model_.State().autoOpen = services_.autoOpen;
    // The dialog's controls exist from the start, as the resource creates them; the skin places
    // them later.
    MakeMainButtons(*this, [this](int id) { return MakeButton(id); });
    usbLabel_ = new QLabel(this);
    usbLabel_->setObjectName("static_1204");
    usbLabel_->setStyleSheet("color: #8a909a; font-size: 11px; font-weight: bold; letter-spacing: 1px;");

    for (int t : {kTimerLightingReload, kTimerPreview}) {
        auto timer = std::make_unique<QTimer>();
        connect(timer.get(), &QTimer::timeout, this, [this, t] { OnTimer(t); });
        timers_[t] = std::move(timer);
    }
    qApp->installEventFilter(this);
}

CQuorvaneDlg::~CQuorvaneDlg() { qApp->removeEventFilter(this); }

QIcon CQuorvaneDlg::IconOf(int id) const {
    char name[32];
    std::snprintf(name, sizeof name, "icon%d.png", id);
    return QIcon(Q((SkinFolder() / name).string()));
}

int CQuorvaneDlg::DoModal() {
    // The window runs its loop without being shown, so it never flashes up before it hides.
    if (!initialised_) OnInitDialog();
    if (ended_) return endCode_;
    loop_ = std::make_unique<QEventLoop>();
    const int code = loop_->exec();
    loop_.reset();
    return code;
}

void CQuorvaneDlg::EndDialog(int code) {
    ended_ = true;
    endCode_ = code;
    hide();
    if (loop_) loop_->exit(code);
}

bool CQuorvaneDlg::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    setWindowIcon(IconOf(kIconNoKeyboard));
    model_.State().activeProfile = -1;

    if (services_.device != nullptr) {
        if (!services_.device->Start(*this)) EndProcessQuietly();
        model_.SetCommands(services_.device->Commands());
    }
    {
        auto lock = WorkingStore().Lock();
        CreateDefaultFile(WorkingStore());
    }
    SetEditing(false);

    LoadMainFaces(*this, faces_);
    link_ = Q(skin_.Read("SCREEN", "Link").value_or(kDefaultLink));
    keyboard_.Place();
    PlaceOwnButtons(*this, faces_);
    StyleOwnButtons(*this);
    keyboard_.ApplyFlip();

    // The parts of the lighting strip the window itself needs: the busy picture and the label
    // of the report-rate buttons.
    LayoutControl(*busy_.Picture(), SkinIni(), kButtonSection, "CONTROL_JDTStatic");
    LayoutControl(*usbLabel_, SkinIni(), kButtonSection, "CONTROL_UsbStatic");
    for (const auto& [label, text] : lighting::ReadLabelTexts(SkinIni(), lighting::ReadLanguageValue(Paths().textTable))) {
        if (label == id::kUsbLabel) usbLabel_->setText(Q(text));
    }
    busy_.LoadFrames(SkinFolder(), PictureRatio());
    SetUpLighting();

    // No taskbar entry while the program sits in the tray.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    if (!services_.runtimeFolder.empty()) {
        instanceServer_.Listen(platform::InstanceSocketFolder(services_.runtimeFolder));
    }
    setWindowTitle(Q(Text(TextId::MAIN_CAPTION)));

    heapRelease_.setSingleShot(true);
    heapRelease_.setInterval(1000);
    connect(&heapRelease_, &QTimer::timeout, this, [] { platform::ReleaseFreeHeap(); });
    PostMessage(MSG_DEFERRED_INIT, kDeferredInitTag);
    LoadMainCaptions(*this);
    StartTimer(kTimerPreview, 100);
    return true;
}

void CQuorvaneDlg::OnDeferredInit() {
    // The tray's menu is still inside its action when Exit runs: commands wait for it to close.
    tray_.SetMenuBuilder([this](QMenu& menu) {
        FillMenu(menu, TrayMenuItems(Paths().textTable), true, [this](int command) {
            QMetaObject::invokeMethod(this, [this, command] { OnCommand(command); }, Qt::QueuedConnection);
        });
        if (trayExtras_) trayExtras_(menu);
    });
    tray_.SetNotificationHandler([this](int iconId, CTrayIcon::Mouse what) {
        if (iconId != kTrayIconId) return;
        if (what == CTrayIcon::Mouse::kLeftDoubleClick || what == CTrayIcon::Mouse::kActivate) {
            activateWindow();
            OnCommand(id::kCmdOpen);
        }
    });
    tray_.Create(this, kTrayCallbackMessage, Q(Text(TextId::KEYBOARD_TRAY_DESC)), IconOf(kIconNoKeyboard), kTrayIconId);
    currentTrayIcon_ = kIconNoKeyboard;
    if (Profiles() != nullptr) Profiles()->UpdateProfileCaption();
    model_.State().ready.Set();
    hide();
    heapRelease_.start();
    emit trayReady();
}

void CQuorvaneDlg::PostMessage(std::uint32_t message, std::uint32_t wParam) {
    QMetaObject::invokeMethod(this, [this, message, wParam] { OnMessage(message, wParam); }, Qt::QueuedConnection);
}

int CQuorvaneDlg::OnMessage(std::uint32_t message, std::uint32_t wParam) {
    switch (message) {
    case MSG_INSTANCE_OPEN:
        if (wParam == kInstanceOpenTag) OpenWindow();
        return 0;
    case MSG_INSTANCE_KILL:
        if (wParam == kInstanceKillTag) ExitProgram();
        return 0;
    case MSG_DEFERRED_INIT:
        if (wParam == kDeferredInitTag) OnDeferredInit();
        return 0;
    case MSG_PROFILE_RELOAD:
        if (wParam == kProfileReloadTag) model_.KeyboardArrival();
        if (wParam == kProfileReloadTag && std::exchange(reopenAfterUpdate_, false)) ShowWindow();
        if (wParam == kProfileReloadTag) emit keyboardChanged();
        return 0;
    case MSG_DEVICE_GONE:
        if (wParam == 0) model_.KeyboardRemoval();
        if (wParam == 0) emit keyboardChanged();
        return 0;
    case MSG_STATUS_CHANGED:
        if (wParam == kStatusChangedTag) ShowBank(model_.Bank());
        return 0;
    case MSG_ASSIGNMENTS_CHANGED:
        if (wParam == kAssignmentsChangedTag) model_.AssignmentsChangedElsewhere();
        if (wParam == kSettingsChangedTag) model_.SettingsChangedElsewhere();
        return 0;
    case WM_TIMECHANGE_MSG:
        Apply();
        return 0;
    default:
        return 0;
    }
}

void CQuorvaneDlg::OnCommand(int id) {
    switch (id) {
    case id::kProfiles: RunProfileManager(); return;
    case id::kCmdUpdate: RunUpdateDialog(); return;
    case id::kProfile1: model_.ProfileButton(0); return;
    case id::kProfile2: model_.ProfileButton(1); return;
    case id::kProfile3: model_.ProfileButton(2); return;
    case id::kDefault: model_.Default(); return;
    case id::kApply: Apply(); return;
    case id::kOk:
        Apply();
        hide();
        return;
    case id::kCancel: hide(); return;
    case id::kReport1: model_.ReportRate(0); return;
    case id::kReport2: model_.ReportRate(1); return;
    case id::kReport3: model_.ReportRate(2); return;
    case id::kReport4: model_.ReportRate(3); return;
    case id::kFlip1:
    case id::kFlip2: keyboard_.ToggleFlip(); return;
    case id::kMenu: ShowMainPopup(); return;
    case id::kLink: QDesktopServices::openUrl(QUrl(link_)); return;
    case id::kHelp: OpenHelp(Paths().helpFolder); return;
    case id::kMinimize: showMinimized(); return;
    case id::kClose:
    case id::kCmdExit: ExitProgram(); return;
    case id::kCmdOpen: OpenWindow(); return;
    case id::kCmdAbout:
    case id::kSysAbout: ShowAbout(); return;
    case id::kCmdImport: model_.Import(); return;
    case id::kCmdExport: if (Profiles() != nullptr) Profiles()->Export(); return;
    default: OnKeyClick(id); return;
    }
}

void CQuorvaneDlg::OnKeyClick(int id) {
    const mainwin::KeyClick click = model_.KeyClicked(id);
    if (click.target == mainwin::KeyClick::Target::PerKeyColour) {
        if (lighting_) lighting_->KeyClicked(id);
        return;
    }
    if (click.target != mainwin::KeyClick::Target::Editor || services_.keyEditor == nullptr) return;
    // The Macro button arrives as a click on G9; when G9 has no place of its own on the skin,
    // the editor opens next to the Macro button the user clicked.
    CPngButton* b = Button(click.edit.buttonId);
    const CPngButton* placed = b;
    if ((b == nullptr || !b->isVisible() || b->width() <= 1) && click.edit.macroOnly) placed = Button(id::kMacro);
    const QRect rect = placed != nullptr ? QRect(placed->mapToGlobal(QPoint(0, 0)), placed->size()) : QRect();
    const FaceSet own = b->Faces();
    b->SetFaces(FaceSet{own.over, own.over, own.down, own.disabled, own.decode});
    dialogs_.compositeOpen = true;
    services_.keyEditor->Run(click.edit, this, rect, model_);
    dialogs_.compositeOpen = false;
    b->SetFaces(own);
    RefreshKeyButtons();
}

void CQuorvaneDlg::RunProfileManager() {
    if (Profiles() == nullptr) return;
    ui::RunProfileManager(this, *Profiles());
    model_.ShowActiveProfile();
}

void CQuorvaneDlg::RunUpdateDialog() {
    if (Commands() == nullptr) return;
    const auto outcome = ui::RunUpdateDialog(this, *Commands(), Prompt(), Chooser());
    // The keyboard went to its loader: the window comes back with the updated keyboard.
    reopenAfterUpdate_ = outcome == UpdateOutcome::Started || outcome == UpdateOutcome::StartFailed;
}

void CQuorvaneDlg::ExitProgram() {
    hide();
    if (ShutdownSession()) EndDialog(0);
}

bool CQuorvaneDlg::ShutdownSession() {
    // No named events were made: nothing on this platform signals or waits on them.
    dialogs_.CloseAll();
    CQuorvane_DlgUpdate::CloseCurrent();
    CloseOpenDialogs(this);
    if (services_.instanceLock != nullptr) services_.instanceLock->Close();
    instanceServer_.Close();
    tray_.Remove();
    {
        auto working = WorkingStore().Lock();
        WorkingStore().Content().Clear();
        auto applied = AppliedStore().Lock();
        AppliedStore().Content().Clear();
    }
    return true;
}

void CQuorvaneDlg::OpenWindow() {
    if (model_.KeyboardCount() <= 0) {
        if (noKeyboardShown_) return;  // one box however many starts asked meanwhile
        noKeyboardShown_ = true;
        Prompt().ShowWarning(Text(TextId::MAIN_NO_DEVICE_PROMPT));
        noKeyboardShown_ = false;
        return;
    }
    ShowWindow();
}

void CQuorvaneDlg::ShowWindow() {
    // An application window again, with its taskbar entry.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    showNormal();
    raise();
    activateWindow();
    heapRelease_.start();
    emit windowOpened();
}

void CQuorvaneDlg::ShowAbout() {
    CAboutDlg::ShowAbout(this, link_, Paths().textTable, Paths().helpFolder, [this] { OnCommand(id::kCmdUpdate); });
}

void CQuorvaneDlg::ShowMainPopup() {
    QMenu menu(this);
    FillMenu(menu, MainPopupItems(Paths().textTable), false, [this](int command) { OnCommand(command); });
    menu.exec(QCursor::pos());
}

void CQuorvaneDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window has no title bar; its system menu's About entry lives here.
    QMenu menu(this);
    QAction* about = menu.addAction(QStringLiteral("&About..."));
    connect(about, &QAction::triggered, this, [this] { OnCommand(id::kSysAbout); });
    menu.exec(event->globalPos());
}

void CQuorvaneDlg::ShowEditing(bool editing) {
    if (CPngButton* apply = Button(id::kApply)) apply->setEnabled(editing);
}

void CQuorvaneDlg::LightProfileButton(int p) {
    for (int i = 0; i < 3; ++i) Button(kProfileButtons[i])->SetAltFaces(&faces_.down2, &faces_.down2, i == p, true);
}

void CQuorvaneDlg::LightReportButton(int k) {
    for (int i = 0; i < 4; ++i) Button(kReportButtons[i])->SetAltFaces(&faces_.down2, &faces_.down2, i == k, true);
}

void CQuorvaneDlg::SetProfileCaption(const std::string& caption, const std::string& tooltip) {
    CPngButton* b = Button(id::kProfiles);
    b->setText(Q(caption));
    b->SetTooltip(Q(tooltip), true);
}

void CQuorvaneDlg::SetTrayIcon(int iconId) {
    if (iconId == currentTrayIcon_) return;
    currentTrayIcon_ = iconId;
    // The keyboard's own picture is the program's icon, which item hosts take from the icon theme;
    // the no-keyboard and macro pictures show a state and stay pictures.
    tray_.SetIcon(TrayIconPicture(IconOf(iconId), iconId == kIconKeyboard));
}

void CQuorvaneDlg::SetTrayState(int kind, int iconId) {
    if (kind == 0 && iconId != 0) normalTrayIcon_ = iconId;
    if (kind == 0) SetTrayIcon(normalTrayIcon_);
    if (kind == 1) SetTrayIcon(kIconMacro);
}

void CQuorvaneDlg::StartTimer(int id, int milliseconds) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    if (id == kTimerPreview) {
        previewArmed_ = true;
        if (!PreviewWanted()) return;
    }
    it->second->start(milliseconds);
}

void CQuorvaneDlg::KillTimer(int id) {
    const auto it = timers_.find(id);
    if (it == timers_.end()) return;
    if (id == kTimerPreview) previewArmed_ = false;
    it->second->stop();
}

bool CQuorvaneDlg::TimerRunning(int id) const {
    if (id == kTimerBusy) return busy_.Stepping();
    if (id == kTimerPreview) return previewArmed_;
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

bool CQuorvaneDlg::TimerWakes(int id) const {
    if (id == kTimerBusy) return busy_.Stepping();
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void CQuorvaneDlg::OnTimer(int id) {
    switch (id) {
    case kTimerLightingReload:
        KillTimer(kTimerLightingReload);
        model_.ReloadLighting(lighting::LoadReason::Reload);
        return;
    case kTimerPreview:
        KillTimer(kTimerPreview);
        // Hidden in the tray the window does no preview work at all, and is not woken for it.
        if (PreviewWanted()) lighting_->PreviewTick();
        StartTimer(kTimerPreview, 50);
        return;
    default:
        return;
    }
}

bool CQuorvaneDlg::PreviewWanted() const { return isVisible() && !isMinimized() && lighting_ && lighting_->ViewOn(); }

void CQuorvaneDlg::ResumePreview() {
    const auto it = timers_.find(kTimerPreview);
    if (previewArmed_ && it != timers_.end() && !it->second->isActive() && PreviewWanted()) it->second->start(50);
}

void CQuorvaneDlg::showEvent(QShowEvent* event) {
    CBaseDialog::showEvent(event);
    ResumePreview();
}

void CQuorvaneDlg::changeEvent(QEvent* event) {
    CBaseDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) ResumePreview();
}

void CQuorvaneDlg::closeEvent(QCloseEvent* event) {
    // Alt+F4 hides the window; nothing is reverted and the program stays in the tray.
    event->ignore();
    hide();
}

// Enter and Escape neither apply nor close the window.
void CQuorvaneDlg::keyPressEvent(QKeyEvent* event) {
    if (EnterOrEscape(*event)) return event->accept();
    CBaseDialog::keyPressEvent(event);
}

void CQuorvaneDlg::keyReleaseEvent(QKeyEvent* event) {
    if (EnterOrEscape(*event)) return event->accept();
    CBaseDialog::keyReleaseEvent(event);
}

bool CQuorvaneDlg::eventFilter(QObject* watched, QEvent* event) {
    // Arrow keys would step the effect list while it has the focus; they are kept from it.
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) {
        const QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus->window() == this && focus->property("controlId").toInt() == id::kEffectList) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) return true;
        }
    }
    return CBaseDialog::eventFilter(watched, event);
}

void CQuorvaneDlg::ReloadPictures() {
    LoadMainFaces(*this, faces_);
    busy_.LoadFrames(SkinFolder(), PictureRatio());
    if (lighting_) lighting_->ReloadPictures(PictureRatio());
}

void CQuorvaneDlg::paintEvent(QPaintEvent* event) {
    if (isMinimized()) {
        QPainter p(this);
        windowIcon().paint(&p, rect());
        return;
    }
    CBaseDialog::paintEvent(event);
}

}  // namespace qv::ui
