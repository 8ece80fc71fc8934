#pragma once
// How the key editor's models tell the dialog what to show again. The dialog implements
// EditorView and re-reads the models' state; it never decides anything itself.

#include <cstdint>

namespace qv {

// Parts of the editor's state that changed; the view re-reads only those.
enum EditorChange : std::uint32_t {
    kChangedPage = 1u << 0,           // page shown, page buttons, controls shown, page picture
    kChangedApply = 1u << 1,          // Apply enabled
    kChangedKeyText = 1u << 2,        // the captured key's name (1127)
    kChangedMediaFunction = 1u << 3,  // selections of 1128 and 1129
    kChangedSelector = 1u << 4,       // selector items and the current item (1126)
    kChangedMacroButtons = 1u << 5,   // enabled state of 1017, 1018, 1020-1026 and 1126
    kChangedRepeatCount = 1u << 6,    // text of 1125
    kChangedSelectedRow = 1u << 7,    // selected action row: select it, scroll it into view
    kChangedRecording = 1u << 8,      // caption and pressed face of the Record button (1020)
    kChangedRecordDelay = 1u << 9,    // check state of 1027
    kChangedTexts = 1u << 10,         // captions, labels and tooltips (on open)
    kChangedAll = 0xFFFFFFFFu,
};

// A change of the action list's rows, announced before it is made and again after it (what a
// table model's begin/end calls need).
struct RowChange {
    enum Kind { Insert, Remove, Move, Reset };
    Kind kind = Reset;
    int first = 0;  // Insert/Remove: rows first..last; Move: the row that moves
    int last = 0;
    int to = 0;     // Move: the row's index after the move

    // Move: the index before which the row goes, counted in the list before the move.
    int MoveDestination() const { return to > first ? to + 1 : to; }
};

class EditorView {
public:
    virtual ~EditorView() = default;
    virtual void EditorChanged(std::uint32_t what) = 0;
    virtual void ActionRowsChanging(const RowChange& change) { (void)change; }
    virtual void ActionRowsChanged(const RowChange& change) { (void)change; }
    // Cells of an existing row changed (key, direction or pause).
    virtual void ActionRowDataChanged(int row) { (void)row; }
    // Commit and close an open in-place cell editor; Apply reads the rows right after.
    virtual void EndCellEdit() {}
};

// What the editor's three models share: the Apply button and the view.
class EditorContext {
public:
    void SetView(EditorView* view) { view_ = view; }

    bool ApplyEnabled() const { return applyEnabled_; }
    void SetApplyEnabled(bool on) {
        if (applyEnabled_ == on) return;
        applyEnabled_ = on;
        Changed(kChangedApply);
    }
    void EnableApply() { SetApplyEnabled(true); }

    void Changed(std::uint32_t what) const {
        if (view_ != nullptr) view_->EditorChanged(what);
    }
    void RowsChanging(const RowChange& c) const {
        if (view_ != nullptr) view_->ActionRowsChanging(c);
    }
    void RowsChanged(const RowChange& c) const {
        if (view_ != nullptr) view_->ActionRowsChanged(c);
    }
    void RowDataChanged(int row) const {
        if (view_ != nullptr) view_->ActionRowDataChanged(row);
    }
    void EndCellEdit() const {
        if (view_ != nullptr) view_->EndCellEdit();
    }

private:
    EditorView* view_ = nullptr;
    bool applyEnabled_ = false;
};

}  // namespace qv
