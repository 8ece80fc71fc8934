#pragma once
// The macro page of the key editor: private copies of the working store's macros in a selector,
// the selected macro's actions as rows with their pauses, and the repeat count. Nothing reaches
// the working store before ApplyMacros; closing without it leaves the store as it was.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/app/user_prompt.h"
#include "core/keyboard/profile_store.h"
#include "core/editor/editor_view.h"
#include "core/macro/macro_record.h"

namespace qv {

class MacroRecorder;

// Macro names as typed are kept within this many UTF-16 units, so the terminator always fits.
inline constexpr int kMaxMacroNameUnits = kMacroNameUnits - 1;

class MacroPage {
public:
    static constexpr int kColumns = 3;  // key, direction, pause
    enum class CellEditor { None, KeyList, Direction, Pause };

    MacroPage(EditorContext& context, ProfileStore& working, UserPrompt& prompt);
    MacroPage(const MacroPage&) = delete;
    MacroPage& operator=(const MacroPage&) = delete;

    // Stopped before a pause cell is edited; while it records, the selector, Add and Delete rest.
    void SetRecorder(MacroRecorder* recorder) { recorder_ = recorder; }

    // --- What the editor calls
    // Copies of the working store's macros, new flags cleared; none current.
    void FillSelector();
    // On open (`initialising`) the macro with the initial value's id becomes current (the first
    // one when no id matches); on the first visit after opening on another page, macro 0 when the
    // initial value is 0.
    void ShowMacroPage(bool initialising, std::uint32_t initialValue);
    // The selector's macros replace the working store's list; key records that play a missing or
    // new macro are mended. `changed(table, index)` is called for each record changed, after the
    // store's lock is released. False when the copies could not be made (the store is untouched).
    bool ApplyMacros(const std::function<void(int table, int index)>& changed);
    // Empties the selector and the rows (on close).
    void ClearMacroPage();

    // --- Selector (1126) and its buttons
    int MacroCount() const { return static_cast<int>(macros_.size()); }
    const MacroRecord& Macro(int index) const { return macros_.at(static_cast<std::size_t>(index)); }
    std::string MacroName(int index) const;  // UTF-8
    int CurrentMacro() const { return current_; }
    // 1017, 1018 and 1126: not while recording.
    bool SelectorEnabled() const;
    // 1020-1026: exactly when a macro is current.
    bool ActionButtonsEnabled() const { return current_ >= 0; }

    // The user picked another item: the rows go back into the macro that was current first.
    void SelectMacro(int index);
    // Text typed into the selector's field renames the current macro (or creates the first one
    // when the selector is empty). Returns the text the field should hold: names are cut to
    // kMaxMacroNameUnits, so characters typed beyond the limit are refused.
    std::string TypeName(std::string_view text);
    // 1017. Refused with a message when the selector holds kMaxMacros.
    void AddMacro();
    // 1018. A macro that key records play is deleted only when the user says Yes.
    void DeleteMacro();
    int NameCounter() const { return nameCounter_; }

    // --- Action list (1019)
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const MacroAction& Row(int row) const { return rows_.at(static_cast<std::size_t>(row)); }
    std::string CellText(int row, int column) const;
    static std::string ColumnHeader(int column);
    static int ColumnWidth(int column);
    // Key and direction are drawn in the grey-text colour.
    static bool ColumnGrey(int column) { return column == 0 || column == 1; }
    static std::string DirectionText(std::uint16_t direction);

    int SelectedRow() const { return selectedRow_; }
    void SelectRow(int row);  // -1: none

    // A new row. Recorded: `delay` is the time measured before the event (already chosen by the
    // recorder), the row goes after the selected one and becomes selected; the row before it takes
    // that pause and hands its own to the new row. Loading: the action's own pause, at the end.
    // False when the list is full (kMaxMacroActions).
    bool AddAction(int delay, KeyCode key, std::uint16_t direction, bool recorded);

    // Row commands (1021-1026) act on the selected row; each row keeps its pause.
    void DeleteRow();
    void ClearRows();  // asks first
    void MoveRowToTop();
    void MoveRowUp();
    void MoveRowDown();
    void MoveRowToBottom();

    // --- In-place cell editing
    // Which editor a cell gets. A pause cell stops a recording first; any other column is refused
    // with a message.
    CellEditor BeginCellEdit(int row, int column);
    // The 106 keys of the key list, by list position; and the two direction texts.
    static std::vector<std::string> KeyListItems();
    static std::vector<std::string> DirectionItems();
    int KeyListPositionOfRow(int row) const;
    void SetRowKey(int row, int listPosition);
    void SetRowDirection(int row, std::uint16_t direction);
    // The typed text as a pause: above the maximum it says so and takes the maximum, then rounds
    // down to 10 ms. Returns the pause stored (the cell's new text).
    int SetRowPause(int row, std::string_view text);

    // --- Repeat count (1125)
    const std::string& RepeatText() const { return repeatText_; }
    // Every change of the edit's text, also the page's own: out-of-range values are rewritten.
    void SetRepeatText(std::string_view text);
    // The text as a count; an empty field reads as 1.
    int RepeatCount() const;

private:
    void LoadSelectedMacro();
    void CommitActionList(int index);
    void MoveSelected(int to);
    bool AnyNameBeginsWith(std::u16string_view prefix) const;
    void SetSelected(int row);

    EditorContext& context_;
    ProfileStore& working_;
    UserPrompt& prompt_;
    MacroRecorder* recorder_ = nullptr;

    MacroList macros_;  // selector copies, in selector order
    int current_ = -1;
    int nameCounter_ = 0;  // kept across openings
    bool firstVisit_ = true;

    std::vector<MacroAction> rows_;
    int selectedRow_ = -1;
    std::string repeatText_ = "1";
};

}  // namespace qv
