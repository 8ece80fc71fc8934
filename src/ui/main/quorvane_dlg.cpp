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
#include <QThread>
#include <QUrl>

#include <algorithm>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/app/trace.h"
#include "core/device/command_set.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_buttons.h"
#include "core/profile/key_download.h"
#include "core/keyboard/profile_store.h"
#include "core/lighting/lighting_panel.h"
#include "core/profile/profile_file.h"
#include "platform/instance_channel.h"
#include "platform/instance_lock.h"
#include "ui/main/about_dlg.h"
#include "ui/common/file_dialog_chooser.h"
#include "ui/main/main_window_state.h"
#include "ui/common/message_box_prompt.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/popup_menus.h"
#include "ui/common/window_messages.h"
#include "ui/profile/profile_dlg.h"
#include "ui/update/update_dlg.h"
#include "ui/skin/skin_layout.h"

namespace qv::ui {
namespace {

constexpr const char* kDefaultLink = "https://quorvane.example.com/";
constexpr int kMainTemplate = 102;

struct OwnButton {
    int id;
    const char* skinKey;
};

// The window's own image buttons and their skin keys.
constexpr OwnButton kOwnButtons[] = {
    {id::kLink, "ZERVAL_LINK"},        {id::kProfiles, "FUNC_PROFILES"}, {id::kMacro, "FUNC_MACRO"},
    {id::kOk, "CONTROL_OK"},           {id::kCancel, "CONTROL_CANCEL"},  {id::kHelp, "CONTROL_HELP"},
    {id::kClose, "CONTROL_CLOSE"},     {id::kMinimize, "CONTROL_MINIMIZE"}, {id::kMenu, "CONTROL_MENU"},
    {id::kApply, "CONTROL2_APPLY"},    {id::kLockCaps, "LOCK_CAPS"},     {id::kLockNum, "LOCK_NUM"},
    {id::kLockScroll, "LOCK_SCROLL"},  {id::kBankAB, "LOCK_AB"},         {id::kFlip1, "FLIP_1"},
    {id::kFlip2, "FLIP_2"},            {id::kVersion, "ZERVAL_VER"},     {id::kProfile1, "FUNC_PROFILE1"},
    {id::kProfile2, "FUNC_PROFILE2"},  {id::kProfile3, "FUNC_PROFILE3"}, {id::kDefault, "FUNC_DEFAULT"},
    {id::kSwitch, "FUNC_SWITCH"},      {id::kReport1, "FUNC_REPORT1"},   {id::kReport2, "FUNC_REPORT2"},
    {id::kReport3, "FUNC_REPORT3"},    {id::kReport4, "FUNC_REPORT4"},
};

constexpr int kReportButtons[] = {id::kReport1, id::kReport2, id::kReport3, id::kReport4};
constexpr int kProfileButtons[] = {id::kProfile1, id::kProfile2, id::kProfile3};

std::string Format(const char* format, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, n);
    return buf;
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CQuorvaneDlg::CQuorvaneDlg(Services services, QWidget* parent)
    : CBaseDialog(kMainTemplate, parent, Paths().mainSkin, Paths().skinFolder),
      services_(std::move(services)),
      instanceServer_([this](std::uint32_t message, std::uint32_t wParam) { OnMessage(message, wParam); }) {
    setObjectName("dialog_102");
    // The dialog's controls exist from the start, as the resource creates them; the skin places
    // them later. Order matters: later siblings paint over earlier ones.
    MakeButton(id::kFlip0);
    for (const OwnButton& b : kOwnButtons) {
        if (b.id != id::kFlip1 && b.id != id::kFlip2) MakeButton(b.id);
    }
    MakeButton(id::kFlip1);
    MakeButton(id::kFlip2);
    for (const KeyButton& k : KeyButtonTable()) MakeButton(k.controlId);
    for (int i = 0; i < 6; ++i) MakeButton(id::kFirstD + i);
    for (int g : GKeyButtons()) MakeButton(g);
    MakeButton(id::kFn);
    // Above the flip tabs, and never in the way of their clicks.
    for (int arrow : {id::kLeftArrow, id::kRightArrow}) {
        MakeButton(arrow)->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (int created : {id::kBankAB, id::kFlip0, id::kLeftArrow, id::kRightArrow}) Button(created)->setEnabled(false);
    for (int i = 0; i < 6; ++i) Button(id::kFirstD + i)->setEnabled(false);
    for (int i = 5; i < 9; ++i) Button(GKeyButtons()[static_cast<std::size_t>(i)])->setEnabled(false);
    Button(id::kSwitch)->hide();

    busyPicture_ = new QLabel(this);
    busyPicture_->setObjectName("static_1177");
    busyPicture_->hide();
    usbLabel_ = new QLabel(this);
    usbLabel_->setObjectName("static_1204");
    usbLabel_->setStyleSheet("color: #8a909a; font-size: 11px; font-weight: bold; letter-spacing: 1px;");

    for (int t : {kTimerBusy, kTimerLightingReload, kTimerPreview}) {
        auto timer = std::make_unique<QTimer>();
        connect(timer.get(), &QTimer::timeout, this, [this, t] { OnTimer(t); });
        timers_[t] = std::move(timer);
    }
    qApp->installEventFilter(this);
}

CQuorvaneDlg::~CQuorvaneDlg() {
    qApp->removeEventFilter(this);
    if (MainState().window == this) MainState().window = nullptr;
}

CPngButton* CQuorvaneDlg::MakeButton(int id) {
    auto* b = new CPngButton(id, this);
    b->setObjectName(QString("button_%1").arg(id));
    buttons_[id] = b;
    connect(b, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    return b;
}

CPngButton* CQuorvaneDlg::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
}

UserPrompt& CQuorvaneDlg::Prompt() {
    if (services_.prompt != nullptr) return *services_.prompt;
    if (!ownPrompt_) ownPrompt_ = std::make_unique<MessageBoxPrompt>(this);
    return *ownPrompt_;
}

FileChooser& CQuorvaneDlg::Chooser() {
    if (services_.fileChooser != nullptr) return *services_.fileChooser;
    if (!ownChooser_) ownChooser_ = std::make_unique<FileDialogChooser>(this);
    return *ownChooser_;
}

QIcon CQuorvaneDlg::IconOf(int id) const {
    return QIcon(Q((SkinFolder() / Format("icon%d.png", id)).string()));
}

void CQuorvaneDlg::SetCommands(device::CommandSet* commands) {
    services_.commands = commands;
    profiles_.reset();
    if (commands == nullptr) return;
    ProfileEnvironment env;
    env.userFolder = UserFiles().userFolder;
    env.workingFile = UserFiles().workingProfileFile;
    env.macroCapacity = [this] { return MacroCapacity(); };
    env.setUpUserLighting = [] { SeedUserLighting(); };
    profiles_ = std::make_unique<ProfileOperations>(*commands, *this, Prompt(), Chooser(), env);
}

// --- Initialisation ---------------------------------------------------------------------------

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
    MainState().window = this;
    MainState().activeProfile = -1;

    if (services_.startDeviceLink && !services_.startDeviceLink(*this)) EndProcessQuietly();
    if (services_.commands != nullptr && !profiles_) SetCommands(services_.commands);

    {
        auto lock = WorkingStore().Lock();
        CreateDefaultFile(WorkingStore());
    }
    SetEditing(false);

    LoadFacePictures();
    link_ = Q(skin_.Read("SCREEN", "Link").value_or(kDefaultLink));

    PlaceButtons();
    StyleOwnButtons();
    ApplyFlip();

    // The parts of the lighting strip the window itself needs: the busy picture and the label
    // of the report-rate buttons.
    LayoutControl(*busyPicture_, SkinIni(), kButtonSection, "CONTROL_JDTStatic");
    LayoutControl(*usbLabel_, SkinIni(), kButtonSection, "CONTROL_UsbStatic");
    for (const auto& [label, text] : lighting::ReadLabelTexts(SkinIni(), lighting::ReadLanguageValue(Paths().textTable))) {
        if (label == id::kUsbLabel) usbLabel_->setText(Q(text));
    }
    for (int i = 0; i < 10; ++i) {
        busyFrames_[static_cast<std::size_t>(i)] = QPixmap(Q((SkinFolder() / Format("jdt%d.bmp", i + 1)).string()));
    }

    SetUpLighting();

    // No taskbar entry while the program sits in the tray.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    if (!services_.runtimeFolder.empty()) {
        instanceServer_.Listen(platform::InstanceSocketFolder(services_.runtimeFolder));
    }
    setWindowTitle(Q(Text(TextId::MAIN_CAPTION)));

