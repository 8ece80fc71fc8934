#include "core/editor/composite_editor.h"

#include <algorithm>

#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_record.h"
#include "core/keyboard/media_function_tables.h"
#include "core/keyboard/assignment_texts.h"
#include "core/editor/composite_ids.h"
#include "core/editor/key_choices.h"

namespace qv {
namespace {

namespace id = composite_id;

constexpr std::uint32_t kReleaseBit = 1u << 31;
constexpr std::uint32_t kPreviousStateBit = 1u << 30;
constexpr KeyCode kPrintScreen = 0x137;

bool IsMacroPageControl(int c) {
    return (c >= id::kAddMacro && c <= id::kRecordDelay) || c == id::kRepeatCount || c == id::kMacroSelector ||
           c == id::kRepeatCountLabel || c == id::kRecordDelayLabel || c == id::kMacroNameLabel;
}

}  // namespace

CompositeEditor::CompositeEditor(ProfileStore& working, EditorHost& host, UserPrompt& prompt, SettingsStore settings,
                                 std::filesystem::path languageFile, TickClock clock)
    : working_(working),
      host_(host),
      prompt_(prompt),
      languageFile_(std::move(languageFile)),
      page_(context_, working, prompt),
      recorder_(context_, page_, std::move(settings), std::move(clock)) {
    page_.SetRecorder(&recorder_);
}

int CompositeEditor::Table() const {
    return request_.activeProfile >= 0 && request_.activeProfile < kOnBoardProfiles ? request_.activeProfile : 0;
}

int CompositeEditor::RecordIndex() const { return request_.page * kKeyTableRecords + request_.recordIndex; }

bool CompositeEditor::RecordInRange() const { return RecordIndex() >= 0 && RecordIndex() < kKeyTableRecords; }

// --- Life cycle

void CompositeEditor::Open(const EditorRequest& request) {
    // The editor is modal; an opening over an open one starts it afresh rather than stacking.
    if (IsOpen()) Close();
    request_ = request;
    ++openCount_;
    texts_ = LoadEditorTexts(languageFile_, request_.macroOnly);

    mediaSelection_ = 0;
    functionSelection_ = 0;
    page_.SetRepeatText("1");

    recorder_.Reset(texts_.Caption(id::kRecord));
    page_.FillSelector();
    context_.SetApplyEnabled(false);

    pageType_ = AssignDefault;
    initialValue_ = 0;
    if (RecordInRange()) {
        auto lock = working_.Lock();
        const KeyRecord& r = working_.Content().Record(Table(), RecordIndex());
        pageType_ = r.type;
        initialValue_ = r.value;
    }
    if (request_.macroOnly) {
        pageType_ = AssignMacro;
    } else if (const auto choice = FunctionChoiceOfType(pageType_)) {
        // A disabled or stop-macro key (quorvanectl sets them) opens on its entry of the
        // function list instead of an empty single-key page.
        pageType_ = AssignFunctionKey;
        initialValue_ = static_cast<std::uint32_t>(*choice);
    }

    recorder_.LoadRecordDelay();

    capturedKey_ = kNoKey;
    keyText_.clear();
    ShowPage(true);
    context_.SetApplyEnabled(false);
    context_.Changed(kChangedAll);
}

void CompositeEditor::Apply() {
    if (!IsOpen()) return;
    context_.EndCellEdit();
    recorder_.StopIfActive();

    const int table = Table();
    page_.ApplyMacros([&](int t, int index) {
        host_.SetEditing(true);
        if (t == table && HasButton(index)) host_.RefreshKeyButton(index);
    });

    const int index = request_.recordIndex;
    std::uint16_t type = pageType_;
    std::uint16_t aux = index >= kGKeyRecordFirst && index < kGKeyRecordFirst + kGKeyCount
                            ? GKeyId(index - kGKeyRecordFirst)
                            : 0;
    std::uint32_t value = 0;
    switch (type) {
    case AssignSingleKey:
        value = capturedKey_;
        // A key that would send itself keeps its factory function.
        if (capturedKey_ == kNoKey || KeyCodeToSlot(capturedKey_) == index) type = AssignDefault;
        break;
    case AssignMacro:
        if (page_.MacroCount() > 0) {
            const int current = page_.CurrentMacro();
            value = current >= 0 ? page_.Macro(current).id : 0;
            aux = static_cast<std::uint16_t>(page_.RepeatCount());
        } else {
            type = AssignDefault;
        }
        break;
    case AssignMedia: value = static_cast<std::uint32_t>(mediaSelection_); break;
    case AssignFunctionKey:
        type = TypeOfFunctionChoice(functionSelection_);
        value = type == AssignFunctionKey ? static_cast<std::uint32_t>(functionSelection_) : 0;
        break;
    default: break;
    }

    if (RecordInRange()) {
        auto lock = working_.Lock();
        ProfileContent& content = working_.Content();
        // Whatever the new type, the program path or text block the key had is gone.
        content.texts.Free(TextSlotOf(table, RecordIndex()));
        KeyRecord& r = content.Record(table, RecordIndex());
        r.type = type;
        r.aux = aux;
        r.value = value;
    }
    host_.RefreshKeyButton(index);
    host_.RefreshKeyButtons();
    context_.SetApplyEnabled(false);
    host_.SetEditing(true);
}

void CompositeEditor::Ok() {
    if (!IsOpen()) return;
    Apply();
    Close();
}

void CompositeEditor::Cancel() { Close(); }

void CompositeEditor::Close() {
    if (!IsOpen()) return;
    captureActive_ = false;
    recorder_.StopIfActive();
    page_.ClearMacroPage();
    recorder_.ForgetRecordDelay();
    context_.SetApplyEnabled(false);
    --openCount_;
    context_.Changed(kChangedAll);
}

// --- Pages

EditorPage CompositeEditor::PageShown() const {
    switch (pageType_) {
    case AssignMacro: return EditorPage::Macro;
    case AssignMedia: return EditorPage::Media;
    case AssignFunctionKey: return EditorPage::Function;
    default: return EditorPage::SingleKey;
    }
}

bool CompositeEditor::PageButtonEnabled(EditorPage page) const {
    return !request_.macroOnly || page == EditorPage::Macro;
}

void CompositeEditor::ShowPage(bool initialising) {
    switch (PageShown()) {
    case EditorPage::Macro:
        captureActive_ = false;
        page_.ShowMacroPage(initialising, initialValue_);
        break;
    case EditorPage::Media:
        captureActive_ = false;
        recorder_.StopIfActive();
        if (initialising) mediaSelection_ = initialValue_ < kMediaCount ? static_cast<int>(initialValue_) : 0;
        break;
    case EditorPage::Function:
        captureActive_ = false;
        recorder_.StopIfActive();
        if (initialising) {
            functionSelection_ = initialValue_ < kFunctionChoiceCount ? static_cast<int>(initialValue_) : 0;
        }
        break;
    case EditorPage::SingleKey:
        recorder_.StopIfActive();
        captureActive_ = true;
        // Only a single-key record's value is a key; a program's is the offset of its text.
        if (initialising) capturedKey_ = pageType_ == AssignSingleKey ? static_cast<KeyCode>(initialValue_) : kNoKey;
        if (pageType_ == AssignSingleKey && capturedKey_ != kNoKey) SetKeyText(KeyName(capturedKey_));
        break;
    }
    context_.Changed(kChangedPage | kChangedMediaFunction);
}

void CompositeEditor::PressPageButton(EditorPage page) {
    if (!IsOpen() || !PageButtonEnabled(page)) return;
    switch (page) {
    case EditorPage::Macro:
        if (pageType_ == AssignMacro) return;
        pageType_ = AssignMacro;
        break;
    case EditorPage::Media:
        if (pageType_ == AssignMedia) return;
        pageType_ = AssignMedia;
        break;
    case EditorPage::Function:
        if (pageType_ == AssignFunctionKey) return;
        pageType_ = AssignFunctionKey;
        break;
    case EditorPage::SingleKey:
        if (pageType_ == AssignSingleKey || pageType_ == AssignDefault) return;
        pageType_ = AssignSingleKey;
        break;
    }
    ShowPage(false);
    context_.EnableApply();
}

void CompositeEditor::Clear() {
    if (!IsOpen() || !ClearEnabled()) return;
    if (pageType_ != AssignSingleKey && pageType_ != AssignDefault) PressPageButton(EditorPage::SingleKey);
    if (pageType_ == AssignSingleKey) {
        SetKeyText({});
        pageType_ = AssignDefault;
        context_.Changed(kChangedPage);
    }
}

void CompositeEditor::SelectMedia(int index) {
    if (!IsOpen() || index < 0 || index >= kMediaCount || index == mediaSelection_) return;
    mediaSelection_ = index;
    context_.Changed(kChangedMediaFunction);
    context_.EnableApply();
}

void CompositeEditor::SelectFunction(int index) {
    if (!IsOpen() || index < 0 || index >= kFunctionChoiceCount || index == functionSelection_) return;
    functionSelection_ = index;
    context_.Changed(kChangedMediaFunction);
    context_.EnableApply();
}

// --- Key events

bool CompositeEditor::OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) {
    // Keys pressed while a message of the editor shows are the message's (Enter closes it).
    if (!IsOpen() || prompting_) return false;
    if (recorder_.Recording()) return recorder_.OnKeyEvent(vk, lParam);
    if (captureActive_) return Capture(vk, lParam);
    return false;
}

