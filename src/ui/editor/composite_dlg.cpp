#include "ui/editor/composite_dlg.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

#include "core/app/text_table.h"
#include "core/editor/composite_ids.h"
#include "core/editor/editor_placement.h"
#include "ui/input/key_event_filter.h"
#include "ui/controls/control_style.h"
#include "ui/controls/number_edit.h"
#include "ui/controls/report_list.h"
#include "ui/controls/styled_combo.h"
#include "ui/editor/on_screen_keyboard.h"
#include "ui/skin/window_system.h"
#include "ui/skin/skin_layout.h"
#include "ui/skin/skin_pictures.h"

namespace qv::ui {

namespace cid = composite_id;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

struct Placed {
    int id;
    const char* skinKey;
};

// The dialog's own buttons take the key pictures; the macro page's buttons the macro pictures.
constexpr Placed kDialogButtons[] = {
    {cid::kPageSingleKey, "CONTROL_KEY"}, {cid::kPageMacro, "CONTROL_MACRO"},
    {cid::kPageMedia, "CONTROL_MEDIA"},   {cid::kPageFunction, "CONTROL_FUNCTION"},
    {cid::kClear, "CONTROL_CLEAR"},       {cid::kOnScreenKeyboard, "CONTROL_OSK"},
    {cid::kPagePicture, "CONTROL_MASK"},  {cid::kTitle, "CONTROL_TITLE"},
    {cid::kOk, "CONTROL_OK"},             {cid::kCancel, "CONTROL_CANCEL"},
};
constexpr Placed kMacroButtons[] = {
    {cid::kAddMacro, "FUNC_MACRO_ADD"},        {cid::kDeleteMacro, "FUNC_MACRO_DELETE"},
    {cid::kRecord, "FUNC_MACRO_RECORD"},       {cid::kDeleteAction, "FUNC_MACRO_DELETE2"},
    {cid::kClearActions, "FUNC_MACRO_CLEAR"},  {cid::kActionToTop, "FUNC_MACRO_UP_TOP"},
    {cid::kActionUp, "FUNC_MACRO_UP"},         {cid::kActionDown, "FUNC_MACRO_DOWN"},
    {cid::kActionToBottom, "FUNC_MACRO_DOWN_BOTTOM"},
};
constexpr Placed kPlainControls[] = {
    {cid::kKeyEdit, "FUNC_KEY_INPUT"},
    {cid::kMediaList, "FUNC_MEDIA_SELECT"},
    {cid::kFunctionList, "FUNC_FUNCTION_SELECT"},
    {cid::kMacroSelector, "FUNC_MACRO_LIST"},
    {cid::kActionList, "FUNC_MACRO_LIST2"},
    {cid::kRecordDelay, "FUNC_MACRO_RECORD_DELAY"},
    {cid::kRepeatCount, "FUNC_MACRO_CYCLES"},
    {cid::kRepeatCountLabel, "FUNC_MACRO_CYCLES_PROMPT"},
    {cid::kRecordDelayLabel, "FUNC_MACRO_RECORD_DELAY2"},
    {cid::kKeySettingLabel, "KEY_SETTING"},
    {cid::kMacroNameLabel, "MARCO_NAME_SETTING"},
    {cid::kSingleKeyLabel, "TISHI_SINGLE_STATIC"},
    {cid::kMediaLabel, "MEDIA_SETTING_TISHI"},
    {cid::kFunctionLabel, "FUNCTION_KEY_SETTING_TISHI"},
};
// Apply has no entry in every skin; without one it goes left of OK, as large as OK.
constexpr const char* kApplyKey = "CONTROL_APPLY";

constexpr std::pair<int, EditorPage> kPageButtons[] = {
    {cid::kPageSingleKey, EditorPage::SingleKey},
    {cid::kPageMacro, EditorPage::Macro},
    {cid::kPageMedia, EditorPage::Media},
    {cid::kPageFunction, EditorPage::Function},
};

constexpr const char* kSetNames[] = {"key", "macro", "macro2", "media", "function"};

std::size_t SetIndex(PictureSet set) { return static_cast<std::size_t>(set); }

}  // namespace