    PostMessage(MSG_DEFERRED_INIT, kDeferredInitTag);
    LoadCaptions();
    StartTimer(kTimerPreview, 100);
    return true;
}

void CQuorvaneDlg::LoadFacePictures() {
    const auto load = [this](const char* name) {
        return MakeFaceSource(LoadSkinPicture(SkinFolder() / name), size());
    };
    normal_ = load("main_normal.jpg");
    over_ = load("main_over.jpg");
    down_ = load("main_down.jpg");
    disable_ = load("main_disable.jpg");
    normal2_ = load("main_normal.jpg");
    over2_ = load("main_over.jpg");
    down2_ = load("main_down.jpg");
    disable2_ = load("main_disable.jpg");
    arrows_ = QPixmap::fromImage(LoadSkinPicture(SkinFolder() / "Arrow.jpg"));
    colour0_ = load("main_color0.jpg");
    colour1_ = load("main_color1.jpg");
}

void CQuorvaneDlg::PlaceButtons() {
    PlaceKeyButtons();
    const FaceSet own{&normal2_, &over2_, &down2_, &disable2_};
    for (const OwnButton& b : kOwnButtons) LayoutImageButton(*Button(b.id), SkinIni(), kButtonSection, b.skinKey, own);
    LayoutImageButton(*Button(id::kFlip0), SkinIni(), kButtonSection, "FLIP_0", own);
    // The zone behind F1..F4 may take its empty face from elsewhere in the pictures.
    const ini::LayoutValue zone = ReadLayoutEntry(SkinIni(), kFaceSection, "FLIP_0");
    if (zone.x != 1 || zone.y != 1) Button(id::kFlip0)->SetSourceOrigin(zone.x, zone.y, false);
}

void CQuorvaneDlg::StyleOwnButtons() {
    CPngButton* profiles = Button(id::kProfiles);
    profiles->SetCaptionFont("Arial", 10, QColor(0xE4, 0xE4, 0xE4));
    profiles->SetCaptionMargins(0, -24, 0, 0);
    Button(id::kHelp)->SetTooltip(Q(Text(TextId::MAIN_HELP_PROMPT)), true);
    Button(id::kClose)->SetTooltip(Q(Text(TextId::MAIN_CLOSE_PROMPT)), true);
    Button(id::kMinimize)->SetTooltip(Q(Text(TextId::MAIN_MINIMIZE_PROMPT)), true);
    Button(id::kMenu)->SetTooltip(Q(Text(TextId::MAIN_MENU_PROMPT)), true);
    CPngButton* version = Button(id::kVersion);
    version->setText(Q(Text(TextId::MAIN_BUTTON_ZERVAL_VER)));
    version->SetCaptionFont("Verdana", 8, QColor(0xE4, 0xE4, 0xE4), 0x24 /* left, centred */);
    version->setEnabled(false);
}

void CQuorvaneDlg::LoadCaptions() {
    LoadCaptionSet(Paths().textTable);
    const std::pair<int, CaptionId> captions[] = {
        {id::kProfile1, CaptionId::PROFILE_1},      {id::kProfile2, CaptionId::PROFILE_2},
        {id::kProfile3, CaptionId::PROFILE_3},      {id::kMacro, CaptionId::PROFILE_MACRO},
        {id::kDefault, CaptionId::PROFILE_DEFAULT}, {id::kOk, CaptionId::PROFILE_OK},
        {id::kCancel, CaptionId::PROFILE_CANCLE},   {id::kApply, CaptionId::PROFILE_APPLY},
    };
    for (const auto& [button, caption] : captions) {
        CPngButton* b = Button(button);
        b->setText(Q(Caption(caption)));
        b->SetCaptionFont("Tahoma", 9, Qt::white, CPngButton::kCentred);
    }
    Button(id::kMinimize)->SetTooltip(Q(Caption(CaptionId::MAIN_MINIMIZE_PROMPT)), true);
    Button(id::kMenu)->SetTooltip(Q(Caption(CaptionId::MAIN_MENU_PROMPT)), true);
    Button(id::kClose)->SetTooltip(Q(Caption(CaptionId::MAIN_CLOSE_PROMPT)), true);
}

void CQuorvaneDlg::OnDeferredInit() {
    tray_.SetMenuBuilder([this](QMenu& menu) {
        FillMenu(menu, TrayMenuItems(Paths().textTable), true, [this](int command) { OnCommand(command); });
    });
    tray_.SetNotificationHandler([this](int iconId, CTrayIcon::Mouse what) {
        if (iconId != kTrayIconId) return;
        if (what == CTrayIcon::Mouse::kLeftDoubleClick) {
            activateWindow();
            OnCommand(id::kCmdOpen);
        }
    });
    tray_.Create(this, kTrayCallbackMessage, Q(Text(TextId::KEYBOARD_TRAY_DESC)), IconOf(kIconNoKeyboard), kTrayIconId);
    currentTrayIcon_ = kIconNoKeyboard;
    if (profiles_) profiles_->UpdateProfileCaption();
    MainState().ready = true;
    hide();
}

// --- Messages ---------------------------------------------------------------------------------

void CQuorvaneDlg::PostMessage(std::uint32_t message, std::uint32_t wParam) {
    QMetaObject::invokeMethod(this, [this, message, wParam] { OnMessage(message, wParam); }, Qt::QueuedConnection);
}

int CQuorvaneDlg::SendMessage(std::uint32_t message, std::uint32_t wParam) {
    if (QThread::currentThread() == thread()) return OnMessage(message, wParam);
    int result = 0;
    QMetaObject::invokeMethod(this, [&] { result = OnMessage(message, wParam); }, Qt::BlockingQueuedConnection);
    return result;
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
        if (wParam == kProfileReloadTag) OnKeyboardArrival();
        return 0;
    case MSG_DEVICE_GONE:
        if (wParam == 0) OnKeyboardRemoval();
        return 0;
    case MSG_STATUS_CHANGED:
        if (wParam == kStatusChangedTag) ShowBank(Bank());
        return 0;
    case MSG_ASSIGNMENTS_CHANGED:
        if (wParam == kAssignmentsChangedTag) OnAssignmentsChangedElsewhere();
        return 0;
    case WM_TIMECHANGE_MSG:
        Apply();
        return 0;
    default:
        return 0;
    }
}

