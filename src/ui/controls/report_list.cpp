#include "ui/controls/report_list.h"

#include <QComboBox>
#include <QHeaderView>
#include <QListView>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTimer>

#include "ui/controls/control_style.h"
#include "ui/controls/number_edit.h"

namespace qv::ui {

namespace {
constexpr int kChoiceRole = Qt::UserRole + 1;
}

class ReportCellDelegate : public QStyledItemDelegate {
public:
    explicit ReportCellDelegate(CReportList& list) : QStyledItemDelegate(&list), list_(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override {
        const int row = index.row(), column = index.column();
        CReportList::CellEditor kind = list_.EditorOf(column);
        if (list_.gate_) kind = list_.gate_(row, column);
        if (kind == CReportList::CellEditor::kNone) return nullptr;
        QWidget* editor = nullptr;
        if (kind == CReportList::CellEditor::kDropDown) {
            auto* combo = new QComboBox(parent);
            combo->setView(new QListView(combo));
            combo->setStyleSheet(FieldStyleSheet());
            combo->setMaxVisibleItems(14);
            combo->addItems(list_.ChoicesOf(column));
            // Choosing an item is the end of the edit; no second click needed.
            connect(combo, &QComboBox::activated, combo, [this, combo] {
                emit const_cast<ReportCellDelegate*>(this)->commitData(combo);
                emit const_cast<ReportCellDelegate*>(this)->closeEditor(combo);
            });
            QTimer::singleShot(0, combo, [combo] { combo->showPopup(); });
            editor = combo;
        } else {
            auto* edit = new CNumberEdit(parent);
            edit->setStyleSheet(FieldStyleSheet());
            editor = edit;
        }
        open_ = editor;
        return editor;
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentIndex(index.data(kChoiceRole).toInt());
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setText(index.data(Qt::DisplayRole).toString());
            edit->selectAll();
        }
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override {
        const int row = index.row(), column = index.column();
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            const int choice = combo->currentIndex();
            if (choice >= 0 && choice != index.data(kChoiceRole).toInt()) emit list_.cellChoiceMade(row, column, choice);
        } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            emit list_.cellTextEntered(row, column, edit->text());
        }
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex&) const override {
        editor->setGeometry(option.rect);
    }

    QWidget* Open() const { return open_; }

private:
    CReportList& list_;
    mutable QPointer<QWidget> open_;
};

CReportList::CReportList(QWidget* parent) : QTableWidget(parent) {
    delegate_ = new ReportCellDelegate(*this);
    setItemDelegate(delegate_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::SelectedClicked);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(22);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setStyleSheet(FieldStyleSheet());
}

void CReportList::SetColumns(const std::vector<Column>& columns) {
    setColumnCount(static_cast<int>(columns.size()));
    editors_.assign(columns.size(), CellEditor::kNone);
    choices_.assign(columns.size(), {});
    colours_.assign(columns.size(), QColor());
    QStringList headers;
    for (const Column& c : columns) headers << c.header;
    setHorizontalHeaderLabels(headers);
    for (std::size_t i = 0; i < columns.size(); ++i) setColumnWidth(static_cast<int>(i), columns[i].width);
}

void CReportList::SetCellEditor(int column, CellEditor kind, const QStringList& choices) {
    if (column < 0 || column >= static_cast<int>(editors_.size())) return;
    editors_[static_cast<std::size_t>(column)] = kind;
    choices_[static_cast<std::size_t>(column)] = choices;
}

CReportList::CellEditor CReportList::EditorOf(int column) const {
    if (column < 0 || column >= static_cast<int>(editors_.size())) return CellEditor::kNone;
    return editors_[static_cast<std::size_t>(column)];
}

QStringList CReportList::ChoicesOf(int column) const {
    if (column < 0 || column >= static_cast<int>(choices_.size())) return {};
    return choices_[static_cast<std::size_t>(column)];
}

void CReportList::SetColumnColour(int column, QColor colour) {
    if (column < 0 || column >= static_cast<int>(colours_.size())) return;
    colours_[static_cast<std::size_t>(column)] = colour;
    for (int r = 0; r < rowCount(); ++r) ItemAt(r, column)->setForeground(colour);
}

QTableWidgetItem* CReportList::ItemAt(int row, int column) {
    QTableWidgetItem* it = item(row, column);
    if (it == nullptr) {
        it = new QTableWidgetItem();
        const QColor c = column < static_cast<int>(colours_.size()) ? colours_[static_cast<std::size_t>(column)] : QColor();
        if (c.isValid()) it->setForeground(c);
        setItem(row, column, it);
    }
    return it;
}

void CReportList::SetRows(const std::vector<QStringList>& rows) {
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) SetRow(r, rows[static_cast<std::size_t>(r)]);
}

void CReportList::SetRow(int row, const QStringList& cells) {
    if (row < 0 || row >= rowCount()) return;
    for (int c = 0; c < columnCount() && c < cells.size(); ++c) {
        QTableWidgetItem* it = ItemAt(row, c);
        if (it->text() != cells[c]) it->setText(cells[c]);
    }
}

void CReportList::SetCellChoice(int row, int column, int choice) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return;
    ItemAt(row, column)->setData(kChoiceRole, choice);
}

int CReportList::CellChoice(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it == nullptr ? -1 : it->data(kChoiceRole).toInt();
}

QString CReportList::CellText(int row, int column) const {
    const QTableWidgetItem* it = item(row, column);
    return it == nullptr ? QString() : it->text();
}

void CReportList::SelectRow(int row) {
    if (row < 0 || row >= rowCount()) {
        clearSelection();
        setCurrentItem(nullptr);
        return;
    }
    setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollToItem(item(row, 0));
}

int CReportList::SelectedRow() const {
    const QModelIndexList rows = selectionModel() != nullptr ? selectionModel()->selectedRows() : QModelIndexList{};
    return rows.isEmpty() ? -1 : rows.front().row();
}

bool CReportList::OpenCellEditor(int row, int column) {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) return false;
    edit(model()->index(row, column), QAbstractItemView::AllEditTriggers, nullptr);
    return CellEditing();
}

QWidget* CReportList::OpenEditor() const {
    QWidget* editor = delegate_->Open();
    return editor != nullptr && state() == QAbstractItemView::EditingState ? editor : nullptr;
}

bool CReportList::CellEditing() const { return OpenEditor() != nullptr; }

bool CReportList::EndCellEdit() {
    QWidget* editor = OpenEditor();
    if (editor == nullptr) return false;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

}  // namespace qv::ui
