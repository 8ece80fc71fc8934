#include "ui/main/on_screen_keyboard.h"

#include <functional>

#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_record.h"
#include "core/mainwin/main_window_model.h"
#include "ui/main/key_tooltips.h"
#include "ui/common/window_messages.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_layout.h"

namespace qv::ui {
namespace {

// Qt repaints overlapping siblings itself, in stacking order, so repainting a neighbour paints
// this button again: the chain runs only when what the button shows has changed, or the two
// would repaint each other for ever.
CPngButton::PaintCallback WhenShownStateChanges(std::function<int(bool normal)> stateOf,
                                                CPngButton::PaintCallback chain) {
    return [stateOf = std::move(stateOf), chain = std::move(chain), last = -1](
               CPngButton* b, bool normal) mutable {
        const int state = stateOf(normal);
        if (state == last) return;
        last = state;
        chain(b, normal);
    };
}

int FaceState(bool normal) { return normal ? 1 : 0; }

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Format(const char* format, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, n);
    return buf;
}

SettingsStore Settings() { return SettingsStore(SettingsStore::DefaultFile()); }

}  // namespace

COnScreenKeyboard::COnScreenKeyboard(CBaseDialog& dialog, const MainFaces& faces, ProfileStore& working,
                                     const mainwin::MainWindowModel& model)
    : dialog_(dialog), faces_(faces), working_(working), model_(model) {}

int COnScreenKeyboard::ActiveTable() const {
    const int active = model_.State().activeProfile;
    return active >= 0 && active <= 2 ? active : 0;
}

void COnScreenKeyboard::Place() {
    const FaceSet keys{&faces_.normal, &faces_.over, &faces_.down, &faces_.disable, faces_.decodeHover};
    for (const KeyButton& k : KeyButtonTable()) {
        LayoutImageButton(*Button(k.controlId), dialog_.SkinIni(), kButtonSection, SkinKeyName(k.code), keys);
    }
    const auto& gButtons = GKeyButtons();
    for (int i = 0; i < kGKeyButtonCount; ++i) {
        CPngButton* g = Button(gButtons[static_cast<std::size_t>(i)]);
        LayoutImageButton(*g, dialog_.SkinIni(), kButtonSection, SkinGKeyName(i), keys);
        g->SetCaptionFont("Tahoma", 10, QColor(0x21, 0xc7, 0xff));
        g->SetEscapement(0, true);
    }
    LayoutImageButton(*Button(id::kFn), dialog_.SkinIni(), kButtonSection, kSkinFnKeyName, keys);
    // The spare D keys share the F1..F4 place; their faces lie below the window in the pictures.
    for (int i = 0; i < 6; ++i) {
        const std::string key = Format("FUNC_D%d", i + 1);
        CPngButton* d = Button(id::kFirstD + i);
        LayoutImageButton(*d, dialog_.SkinIni(), kButtonSection, key, keys);
        const ini::LayoutValue face = ReadLayoutEntry(dialog_.SkinIni(), kFaceSection, key);
        if (face.x != 1 || face.y != 1) d->SetSourceOrigin(face.x, face.y, false);
        d->setEnabled(false);
    }
    ShowBank(0);

    // Buttons that overlap in the pictures repaint their neighbours after they paint.
    Button(id::kBankAB)->SetPaintCallback(WhenShownStateChanges(FaceState, [this](CPngButton*, bool) {
        for (int g : GKeyButtons()) Button(g)->update();
    }));
    Button(id::kEnterKey)->SetPaintCallback(WhenShownStateChanges(
        FaceState, [this](CPngButton*, bool) { Button(id::kBracketKey)->update(); }));
    const auto flipState = [this](bool normal) { return FaceState(normal) + 2 * Settings().ReadFlip(); };
    Button(id::kFlip0)->SetPaintCallback(WhenShownStateChanges(flipState, [this](CPngButton*, bool) {
        const bool flipped = Settings().ReadFlip() == 1;
        if (!flipped) {
            for (int i = 0; i < 4; ++i) Button(id::kF1 + i)->update();
        } else {
            for (int i = 0; i < 6; ++i) Button(id::kFirstD + i)->update();
        }
        Button(id::kF1 + 4)->update();
        Button(id::kFlip1)->update();
        Button(id::kFlip2)->update();
    }));
    for (int flip : {id::kFlip1, id::kFlip2}) {
        Button(flip)->SetPaintCallback([this](CPngButton* b, bool normal) { ArrowAfterPaint(b, normal); });
    }
}