Quorvane_DlgComposite::Quorvane_DlgComposite(CompositeEditor& editor, Environment env, QWidget* parent)
    : CBaseDialog(cid::kDialog, parent, env.skinIni, env.skinFolder), editor_(editor), env_(std::move(env)) {
    SetHelpFolder(env_.helpFolder);
    setModal(true);
    setWindowTitle(QStringLiteral("Quorvane"));
    for (const Placed& b : kDialogButtons) MakeButton(b.id);
    MakeButton(cid::kApply);
    for (const Placed& b : kMacroButtons) MakeButton(b.id);

    keyEdit_ = Register(cid::kKeyEdit, new QLineEdit(this));
    keyEdit_->setReadOnly(true);
    keyEdit_->setAlignment(Qt::AlignCenter);
    // The key edit only shows what was captured; the keyboard goes to the capture, not to it.
    keyEdit_->setFocusPolicy(Qt::NoFocus);
    media_ = Register(cid::kMediaList, new CStyledComboBox(this));
    function_ = Register(cid::kFunctionList, new CStyledComboBox(this));
    selector_ = Register(cid::kMacroSelector, new CStyledComboBox(this, true));
    selector_->SetMaxTextLength(kMaxMacroNameUnits);
    list_ = Register(cid::kActionList, new CReportList(this));
    repeat_ = Register(cid::kRepeatCount, new CNumberEdit(this, 6));
    repeat_->setStyleSheet(FieldStyleSheet());
    repeat_->setAlignment(Qt::AlignCenter);
    recordDelay_ = Register(cid::kRecordDelay, new QCheckBox(this));
    recordDelay_->setStyleSheet(FieldStyleSheet());
    for (int label : {cid::kRepeatCountLabel, cid::kRecordDelayLabel, cid::kKeySettingLabel, cid::kMacroNameLabel,
                      cid::kSingleKeyLabel, cid::kMediaLabel, cid::kFunctionLabel}) {
        auto* l = Register(label, new QLabel(this));
        l->setAttribute(Qt::WA_TranslucentBackground);
    }
    media_->SetItems([] {
        QStringList items;
        for (const std::string& s : CompositeEditor::MediaItems()) items << Q(s);
        return items;
    }());
    function_->SetItems([] {
        QStringList items;
        for (const std::string& s : CompositeEditor::FunctionItems()) items << Q(s);
        return items;
    }());
    ConnectControls();
    ConnectMacroPage();
    editor_.SetView(this);
}

Quorvane_DlgComposite::~Quorvane_DlgComposite() {
    if (hookInstalled_) RemoveKeyHook(&editor_);
    editor_.SetView(nullptr);
}

CPngButton* Quorvane_DlgComposite::MakeButton(int id) { return Register(id, CBaseDialog::MakeButton(id)); }

void Quorvane_DlgComposite::OnButtonClicked(int id) {
    // The page picture and the title are image buttons that take no clicks.
    if (id != cid::kPagePicture && id != cid::kTitle) OnButton(id);
}

template <typename W>
W* Quorvane_DlgComposite::Register(int id, W* widget) {
    widget->setProperty("controlId", id);
    controls_[id] = widget;
    return widget;
}