void CQuorvaneDlg::OnCommand(int id) {
    if (FindKeyButton(id) != nullptr || GKeyIndexOfButton(id).has_value() || id == id::kFn ||
        (id >= id::kFirstD && id < id::kFirstD + 6)) {
        OnKeyClick(id);
        return;
    }
    switch (id) {
    // The editor of G9, in the lighting view too: the Macro button paints no key.
    case id::kMacro: RunKeyEditor(id::kG9); return;
    case id::kProfiles:
        if (services_.runProfileManager) services_.runProfileManager(*this);
        return;
    case id::kCmdUpdate:
        if (services_.runUpdateDialog) services_.runUpdateDialog(*this);
        return;
    case id::kProfile1: OnProfileButton(0); return;
    case id::kProfile2: OnProfileButton(1); return;
    case id::kProfile3: OnProfileButton(2); return;
    case id::kDefault: OnDefault(); return;
    case id::kApply: Apply(); return;
    case id::kOk:
        Apply();
        hide();
        return;
    case id::kCancel: hide(); return;
    case id::kReport1: OnReportRate(0); return;
    case id::kReport2: OnReportRate(1); return;
    case id::kReport3: OnReportRate(2); return;
    case id::kReport4: OnReportRate(3); return;
    case id::kFlip1:
    case id::kFlip2: OnFlip(); return;
    case id::kMenu: ShowMainPopup(); return;
    case id::kLink: QDesktopServices::openUrl(QUrl(link_)); return;
    case id::kHelp: OpenHelp(Paths().helpFolder); return;
    case id::kMinimize: showMinimized(); return;
    case id::kClose:
    case id::kCmdExit: ExitProgram(); return;
    case id::kCmdOpen: OpenWindow(); return;
    case id::kCmdAbout:
    case id::kSysAbout: ShowAbout(); return;
    case id::kCmdImport:
        if (profiles_) profiles_->Import();
        return;
    case id::kCmdExport:
        if (profiles_) profiles_->Export();
        return;
    default: return;
    }
}

