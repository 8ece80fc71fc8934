#pragma once
// A report-style list with in-place cell editors: a click on a cell of the row that is already
// selected opens that column's editor (a drop-down list or a numbers-only edit), and leaving the
// editor ends it. The list never changes its cells from an editor by itself: it says what the
// user chose and the owner, which keeps the real data, writes the cells back.

#include <QColor>
#include <QStringList>
#include <QTableWidget>

#include <functional>
#include <vector>

namespace qv::ui {

class CReportList : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString header;
        int width = 50;
    };
    enum class CellEditor { kNone, kDropDown, kNumber };

    explicit CReportList(QWidget* parent = nullptr);

    void SetColumns(const std::vector<Column>& columns);
    // `choices`: the items of a drop-down editor.
    void SetCellEditor(int column, CellEditor kind, const QStringList& choices = {});
    CellEditor EditorOf(int column) const;
    QStringList ChoicesOf(int column) const;
    void SetColumnColour(int column, QColor colour);
    // Decides, as a cell editor is about to open, which editor that cell gets (kNone refuses);
    // without a gate every cell gets its column's editor.
    using EditGate = std::function<CellEditor(int row, int column)>;
    void SetEditGate(EditGate gate) { gate_ = std::move(gate); }

    // Rows: the cells' texts, and per drop-down cell the choice its editor starts on.
    void SetRows(const std::vector<QStringList>& rows);
    void SetRow(int row, const QStringList& cells);
    void SetCellChoice(int row, int column, int choice);
    int CellChoice(int row, int column) const;
    QString CellText(int row, int column) const;

    // -1 clears the selection; a row is scrolled into view.
    void SelectRow(int row);
    int SelectedRow() const;

    // Opens the editor of a cell as a click on the selected row would (tests, keyboard users).
    bool OpenCellEditor(int row, int column);
    // Ends an open cell edit, keeping what was typed or chosen. False when none was open.
    bool EndCellEdit();
    bool CellEditing() const;
    QWidget* OpenEditor() const;

signals:
    void cellChoiceMade(int row, int column, int choice);
    void cellTextEntered(int row, int column, const QString& text);

private:
    friend class ReportCellDelegate;
    QTableWidgetItem* ItemAt(int row, int column);

    std::vector<CellEditor> editors_;
    std::vector<QStringList> choices_;
    std::vector<QColor> colours_;
    EditGate gate_;
    class ReportCellDelegate* delegate_ = nullptr;
};

}  // namespace qv::ui