QWidget* Quorvane_DlgComposite::Control(int id) const {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

const FaceSet& Quorvane_DlgComposite::Set(PictureSet set) const { return faces_[SetIndex(set)]; }

// --- Opening and closing --------------------------------------------------------------------

bool Quorvane_DlgComposite::OnInitDialog() {
    CBaseDialog::OnInitDialog();
    LoadPictures();
    return true;
}

void Quorvane_DlgComposite::LoadPictures() {
    if (picturesLoaded_) return;
    for (std::size_t i = 0; i < pictures_.size(); ++i) {
        const auto load = [&](const char* state) {
            return MakeFaceSource(LoadPicture(std::string(kSetNames[i]) + "_" + state + ".jpg"), size());
        };
        Pictures& p = pictures_[i];
        p.normal = load("normal");
        p.over = load("over");
        p.down = load("down");
        // The key, media and function sets show their normal picture when disabled.
        const bool ownDisabled = i == SetIndex(PictureSet::Macro) || i == SetIndex(PictureSet::MacroOnly);
        p.disabled = ownDisabled ? load("disable") : p.normal;
        faces_[i] = FaceSet{&p.normal, &p.over, &p.down, &p.disabled};
    }
    picturesLoaded_ = true;
}

ScreenPoint Quorvane_DlgComposite::EditorPosition(const QRect& button) const {
    const auto rectOf = [](const QRect& r) {
        return ScreenRect{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    };
    const QScreen* screen = QGuiApplication::screenAt(button.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
    return PlaceEditor(rectOf(button), EditorSize{width(), height()}, rectOf(area));
}

void Quorvane_DlgComposite::ReloadPictures() {
    // The buttons point at these pictures; loading them again in place is all they need.
    picturesLoaded_ = false;
    LoadPictures();
}

void Quorvane_DlgComposite::Open(const EditorRequest& request, const QRect& button) {
    if (!Initialised()) OnInitDialog();
    PlaceControls();
    StyleControls();
    editor_.Open(request);
    EditorChanged(kChangedAll);
    ShowRows();

    // Where the compositor places windows itself a spot next to the button cannot be had: the
    // editor asks for no place and opens as the main window's dialog, which desktops centre over it.
    if (CanPlaceTopLevelWindows()) {
        const ScreenPoint at = EditorPosition(button);
        move(at.x, at.y);
    }
    show();
    raise();
    activateWindow();
    UpdateKeyHook();
}

int Quorvane_DlgComposite::Run(const EditorRequest& request, const QRect& button) {
    Open(request, button);
    return editor_.IsOpen() ? exec() : result();
}

void Quorvane_DlgComposite::CancelEditor() {
    if (editor_.IsOpen()) editor_.Cancel();
    CloseIfDone();
}

void Quorvane_DlgComposite::CloseIfDone() {
    UpdateKeyHook();
    if (!editor_.IsOpen() && isVisible()) QDialog::done(result());
}

void Quorvane_DlgComposite::reject() {
    // Alt+F4 and the window manager's close: the editor's Cancel.
    if (editor_.IsOpen()) editor_.Cancel();
    setResult(QDialog::Rejected);
    CloseIfDone();
}

void Quorvane_DlgComposite::closeEvent(QCloseEvent* event) {
    reject();
    event->accept();
}

void Quorvane_DlgComposite::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();  // neither OK nor Cancel
        return;
    default:
        CBaseDialog::keyPressEvent(event);
    }
}

void Quorvane_DlgComposite::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CBaseDialog::keyReleaseEvent(event);
}

void Quorvane_DlgComposite::UpdateKeyHook() {
    // The capture of the single-key page and the recorder both take the keys through the
    // editor, exactly while either is active.
    const bool wanted = editor_.IsOpen() && (editor_.CaptureActive() || editor_.Recorder().Recording());
    if (wanted == hookInstalled_) return;
    if (wanted) {
        InstallKeyHook(&editor_);
    } else {
        RemoveKeyHook(&editor_);
    }
    hookInstalled_ = wanted;
}

// --- Layout -----------------------------------------------------------------------------------

void Quorvane_DlgComposite::PlaceControls() {
    const FaceSet& key = Set(PictureSet::Key);
    for (const Placed& b : kDialogButtons) LayoutImageButton(*Button(b.id), SkinIni(), kButtonSection, b.skinKey, key);
    for (const Placed& b : kMacroButtons) {
        LayoutImageButton(*Button(b.id), SkinIni(), kButtonSection, b.skinKey, Set(PictureSet::Macro));
    }
    CPngButton* apply = Button(cid::kApply);
    const ini::LayoutValue a = ReadLayoutEntry(SkinIni(), kButtonSection, kApplyKey);
    if (a.x == 1 && a.y == 1) {
        const QRect ok = Button(cid::kOk)->geometry();
        apply->setGeometry(ok.translated(-(ok.width() + 8), 0));
        apply->SetFaces(apply->x(), apply->y(), key, false);
    } else {
        LayoutImageButton(*apply, SkinIni(), kButtonSection, kApplyKey, key);
    }
    for (const Placed& c : kPlainControls) LayoutControl(*Control(c.id), SkinIni(), kButtonSection, c.skinKey);
    // The page and title pictures lie under everything else.
    Button(cid::kTitle)->setEnabled(false);
    Button(cid::kPagePicture)->setEnabled(false);
    Button(cid::kPagePicture)->lower();
    Button(cid::kTitle)->lower();
}