void CQuorvaneDlg::ExitProgram() {
    hide();
    if (ShutdownSession()) EndDialog(0);
}

bool CQuorvaneDlg::ShutdownSession() {
    // No named events were made: nothing on this platform signals or waits on them.
    CAboutDlg::CloseCurrent();
    CQuorvane_DlgProfile::CloseCurrent();
    CQuorvane_DlgUpdate::CloseCurrent();
    if (services_.closeEditors) services_.closeEditors();
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
    if (KeyboardCount() <= 0) {
        Prompt().ShowMessage(Text(TextId::MAIN_NO_DEVICE_PROMPT));
        return;
    }
    // An application window again, with its taskbar entry.
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    showNormal();
    raise();
    activateWindow();
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

// --- Keyboard arrival and removal -------------------------------------------------------------

void CQuorvaneDlg::OnKeyboardArrival() {
    int active = MainState().activeProfile;
    if (profiles_) {
        profiles_->LoadWorkingFromKeyboard(false);
        active = profiles_->ReadActiveProfile();
        MainState().activeProfile = active;
        // A keyboard that arrives after the start still gets its profile named on the button.
        profiles_->UpdateProfileCaption();
    }
    if (active >= 0 && active <= 2) {
        LightProfileButton(active);
        MainState().shownProfile = active;
    }
    ReloadLighting(lighting::LoadReason::Arrival);
    {
        auto lock = WorkingStore().Lock();
        RefreshKeyButtons();
    }
    SetEditing(false);
}

void CQuorvaneDlg::ShowReportRateOfShownProfile() {
    // The lighting panel's refresh lights the report-rate button from the record it loads; until
    // a panel does that, the window reads the one record itself.
    if (services_.commands == nullptr) return;
    std::array<std::uint8_t, 56> answer{};
    const int shown = MainState().shownProfile;
    if (services_.commands->ReadSettingsMemory(answer, static_cast<int>(device::ProfileSettingsRecord::kSize),
                                               device::SettingsAddress(shown)) != device::kSuccess) {
        return;
    }
    device::ProfileSettingsRecord record;
    std::copy_n(answer.begin(), record.bytes.size(), record.bytes.begin());
    MainState().reportRate = record.ReportRateIndex();
    LightReportButton(record.ReportRateIndex());
}

void CQuorvaneDlg::OnKeyboardRemoval() {
    MainState().activeProfile = -1;
    CAboutDlg::CloseCurrent();
    CQuorvane_DlgProfile::CloseCurrent();
    if (services_.closeEditors) services_.closeEditors();
    showMinimized();
}

void CQuorvaneDlg::SetKeyboardPresent(int count) {
    SetTrayState(0, count > 0 ? kIconKeyboard : kIconNoKeyboard);
}

void CQuorvaneDlg::SetTrayIcon(int iconId) {
    if (iconId == currentTrayIcon_) return;
    currentTrayIcon_ = iconId;
    tray_.SetIcon(IconOf(iconId));
}

void CQuorvaneDlg::SetTrayState(int kind, int iconId) {
    if (kind == 0 && iconId != 0) {
        normalTrayIcon_ = iconId;
        SetTrayIcon(iconId);
    } else if (kind == 0) {
        SetTrayIcon(normalTrayIcon_);
    } else if (kind == 1) {
        SetTrayIcon(kIconMacro);
    }
}

int CQuorvaneDlg::KeyboardCount() const {
    return services_.keyboardCount ? services_.keyboardCount() : MainState().keyboardCount.load();
}

std::size_t CQuorvaneDlg::MacroCapacity() const {
    return services_.macroCapacity ? services_.macroCapacity()
                                   : static_cast<std::size_t>(MainState().macroCapacity.load());
}

void CQuorvaneDlg::ShowUserMessage(const std::string& text) { Prompt().ShowMessage(text); }

bool CQuorvaneDlg::ProfileManagerOpen() const { return CQuorvane_DlgProfile::OpenCount() > 0; }

bool CQuorvaneDlg::HasUnappliedChanges() const {
    const CQuorvane_DlgProfile* manager = CQuorvane_DlgProfile::Current();
    return IsEditing() || (manager != nullptr && manager->ApplyEnabled());
}

void CQuorvaneDlg::TickProfileManagerRow(int row) {
    if (CQuorvane_DlgProfile* manager = CQuorvane_DlgProfile::Current()) manager->TickRow(row);
}

void CQuorvaneDlg::ShowActiveProfile() {
    if (!profiles_) return;
    const int active = profiles_->ReadActiveProfile();
    MainState().activeProfile = active;
    if (active < 0 || active > 2) return;
    LightProfileButton(active);
    if (MainState().shownProfile != active) {
        MainState().shownProfile = active;
        ReloadLighting(lighting::LoadReason::ProfileButton);
    }
}

void CQuorvaneDlg::SetProfileCaption(const std::string& caption, const std::string& tooltip) {
    CPngButton* b = Button(id::kProfiles);
    b->setText(Q(caption));
    b->SetTooltip(Q(tooltip), true);
}

// --- Apply, profiles, report rate -------------------------------------------------------------

void CQuorvaneDlg::SetEditing(bool editing) {
    MainState().editing = editing;
    if (CPngButton* apply = Button(id::kApply)) apply->setEnabled(editing);
}

bool CQuorvaneDlg::IsEditing() const { return MainState().editing; }

void CQuorvaneDlg::Apply() {
    ShowBusy();
    if (IsEditing() && services_.commands != nullptr) {
        auto lock = WorkingStore().Lock();
        const bool saved = WriteStoreToWorkingFile(WorkingStore(), UserFiles().workingProfileFile);
        const DownloadContext context{*services_.commands, MacroCapacity(), Prompt()};
        int result = device::kSuccess;
        const bool sent = CommitWorkingToApplied(false, WorkingStore(), AppliedStore(), context, &result);
        if (saved && sent) SetEditing(false);
        // A macro set that does not fit has been explained already; anything else the keyboard
        // refused would otherwise leave the user looking at an Apply that did nothing.
        if (!sent && result != device::kOutOfRange) {
            lock.unlock();
            Prompt().ShowMessage(Text(TextId::MAIN_PROMPT_APPLY_FAILED));
        }
    }
    HideBusy();
}

void CQuorvaneDlg::ShowBusy() {
    ++busyShown_;
    busyFrame_ = 0;
    busyPicture_->setPixmap(busyFrames_[0]);
    busyPicture_->show();
    busyPicture_->raise();
    // The exchanges that follow hold this thread; paint now so the picture is seen meanwhile.
    if (isVisible()) busyPicture_->repaint();
    StartTimer(kTimerBusy, 50);
}

void CQuorvaneDlg::HideBusy() {
    // The picture stays up a little so even a quick Apply is seen to happen.
    QTimer::singleShot(100, this, [this] {
        KillTimer(kTimerBusy);
        busyPicture_->hide();
    });
}

void CQuorvaneDlg::OnProfileButton(int p) {
    MainState().shownProfile = p;
    ReloadLighting(lighting::LoadReason::ProfileButton);
    if (!profiles_) return;
    const int active = profiles_->ReadActiveProfile();
    if (p == active) return;
    if (profiles_->SwitchProfile(p) == 1) {
        MainState().activeProfile = p;
        LightProfileButton(p);
        auto lock = WorkingStore().Lock();
        RefreshKeyButtons();
    }
}

void CQuorvaneDlg::LightProfileButton(int p) {
    for (int i = 0; i < 3; ++i) {
        CPngButton* b = Button(kProfileButtons[i]);
        b->SetAltFaces(&down2_, &down2_, i == p, true);
    }
}

void CQuorvaneDlg::LightReportButton(int k) {
    for (int i = 0; i < 4; ++i) Button(kReportButtons[i])->SetAltFaces(&down2_, &down2_, i == k, true);
}

void CQuorvaneDlg::OnReportRate(int k) {
    LightReportButton(k);
    MainState().reportRate = k;
    if (services_.commands == nullptr) return;
    const std::uint8_t value = static_cast<std::uint8_t>(k);
    const int address = MainState().shownProfile * static_cast<int>(device::ProfileSettingsRecord::kSize) +
                        static_cast<int>(device::ProfileSettingsRecord::kReportRate);
    services_.commands->BeginConfig();
    services_.commands->WriteSettingsMemory(&value, 1, address);
    services_.commands->EndConfig();
}

// --- Timers -----------------------------------------------------------------------------------

void CQuorvaneDlg::StartTimer(int id, int milliseconds) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) it->second->start(milliseconds);
}

