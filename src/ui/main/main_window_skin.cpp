#include "ui/main/main_window_skin.h"

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_buttons.h"
#include "ui/common/window_messages.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_layout.h"

namespace qv::ui {
namespace {

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

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A full-window face source of the window's skin.
QPixmap FaceSource(const CBaseDialog& window, const char* name) { return MakeFaceSource(window.LoadPicture(name), window.size()); }

}  // namespace

void MakeMainButtons(CBaseDialog& window, const std::function<CPngButton*(int id)>& make) {
    make(id::kFlip0);
    for (const OwnButton& b : kOwnButtons) {
        if (b.id != id::kFlip1 && b.id != id::kFlip2) make(b.id);
    }
    make(id::kFlip1);
    make(id::kFlip2);
    for (const KeyButton& k : KeyButtonTable()) make(k.controlId);
    for (int i = 0; i < 6; ++i) make(id::kFirstD + i);
    for (int g : GKeyButtons()) make(g);
    make(id::kFn);
    // Above the flip tabs, and never in the way of their clicks.
    for (int arrow : {id::kLeftArrow, id::kRightArrow}) make(arrow)->setAttribute(Qt::WA_TransparentForMouseEvents);
    for (int created : {id::kBankAB, id::kFlip0, id::kLeftArrow, id::kRightArrow}) window.Button(created)->setEnabled(false);
    for (int i = 0; i < 6; ++i) window.Button(id::kFirstD + i)->setEnabled(false);
    for (int i = 5; i < 9; ++i) window.Button(GKeyButtons()[static_cast<std::size_t>(i)])->setEnabled(false);
    window.Button(id::kSwitch)->hide();
}

void LoadMainFaces(const CBaseDialog& window, MainFaces& f) {
    f.normal = FaceSource(window, "main_normal.jpg");
    f.down = FaceSource(window, "main_down.jpg");
    f.disable = FaceSource(window, "main_disable.jpg");
    // The window's own buttons show the same pictures; sharing them instead of drawing them twice
    // saves four full-window surfaces (52 MB on a 2x screen). Nothing paints into a face source.
    f.normal2 = f.normal;
    f.down2 = f.down;
    f.disable2 = f.disable;
    f.arrows = QPixmap::fromImage(window.LoadPicture("Arrow.jpg"));
    // Hover pictures wait for the first hover; pictures decoded before stay decoded, at the new
    // ratio.
    f.decodeHover = [&window, &f] { f.over2 = f.over = FaceSource(window, "main_over.jpg"); };
    if (!f.over.isNull()) f.decodeHover();
    if (!f.colour0.isNull() || !f.colour1.isNull()) LoadColourFaces(window, f);
}

void LoadColourFaces(const CBaseDialog& window, MainFaces& f) {
    f.colour0 = FaceSource(window, "main_color0.jpg");
    f.colour1 = FaceSource(window, "main_color1.jpg");
}

void PlaceOwnButtons(CBaseDialog& window, const MainFaces& f) {
    const FaceSet own{&f.normal2, &f.over2, &f.down2, &f.disable2, f.decodeHover};
    for (const OwnButton& b : kOwnButtons) {
        LayoutImageButton(*window.Button(b.id), window.SkinIni(), kButtonSection, b.skinKey, own);
    }
    LayoutImageButton(*window.Button(id::kFlip0), window.SkinIni(), kButtonSection, "FLIP_0", own);
    // The zone behind F1..F4 may take its empty face from elsewhere in the pictures.
    const ini::LayoutValue zone = ReadLayoutEntry(window.SkinIni(), kFaceSection, "FLIP_0");
    if (zone.x != 1 || zone.y != 1) window.Button(id::kFlip0)->SetSourceOrigin(zone.x, zone.y, false);
}

void StyleOwnButtons(CBaseDialog& window) {
    CPngButton* profiles = window.Button(id::kProfiles);
    profiles->SetCaptionFont("Arial", 10, QColor(0xE4, 0xE4, 0xE4));
    profiles->SetCaptionMargins(0, -24, 0, 0);
    window.Button(id::kHelp)->SetTooltip(Q(Text(TextId::MAIN_HELP_PROMPT)), true);
    window.Button(id::kClose)->SetTooltip(Q(Text(TextId::MAIN_CLOSE_PROMPT)), true);
    window.Button(id::kMinimize)->SetTooltip(Q(Text(TextId::MAIN_MINIMIZE_PROMPT)), true);
    window.Button(id::kMenu)->SetTooltip(Q(Text(TextId::MAIN_MENU_PROMPT)), true);
    CPngButton* version = window.Button(id::kVersion);
    version->setText(Q(Text(TextId::MAIN_BUTTON_ZERVAL_VER)));
    version->SetCaptionFont("Verdana", 8, QColor(0xE4, 0xE4, 0xE4), 0x24 /* left, centred */);
    version->setEnabled(false);
}

void LoadMainCaptions(CBaseDialog& window) {
    LoadCaptionSet(Paths().textTable);
    const std::pair<int, CaptionId> captions[] = {
        {id::kProfile1, CaptionId::PROFILE_1},      {id::kProfile2, CaptionId::PROFILE_2},
        {id::kProfile3, CaptionId::PROFILE_3},      {id::kMacro, CaptionId::PROFILE_MACRO},
        {id::kDefault, CaptionId::PROFILE_DEFAULT}, {id::kOk, CaptionId::PROFILE_OK},
        {id::kCancel, CaptionId::PROFILE_CANCLE},   {id::kApply, CaptionId::PROFILE_APPLY},
    };
    for (const auto& [button, caption] : captions) {
        CPngButton* b = window.Button(button);
        b->setText(Q(Caption(caption)));
        b->SetCaptionFont("Tahoma", 9, Qt::white, CPngButton::kCentred);
    }
    window.Button(id::kMinimize)->SetTooltip(Q(Caption(CaptionId::MAIN_MINIMIZE_PROMPT)), true);
    window.Button(id::kMenu)->SetTooltip(Q(Caption(CaptionId::MAIN_MENU_PROMPT)), true);
    window.Button(id::kClose)->SetTooltip(Q(Caption(CaptionId::MAIN_CLOSE_PROMPT)), true);
}

}  // namespace qv::ui