void Quorvane_DlgComposite::StyleControls() {
    for (const auto& [id, b] : Buttons()) {
        if (id == cid::kPagePicture || id == cid::kTitle || id == cid::kOnScreenKeyboard) continue;
        b->SetCaptionFont("Tahoma", id == cid::kRecord ? 8 : 9, Qt::white, CPngButton::kCentred);
    }
    // The record light and the reset mark sit left of the caption.
    Button(cid::kRecord)->SetCaptionMargins(14, 0, 0, 0);
    Button(cid::kClear)->SetCaptionMargins(16, 0, 0, 0);
    const QString labelStyle = QStringLiteral("color: #b4bac4; background: transparent;");
    for (int id : {cid::kMacroNameLabel, cid::kSingleKeyLabel, cid::kMediaLabel, cid::kFunctionLabel}) {
        auto* l = static_cast<QLabel*>(Control(id));
        l->setFont(ScaledFont("Tahoma", 10.8));
        l->setStyleSheet(labelStyle);
    }
    auto* title = static_cast<QLabel*>(Control(cid::kKeySettingLabel));
    title->setFont(ScaledFont("Tahoma", 10.8, true));
    title->setStyleSheet(QStringLiteral("color: #e6e8ec; background: transparent;"));
    for (int id : {cid::kRepeatCountLabel, cid::kRecordDelayLabel}) {
        auto* l = static_cast<QLabel*>(Control(id));
        l->setFont(ScaledFont("Tahoma", 9));
        l->setStyleSheet(labelStyle);
    }
    keyEdit_->setFont(ScaledFont("Verdana", 18, true));
    keyEdit_->setStyleSheet(FieldStyleSheet() + QStringLiteral("QLineEdit { color: #21c7ff; }"));
    for (CStyledComboBox* combo : {media_, function_, selector_}) {
        combo->setFont(ScaledFont("Verdana", 12));
        combo->view()->setFont(ScaledFont("Verdana", 10));
    }
    list_->setFont(ScaledFont("Tahoma", 9));
    repeat_->setFont(ScaledFont("Verdana", 10));
}

// --- User actions -----------------------------------------------------------------------------

void Quorvane_DlgComposite::ConnectControls() {
    connect(media_, &QComboBox::activated, this, [this](int index) { editor_.SelectMedia(index); });
    connect(function_, &QComboBox::activated, this, [this](int index) { editor_.SelectFunction(index); });
}

void Quorvane_DlgComposite::OnButton(int id) {
    MacroPage& macros = editor_.Macros();
    switch (id) {
    case cid::kPageSingleKey: editor_.PressPageButton(EditorPage::SingleKey); break;
    case cid::kPageMacro: editor_.PressPageButton(EditorPage::Macro); break;
    case cid::kPageMedia: editor_.PressPageButton(EditorPage::Media); break;
    case cid::kPageFunction: editor_.PressPageButton(EditorPage::Function); break;
    case cid::kClear: editor_.Clear(); break;
    case cid::kOnScreenKeyboard: OnOnScreenKeyboard(); break;
    case cid::kApply: editor_.Apply(); break;
    case cid::kOk:
        editor_.Ok();
        setResult(QDialog::Accepted);
        break;
    case cid::kCancel: reject(); return;
    case cid::kAddMacro: macros.AddMacro(); break;
    case cid::kDeleteMacro: macros.DeleteMacro(); break;
    case cid::kRecord: editor_.Recorder().Toggle(); break;
    case cid::kDeleteAction: macros.DeleteRow(); break;
    case cid::kClearActions: macros.ClearRows(); break;
    case cid::kActionToTop: macros.MoveRowToTop(); break;
    case cid::kActionUp: macros.MoveRowUp(); break;
    case cid::kActionDown: macros.MoveRowDown(); break;
    case cid::kActionToBottom: macros.MoveRowToBottom(); break;
    default: break;
    }
    if (id >= cid::kDeleteAction && id <= cid::kActionToBottom) list_->setFocus();
    CloseIfDone();
}

void Quorvane_DlgComposite::OnOnScreenKeyboard() {
    if (StartOnScreenKeyboard()) return;
    if (env_.prompt != nullptr) env_.prompt->ShowWarning(Text(TextId::EXTRA_NO_ON_SCREEN_KEYBOARD));
}

// --- What the models changed ------------------------------------------------------------------

void Quorvane_DlgComposite::EditorChanged(std::uint32_t what) {
    showing_ = true;
    if (what & kChangedTexts) ShowTexts();
    if (what & kChangedPage) ShowPage();
    if (what & kChangedApply) Button(cid::kApply)->setEnabled(editor_.ApplyEnabled());
    if (what & kChangedKeyText) keyEdit_->setText(Q(editor_.KeyText()));
    if (what & kChangedMediaFunction) {
        media_->setCurrentIndex(editor_.MediaSelection());
        function_->setCurrentIndex(editor_.FunctionSelection());
    }
    if (what & kChangedSelector) ShowSelector();
    if (what & kChangedMacroButtons) ShowMacroButtons();
    if (what & kChangedRepeatCount) {
        const QString text = Q(editor_.Macros().RepeatText());
        if (repeat_->text() != text) repeat_->setText(text);
    }
    if (what & kChangedSelectedRow) ShowSelectedRow();
    if (what & kChangedRecording) ShowRecording();
    if (what & kChangedRecordDelay) recordDelay_->setChecked(editor_.Recorder().RecordDelayChecked());
    showing_ = false;
    if (what & (kChangedPage | kChangedRecording)) UpdateKeyHook();
}

