// The macro page of the key editor's dialog: the selector, the action list with its cell editors,
// the repeat count and the record-delay box, shown from MacroPage and forwarded to it.
#include <QCheckBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "core/editor/composite_ids.h"
#include "ui/controls/number_edit.h"
#include "ui/controls/report_list.h"
#include "ui/controls/styled_combo.h"
#include "ui/editor/composite_dlg.h"

namespace qv::ui {

namespace cid = composite_id;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

CReportList::CellEditor ListEditorFor(MacroPage::CellEditor kind) {
    switch (kind) {
    case MacroPage::CellEditor::KeyList:
    case MacroPage::CellEditor::Direction: return CReportList::CellEditor::kDropDown;
    case MacroPage::CellEditor::Pause: return CReportList::CellEditor::kNumber;
    case MacroPage::CellEditor::None: break;
    }
    return CReportList::CellEditor::kNone;
}

}  // namespace

void Quorvane_DlgComposite::ConnectMacroPage() {
    MacroPage& macros = editor_.Macros();
    connect(selector_, &QComboBox::activated, this, [this](int index) {
        editor_.Macros().SelectMacro(index);
        UpdateKeyHook();
    });
    connect(selector_, &CStyledComboBox::fieldTextEdited, this, [this](const QString& text) {
        QLineEdit* field = selector_->lineEdit();
        const int cursor = field->cursorPosition();
        const QString kept = Q(editor_.Macros().TypeName(text.toStdString()));
        // The selector was refilled with the new name; the field keeps what the user typed.
        selector_->SetFieldTextQuietly(kept);
        field->setCursorPosition(std::min(cursor, static_cast<int>(kept.size())));
    });
    connect(repeat_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (showing_) return;
        editor_.Macros().SetRepeatText(text.toStdString());
    });
    connect(recordDelay_, &QCheckBox::clicked, this, [this] {
        editor_.Recorder().ToggleRecordDelay();
        // The box shows the stored value, whatever the click did to it.
        recordDelay_->setChecked(editor_.Recorder().RecordDelayChecked());
    });
    connect(list_, &QTableWidget::itemSelectionChanged, this, [this] {
        if (showing_) return;
        editor_.Macros().SelectRow(list_->SelectedRow());
    });
    list_->SetEditGate([this](int row, int column) {
        const CReportList::CellEditor kind = ListEditorFor(editor_.Macros().BeginCellEdit(row, column));
        // A pause edit stops a recording: the keys go back to the edit.
        UpdateKeyHook();
        return kind;
    });
    connect(list_, &CReportList::cellChoiceMade, this, [this](int row, int column, int choice) {
        if (column == 0) editor_.Macros().SetRowKey(row, choice);
        if (column == 1) editor_.Macros().SetRowDirection(row, static_cast<std::uint16_t>(choice));
    });
    connect(list_, &CReportList::cellTextEntered, this, [this](int row, int column, const QString& text) {
        if (column == 2) editor_.Macros().SetRowPause(row, text.toStdString());
        // The cell shows what was stored, also when the text was not changed.
        ShowRow(row);
    });
    (void)macros;
}

void Quorvane_DlgComposite::ShowSelector() {
    const MacroPage& macros = editor_.Macros();
    QStringList names;
    for (int i = 0; i < macros.MacroCount(); ++i) names << Q(macros.MacroName(i));
    const int current = macros.CurrentMacro();
    QLineEdit* field = selector_->lineEdit();
    const bool typing = field != nullptr && field->hasFocus();
    const QString typed = field != nullptr ? field->text() : QString();
    const int cursor = field != nullptr ? field->cursorPosition() : 0;
    selector_->SetItems(names, current);
    if (current < 0) selector_->SetFieldTextQuietly(QString());
    // Refilling the list while the user types must not move the cursor.
    if (typing && current >= 0 && names.value(current) == typed) field->setCursorPosition(cursor);
}

void Quorvane_DlgComposite::ShowMacroButtons() {
    const MacroPage& macros = editor_.Macros();
    const bool selector = macros.SelectorEnabled();
    for (int id : {cid::kAddMacro, cid::kDeleteMacro}) Button(id)->setEnabled(selector);
    selector_->setEnabled(selector);
    const bool actions = macros.ActionButtonsEnabled();
    for (int id = cid::kRecord; id <= cid::kActionToBottom; ++id) Button(id)->setEnabled(actions);
}

void Quorvane_DlgComposite::ShowRow(int row) {
    const MacroPage& macros = editor_.Macros();
    if (row < 0 || row >= macros.RowCount() || row >= list_->rowCount()) return;
    list_->SetRow(row, {Q(macros.CellText(row, 0)), Q(macros.CellText(row, 1)), Q(macros.CellText(row, 2))});
    list_->SetCellChoice(row, 0, macros.KeyListPositionOfRow(row));
    list_->SetCellChoice(row, 1, macros.Row(row).direction == kRelease ? 1 : 0);
}

void Quorvane_DlgComposite::ShowRows() {
    const bool wasShowing = showing_;
    showing_ = true;
    const int rows = editor_.Macros().RowCount();
    const QSignalBlocker quiet(list_);
    list_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) ShowRow(r);
    showing_ = wasShowing;
    ShowSelectedRow();
}

void Quorvane_DlgComposite::ShowSelectedRow() {
    const bool wasShowing = showing_;
    showing_ = true;
    list_->SelectRow(editor_.Macros().SelectedRow());
    showing_ = wasShowing;
}

void Quorvane_DlgComposite::ActionRowsChanged(const RowChange& change) {
    const bool wasShowing = showing_;
    showing_ = true;
    const MacroPage& macros = editor_.Macros();
    switch (change.kind) {
    case RowChange::Insert:
        for (int r = change.first; r <= change.last; ++r) {
            list_->insertRow(r);
            ShowRow(r);
        }
        break;
    case RowChange::Remove:
        for (int r = change.last; r >= change.first; --r) list_->removeRow(r);
        break;
    case RowChange::Move: {
        const int low = std::min(change.first, change.to), high = std::max(change.first, change.to);
        for (int r = low; r <= high; ++r) ShowRow(r);
        break;
    }
    case RowChange::Reset:
        showing_ = wasShowing;
        ShowRows();
        return;
    }
    // Whatever happened, the list holds as many rows as the page.
    if (list_->rowCount() != macros.RowCount()) {
        showing_ = wasShowing;
        ShowRows();
        return;
    }
    showing_ = wasShowing;
    ShowSelectedRow();
}

void Quorvane_DlgComposite::ActionRowDataChanged(int row) { ShowRow(row); }

void Quorvane_DlgComposite::EndCellEdit() { list_->EndCellEdit(); }

}  // namespace qv::ui