void COnScreenKeyboard::ArrowAfterPaint(CPngButton* flipButton, bool normalFace) {
    if (!normalFace) return;
    const bool left = flipButton->ControlId() == id::kFlip1;
    const bool flipped = Settings().ReadFlip() == 1;
    const std::string faceKey = std::string(flipped ? "UP_ARROW_" : "DOWN_ARROW_") + (left ? "LEFT" : "RIGHT") + "1";
    CPngButton* arrow = Button(left ? id::kLeftArrow : id::kRightArrow);
    const ini::LayoutValue face = ReadLayoutEntry(dialog_.SkinIni(), kFaceSection, faceKey);
    // Re-placing an arrow that already shows the right face would only repaint it again.
    if (arrow->SourceOrigin() == QPoint(face.x, face.y) && arrow->Faces().normal == &faces_.arrows) return;
    LayoutArrow(*arrow, dialog_.SkinIni(), left ? "LEFT_ARROW" : "RIGHT_ARROW", faceKey, &faces_.arrows);
    arrow->raise();
}

void COnScreenKeyboard::RefreshKeyButtons() {
    auto lock = working_.Lock();
    const ProfileContent& content = working_.Content();
    const int table = ActiveTable();
    const int bankOffset = model_.Bank() == 1 ? 9 : 0;
    const auto& gButtons = GKeyButtons();
    for (int i = 0; i < kGKeyButtonCount; ++i) {
        const KeyRecord& r = content.Record(table, kGKeyRecordFirst + bankOffset + i);
        CPngButton* b = Button(gButtons[static_cast<std::size_t>(i)]);
        b->SetAssigned(r.type != AssignDefault);
        b->SetTooltip(Q(KeyButtonTooltip(Format("G%d", i + 1), r, content.macros)), true);
    }
    for (const KeyButton& k : KeyButtonTable()) {
        const KeyRecord& r = content.Record(table, KeyCodeToSlot(k.code));
        CPngButton* b = Button(k.controlId);
        b->SetAssigned(r.type != AssignDefault);
        b->SetTooltip(Q(KeyButtonTooltip(KeyName(k.code), r, content.macros)), true);
    }
    ApplyFlip();
}

void COnScreenKeyboard::ToggleFlip() {
    const SettingsStore settings = Settings();
    settings.WriteFlip(settings.ReadFlip() == 0 ? 1 : 0);
    ApplyFlip();
}

void COnScreenKeyboard::ApplyFlip() {
    const bool flipped = Settings().ReadFlip() == 1;
    // The inactive group is hidden as well as disabled: both groups share one place.
    for (int i = 0; i < 4; ++i) {
        CPngButton* f = Button(id::kF1 + i);
        f->setEnabled(!flipped);
        f->setVisible(!flipped);
    }
    for (int i = 0; i < 6; ++i) {
        CPngButton* d = Button(id::kFirstD + i);
        d->setEnabled(flipped);
        d->setVisible(flipped);
    }
    Button(id::kFlip0)->update();
    Button(id::kFlip1)->update();
    Button(id::kFlip2)->update();
}

void COnScreenKeyboard::ShowBank(int bank) {
    {
        auto lock = working_.Lock();
        const ProfileContent& content = working_.Content();
        const int table = ActiveTable();
        const auto& gButtons = GKeyButtons();
        for (int i = 0; i < kGKeyButtonCount; ++i) {
            const KeyRecord& r = content.Record(table, kGKeyRecordFirst + (bank == 1 ? 9 : 0) + i);
            CPngButton* b = Button(gButtons[static_cast<std::size_t>(i)]);
            b->SetAssigned(r.type != AssignDefault);
            b->SetCaption(i < 5 ? QString("%1%2").arg(bank == 1 ? 'B' : 'A').arg(i + 1) : QString());
        }
    }
    CPngButton* ab = Button(id::kBankAB);
    if (bank == 1) {
        ab->SetFaces(FaceSet{&faces_.over2, &faces_.over2, &faces_.over2, &faces_.over2, faces_.decodeHover});
    } else {
        ab->SetFaces(FaceSet{&faces_.normal2, &faces_.over2, &faces_.down2, &faces_.disable2, faces_.decodeHover});
    }
}

}  // namespace qv::ui