void Quorvane_DlgComposite::ShowTexts() {
    const EditorTexts& texts = editor_.Texts();
    for (const auto& [id, b] : Buttons()) {
        if (id == cid::kPagePicture || id == cid::kTitle || id == cid::kOnScreenKeyboard) continue;
        b->setText(Q(texts.Caption(id)));
    }
    // The editor has no Apply or Clear caption of its own; they say what the main window's
    // Apply and Default say.
    Button(cid::kApply)->setText(Q(Caption(CaptionId::PROFILE_APPLY)));
    Button(cid::kClear)->setText(Q(Caption(CaptionId::PROFILE_DEFAULT)));
    for (int id : {cid::kRepeatCountLabel, cid::kRecordDelayLabel, cid::kKeySettingLabel, cid::kMacroNameLabel,
                   cid::kSingleKeyLabel, cid::kMediaLabel, cid::kFunctionLabel}) {
        static_cast<QLabel*>(Control(id))->setText(Q(texts.Caption(id)));
    }
    recordDelay_->setText(Q(texts.Caption(cid::kRecordDelay)));
    for (int id : {cid::kClear, cid::kOnScreenKeyboard}) Button(id)->SetTooltip(Q(texts.Tooltip(id)), true);
    // The columns keep their proportions across the list's width.
    int total = 0;
    for (int c = 0; c < MacroPage::kColumns; ++c) total += MacroPage::ColumnWidth(c);
    const int room = std::max(list_->width() - 24, total);
    std::vector<CReportList::Column> columns;
    for (int c = 0; c < MacroPage::kColumns; ++c) {
        columns.push_back({Q(MacroPage::ColumnHeader(c)), MacroPage::ColumnWidth(c) * room / total});
    }
    list_->SetColumns(columns);
    QStringList keys, directions;
    for (const std::string& s : MacroPage::KeyListItems()) keys << Q(s);
    for (const std::string& s : MacroPage::DirectionItems()) directions << Q(s);
    list_->SetCellEditor(0, CReportList::CellEditor::kDropDown, keys);
    list_->SetCellEditor(1, CReportList::CellEditor::kDropDown, directions);
    list_->SetCellEditor(2, CReportList::CellEditor::kNumber);
    const QColor grey(0xa9, 0xaf, 0xb9);
    for (int c = 0; c < MacroPage::kColumns; ++c) {
        if (MacroPage::ColumnGrey(c)) list_->SetColumnColour(c, grey);
    }
}

void Quorvane_DlgComposite::ShowPage() {
    // Page buttons, title and Clear take the pictures of the mode, the page picture those of
    // the page on view; each face stays cut at its button's own place.
    for (const auto& [id, b] : Buttons()) {
        const FaceSet& faces = Set(editor_.ButtonPictures(id));
        if (b->Faces().normal != faces.normal) b->SetFaces(b->x(), b->y(), faces);
    }
    CPngButton* picture = Button(cid::kPagePicture);
    for (const auto& [id, page] : kPageButtons) {
        CPngButton* b = Button(id);
        b->setEnabled(editor_.PageButtonEnabled(page));
        const QPixmap* down = b->Faces().down;
        // The page on view shows its button pressed.
        b->SetAltFaces(down, down, editor_.PageButtonPressed(page), true);
    }
    Button(cid::kClear)->setEnabled(editor_.ClearEnabled());
    Button(cid::kTitle)->setEnabled(false);
    picture->setEnabled(false);
    for (const auto& [id, widget] : controls_) widget->setVisible(editor_.ControlShown(id));
}

void Quorvane_DlgComposite::ShowRecording() {
    CPngButton* record = Button(cid::kRecord);
    record->setText(Q(editor_.Recorder().Caption()));
    const QPixmap* down = record->Faces().down;
    record->SetAltFaces(down, down, editor_.Recorder().Recording(), true);
}

}  // namespace qv::ui
