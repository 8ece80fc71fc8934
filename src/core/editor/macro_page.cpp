#include "core/editor/macro_page.h"

#include <algorithm>
#include <new>
#include <utility>

#include "core/app/ini_file.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/utf16.h"
#include "core/macro/macro_list_rules.h"
#include "core/editor/macro_recorder.h"

namespace qv {
namespace {

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// The list box's prefix search ignores the case of ASCII letters.
bool BeginsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (AsciiLower(text[i]) != AsciiLower(prefix[i])) return false;
    }
    return true;
}

// Cut to the name limit without splitting a surrogate pair.
std::u16string LimitName(std::u16string name) {
    if (name.size() <= static_cast<std::size_t>(kMaxMacroNameUnits)) return name;
    name.resize(static_cast<std::size_t>(kMaxMacroNameUnits));
    if (!name.empty() && name.back() >= 0xD800 && name.back() <= 0xDBFF) name.pop_back();
    return name;
}

}  // namespace

MacroPage::MacroPage(EditorContext& context, ProfileStore& working, UserPrompt& prompt)
    : context_(context), working_(working), prompt_(prompt) {}

bool MacroPage::SelectorEnabled() const { return recorder_ == nullptr || !recorder_->Recording(); }

std::string MacroPage::MacroName(int index) const {
    if (index < 0 || index >= MacroCount()) return {};
    return Macro(index).NameUtf8();
}

// --- What the editor calls

void MacroPage::FillSelector() {
    {
        auto lock = working_.Lock();
        macros_ = working_.Content().macros;
    }
    for (MacroRecord& m : macros_) m.newFlag = 0;
    current_ = -1;
    firstVisit_ = true;
    context_.Changed(kChangedSelector | kChangedMacroButtons);
}

void MacroPage::ShowMacroPage(bool initialising, std::uint32_t initialValue) {
    if (initialising) {
        int index = macros_.empty() ? -1 : 0;
        for (int i = 0; i < MacroCount() && initialValue != 0; ++i) {
            if (Macro(i).id == initialValue) {
                index = i;
                break;
            }
        }
        current_ = index;
        LoadSelectedMacro();
    } else if (firstVisit_) {
        firstVisit_ = false;
        if (initialValue == 0 && !macros_.empty()) {
            // Keep edits already made to the current macro before loading macro 0.
            CommitActionList(current_);
            current_ = 0;
            LoadSelectedMacro();
        }
    }
    context_.Changed(kChangedSelector);
}

bool MacroPage::ApplyMacros(const std::function<void(int table, int index)>& changed) {
    CommitActionList(current_);
    MacroList copies;
    try {
        copies = macros_;
    } catch (const std::bad_alloc&) {
        return false;
    }
    std::vector<std::pair<int, int>> mended;
    {
        auto lock = working_.Lock();
        ReplaceMacroList(working_.Content(), std::move(copies),
                         [&](int table, int index) { mended.emplace_back(table, index); });
    }
    // The macros are applied now: a key may play them from here on, so a later Delete asks.
    for (MacroRecord& m : macros_) m.newFlag = 0;
    if (changed) {
        for (const auto& [table, index] : mended) changed(table, index);
    }
    return true;
}

void MacroPage::ClearMacroPage() {
    context_.RowsChanging({RowChange::Reset});
    rows_.clear();
    selectedRow_ = -1;
    context_.RowsChanged({RowChange::Reset});
    macros_.clear();
    current_ = -1;
    context_.Changed(kChangedSelector | kChangedMacroButtons | kChangedSelectedRow);
}

// --- Selector

void MacroPage::SelectMacro(int index) {
    if (!SelectorEnabled() || index < 0 || index >= MacroCount() || index == current_) return;
    CommitActionList(current_);
    current_ = index;
    LoadSelectedMacro();
    context_.Changed(kChangedSelector);
}

std::string MacroPage::TypeName(std::string_view text) {
    std::u16string name = LimitName(Utf8ToUtf16(text));
    std::string kept = Utf16ToUtf8(name);
    if (!SelectorEnabled()) return current_ >= 0 ? MacroName(current_) : kept;
    if (!macros_.empty()) {
        // Holding macros but none current: nothing to rename, and no macro is made from it.
        if (current_ < 0) return kept;
        macros_[static_cast<std::size_t>(current_)].SetName(name);
    } else {
        MacroRecord m;
        m.SetName(name);
        m.repeatCount = 1;
        m.newFlag = 1;
        m.id = SmallestFreeMacroId(macros_);
        macros_.insert(macros_.begin(), m);
        current_ = 0;
        LoadSelectedMacro();
    }
    context_.Changed(kChangedSelector);
    context_.EnableApply();
    return kept;
}

bool MacroPage::AnyNameBeginsWith(std::u16string_view prefix) const {
    return std::any_of(macros_.begin(), macros_.end(), [&](const MacroRecord& m) {
        return BeginsWithIgnoringCase(m.Name(), prefix);
    });
}