bool CompositeEditor::Capture(std::uint8_t vk, std::uint32_t lParam) {
    // The Windows and App keys are taken on press and release alike, as the desktop-wide hook
    // saw them; the Start menu never opens while a key is being chosen.
    if (vk == 0x5B || vk == 0x5C || vk == 0x5D) {
        CaptureKey(vk == 0x5B ? 0x15B : vk == 0x5C ? 0x15C : 0x15D);
        return true;
    }
    const KeyCode key = KeyFromWindowsEvent(vk, lParam);
    if (key == kNoKey || IsMediaKey(key)) return false;
    const bool freshPress = (lParam & (kReleaseBit | kPreviousStateBit)) == 0;
    // Print Screen reaches the hook as a release only.
    if (!freshPress && key != kPrintScreen) return true;
    if (!KeyboardCanSend(key)) {
        // Taken, it would be stored as a key that sends nothing and reads back as disabled.
        prompting_ = true;
        prompt_.ShowWarning(CannotSendPrompt(key));
        prompting_ = false;
        return true;
    }
    CaptureKey(key);
    return true;
}

void CompositeEditor::CaptureKey(KeyCode key) {
    capturedKey_ = key;
    pageType_ = AssignSingleKey;
    SetKeyText(KeyName(key));
    context_.Changed(kChangedPage);
    context_.EnableApply();
}