void CQuorvaneDlg::KillTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end()) it->second->stop();
}

bool CQuorvaneDlg::TimerRunning(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

void CQuorvaneDlg::OnTimer(int id) {
    switch (id) {
    case kTimerBusy:
        busyFrame_ = (busyFrame_ + 1) % static_cast<int>(busyFrames_.size());
        busyPicture_->setPixmap(busyFrames_[static_cast<std::size_t>(busyFrame_)]);
        return;
    case kTimerLightingReload:
        KillTimer(kTimerLightingReload);
        ReloadLighting(lighting::LoadReason::Reload);
        return;
    case kTimerPreview:
        KillTimer(kTimerPreview);
        // Hidden in the tray the window does no preview work at all.
        if (isVisible() && !isMinimized() && LightingViewOn() && services_.previewTick) services_.previewTick();
        StartTimer(kTimerPreview, 50);
        return;
    default:
        return;
    }
}

bool CQuorvaneDlg::LightingViewOn() const { return services_.lightingViewOn && services_.lightingViewOn(); }

int CQuorvaneDlg::Bank() const { return services_.currentBank ? services_.currentBank() : 0; }

// --- Window events ----------------------------------------------------------------------------

void CQuorvaneDlg::closeEvent(QCloseEvent* event) {
    // Alt+F4 hides the window; nothing is reverted and the program stays in the tray.
    event->ignore();
    hide();
}

void CQuorvaneDlg::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();  // neither applies nor closes
        return;
    case Qt::Key_F1:
        OpenHelp(Paths().helpFolder);
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

void CQuorvaneDlg::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
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

void CQuorvaneDlg::paintEvent(QPaintEvent* event) {
    if (isMinimized()) {
        QPainter p(this);
        windowIcon().paint(&p, rect());
        return;
    }
    CBaseDialog::paintEvent(event);
}

}  // namespace qv::ui