void MacroPage::AddMacro() {
    if (!SelectorEnabled()) return;
    if (MacroCount() >= kMaxMacros) {
        prompt_.ShowWarning(FormatText(Text(TextId::MACRO_ERR_MAX), kMaxMacros));
        return;
    }
    if (macros_.empty()) nameCounter_ = 0;
    std::u16string name;
    // Each macro's name blocks at most as many counters as it has characters, so this ends.
    do {
        ++nameCounter_;
        name = Utf8ToUtf16(Text(TextId::MACRO_NEW_PREFIX) + std::to_string(nameCounter_));
    } while (AnyNameBeginsWith(name));

    MacroRecord m;
    m.SetName(name);
    m.repeatCount = 1;
    m.newFlag = 1;
    m.id = SmallestFreeMacroId(macros_);
    CommitActionList(current_);
    macros_.push_back(m);
    current_ = MacroCount() - 1;
    LoadSelectedMacro();
    context_.Changed(kChangedSelector);
    context_.EnableApply();
}

void MacroPage::DeleteMacro() {
    if (!SelectorEnabled() || current_ < 0 || current_ >= MacroCount()) return;
    const MacroRecord& m = Macro(current_);
    if (m.newFlag != 1) {
        // Macros are shared by the three profiles, so every table is looked at, as ApplyMacros
        // mends them all.
        bool used = false;
        {
            auto lock = working_.Lock();
            used = MacroUsedByKeys(working_.Content(), m.id);
        }
        if (used && !prompt_.AskYesNo(Text(TextId::MACRO_DELETE_CONFIRM_OF_KEYS))) return;
    }
    macros_.erase(macros_.begin() + current_);
    current_ = macros_.empty() ? -1 : std::max(0, current_ - 1);
    LoadSelectedMacro();
    context_.Changed(kChangedSelector);
    context_.EnableApply();
}

void MacroPage::LoadSelectedMacro() {
    context_.RowsChanging({RowChange::Reset});
    rows_.clear();
    selectedRow_ = -1;
    if (current_ >= 0 && current_ < MacroCount()) {
        const MacroRecord& m = Macro(current_);
        const std::size_t used = m.UsedActions();
        rows_.reserve(used);
        for (std::size_t i = 0; i < used; ++i) {
            MacroAction a = m.actions[i];
            if (a.direction > 1) a.direction = kPress;
            rows_.push_back(a);
        }
    }
    context_.RowsChanged({RowChange::Reset});
    if (current_ >= 0) SetRepeatText(std::to_string(Macro(current_).repeatCount));
    context_.Changed(kChangedMacroButtons | kChangedSelectedRow | kChangedRepeatCount);
}

void MacroPage::CommitActionList(int index) {
    if (index < 0 || index >= MacroCount()) return;
    MacroRecord& m = macros_[static_cast<std::size_t>(index)];
    m.repeatCount = static_cast<std::uint8_t>(RepeatCount());
    m.actionCount = static_cast<std::uint16_t>(rows_.size());
    std::copy(rows_.begin(), rows_.end(), m.actions.begin());
}

// --- Action list

std::string MacroPage::DirectionText(std::uint16_t direction) {
    return direction == kRelease ? "  \u2191" : "\u2193";
}

std::string MacroPage::CellText(int row, int column) const {
    if (row < 0 || row >= RowCount()) return {};
    const MacroAction& a = Row(row);
    switch (column) {
    case 0: return KeyName(a.key);
    case 1: return DirectionText(a.direction);
    case 2: return std::to_string(a.delay);
    default: return {};
    }
}

std::string MacroPage::ColumnHeader(int column) {
    switch (column) {
    case 0: return Text(TextId::MACRO_KEYS_TISHI);
    case 1: return Text(TextId::MACRO_ACTION_TISHI);
    case 2: return Text(TextId::MACRO_DELAY_MS);
    default: return {};
    }
}

int MacroPage::ColumnWidth(int column) {
    switch (column) {
    case 0:
    case 1: return 50;
    case 2: return 70;
    default: return 0;
    }
}

void MacroPage::SelectRow(int row) { selectedRow_ = row >= 0 && row < RowCount() ? row : -1; }

void MacroPage::SetSelected(int row) {
    SelectRow(row);
    context_.Changed(kChangedSelectedRow);
}

bool MacroPage::AddAction(int delay, KeyCode key, std::uint16_t direction, bool recorded) {
    if (RowCount() >= kMaxMacroActions) return false;
    MacroAction a{delay, key, direction > 1 ? kPress : direction};
    if (!recorded) {
        const int r = RowCount();
        context_.RowsChanging({RowChange::Insert, r, r});
        rows_.push_back(a);
        context_.RowsChanged({RowChange::Insert, r, r});
        return true;
    }
    const int r = selectedRow_ >= 0 ? selectedRow_ + 1 : RowCount();
    // The time measured before the event is the pause after the action before it.
    if (r == 0) {
        a.delay = 0;
    } else {
        MacroAction& before = rows_[static_cast<std::size_t>(r - 1)];
        a.delay = before.delay;
        before.delay = delay;
    }
    context_.RowsChanging({RowChange::Insert, r, r});
    rows_.insert(rows_.begin() + r, a);
    context_.RowsChanged({RowChange::Insert, r, r});
    if (r > 0) context_.RowDataChanged(r - 1);
    SetSelected(r);
    context_.EnableApply();
    return true;
}