void CompositeEditor::SetKeyText(std::string text) {
    if (text == keyText_) return;
    keyText_ = std::move(text);
    context_.Changed(kChangedKeyText);
}

// --- What the view shows

bool CompositeEditor::HasButton(int recordIndex) const {
    if (recordIndex >= kGKeyRecordFirst) {
        const int first = kGKeyRecordFirst + (request_.bankB ? kGKeyButtonCount : 0);
        return recordIndex >= first && recordIndex < first + kGKeyButtonCount;
    }
    const auto& buttons = KeyButtonTable();
    return std::any_of(buttons.begin(), buttons.end(),
                       [&](const KeyButton& b) { return KeyCodeToSlot(b.code) == recordIndex; });
}

bool CompositeEditor::ControlShown(int controlId) const {
    const EditorPage page = PageShown();
    if (IsMacroPageControl(controlId)) return page == EditorPage::Macro;
    switch (controlId) {
    case id::kKeyEdit: return page == EditorPage::SingleKey;
    case id::kSingleKeyLabel: return page == EditorPage::SingleKey && !request_.macroOnly;
    case id::kMediaList: return page == EditorPage::Media;
    case id::kMediaLabel: return page == EditorPage::Media && !request_.macroOnly;
    case id::kFunctionList: return page == EditorPage::Function;
    case id::kFunctionLabel: return page == EditorPage::Function && !request_.macroOnly;
    default: return true;
    }
}

PictureSet CompositeEditor::PagePicture() const {
    switch (PageShown()) {
    case EditorPage::Macro: return PictureSet::Macro;
    case EditorPage::Media: return PictureSet::Media;
    case EditorPage::Function: return PictureSet::Function;
    case EditorPage::SingleKey: break;
    }
    return PictureSet::Key;
}

PictureSet CompositeEditor::ButtonPictures(int controlId) const {
    if (controlId == id::kPagePicture) return PagePicture();
    if ((controlId >= id::kAddMacro && controlId <= id::kActionToBottom && controlId != id::kActionList)) {
        return PictureSet::Macro;
    }
    if (request_.macroOnly &&
        (controlId == id::kPageSingleKey || controlId == id::kPageMedia || controlId == id::kPageFunction ||
         controlId == id::kTitle || controlId == id::kClear)) {
        return PictureSet::MacroOnly;
    }
    return PictureSet::Key;
}

std::vector<std::string> CompositeEditor::MediaItems() {
    std::vector<std::string> items;
    for (int i = 0; i < kMediaCount; ++i) items.push_back(KeyName(MediaKeyCode(i)));
    return items;
}

std::vector<std::string> CompositeEditor::FunctionItems() {
    std::vector<std::string> items;
    for (int i = 0; i < kFunctionChoiceCount; ++i) items.push_back(FunctionChoiceName(i));
    return items;
}

}  // namespace qv