void MacroPage::DeleteRow() {
    if (selectedRow_ >= 0 && selectedRow_ < RowCount()) {
        const int r = selectedRow_;
        context_.RowsChanging({RowChange::Remove, r, r});
        rows_.erase(rows_.begin() + r);
        context_.RowsChanged({RowChange::Remove, r, r});
        // The row that takes its place is selected, so Delete can be pressed again.
        SetSelected(std::min(r, RowCount() - 1));
    }
    context_.EnableApply();
}

void MacroPage::ClearRows() {
    if (rows_.empty()) return;
    if (prompt_.AskYesNo(Text(TextId::MACRO_ACTION_CLEAR_CONFIRM))) {
        context_.RowsChanging({RowChange::Reset});
        rows_.clear();
        selectedRow_ = -1;
        context_.RowsChanged({RowChange::Reset});
        context_.Changed(kChangedSelectedRow);
    }
    context_.EnableApply();
}

void MacroPage::MoveSelected(int to) {
    const int from = selectedRow_;
    if (from >= 0 && from < RowCount()) {
        to = std::clamp(to, 0, RowCount() - 1);
        if (to != from) {
            const RowChange change{RowChange::Move, from, from, to};
            context_.RowsChanging(change);
            const MacroAction moving = rows_[static_cast<std::size_t>(from)];
            rows_.erase(rows_.begin() + from);
            rows_.insert(rows_.begin() + to, moving);
            context_.RowsChanged(change);
        }
        SetSelected(to);
    }
    context_.EnableApply();
}

void MacroPage::MoveRowToTop() { MoveSelected(0); }
void MacroPage::MoveRowUp() { MoveSelected(selectedRow_ - 1); }
void MacroPage::MoveRowDown() { MoveSelected(selectedRow_ + 1); }
void MacroPage::MoveRowToBottom() { MoveSelected(RowCount() - 1); }

// --- Cell editing

MacroPage::CellEditor MacroPage::BeginCellEdit(int row, int column) {
    if (row < 0 || row >= RowCount()) return CellEditor::None;
    switch (column) {
    case 0: return CellEditor::KeyList;
    case 1: return CellEditor::Direction;
    case 2:
        if (recorder_ != nullptr) recorder_->StopIfActive();
        return CellEditor::Pause;
    default:
        prompt_.ShowWarning(Text(TextId::MACRO_ACTION_ERR_MODIFY));
        return CellEditor::None;
    }
}

std::vector<std::string> MacroPage::KeyListItems() {
    std::vector<std::string> items;
    items.reserve(kKeyListSize);
    for (int p = 0; p < kKeyListSize; ++p) items.push_back(KeyListName(p));
    return items;
}

std::vector<std::string> MacroPage::DirectionItems() { return {DirectionText(kPress), DirectionText(kRelease)}; }

int MacroPage::KeyListPositionOfRow(int row) const {
    if (row < 0 || row >= RowCount()) return -1;
    const std::uint16_t p = KeyListPositionOf(Row(row).key);
    return p < kKeyListSize ? p : -1;
}

void MacroPage::SetRowKey(int row, int listPosition) {
    if (row < 0 || row >= RowCount()) return;
    const KeyCode key = KeyCodeAtListPosition(listPosition);
    if (key == kNoKey || key == Row(row).key) return;
    rows_[static_cast<std::size_t>(row)].key = key;
    context_.RowDataChanged(row);
    context_.EnableApply();
}

void MacroPage::SetRowDirection(int row, std::uint16_t direction) {
    if (row < 0 || row >= RowCount()) return;
    const std::uint16_t d = direction > 1 ? kPress : direction;
    if (d == Row(row).direction) return;
    rows_[static_cast<std::size_t>(row)].direction = d;
    context_.RowDataChanged(row);
    context_.EnableApply();
}

int MacroPage::SetRowPause(int row, std::string_view text) {
    if (row < 0 || row >= RowCount()) return 0;
    const TypedPause typed = NormalizeTypedPause(ini::ParseLong(text));
    if (typed.capped) prompt_.ShowWarning(FormatText(Text(TextId::MACRO_ACTION_ERR_DELAY_MAX), kMaxMacroDelayMs));
    rows_[static_cast<std::size_t>(row)].delay = typed.pause;
    context_.RowDataChanged(row);
    context_.EnableApply();
    return typed.pause;
}

// --- Repeat count

void MacroPage::SetRepeatText(std::string_view text) {
    std::string kept(text);
    // An empty field stays empty while the user types; it reads as 1.
    if (!kept.empty()) {
        const long long v = ini::ParseLong(kept);
        if (v < 1 || v > 255) kept = std::to_string(ClampRepeatCount(v));
    }
    const bool rewritten = kept != text;
    repeatText_ = std::move(kept);
    if (rewritten) context_.Changed(kChangedRepeatCount);
    context_.EnableApply();
}

int MacroPage::RepeatCount() const { return ClampRepeatCount(repeatText_.empty() ? 1 : ini::ParseLong(repeatText_)); }

}  // namespace qv
