// The report list with in-place cell editors, as a user clicks and types into it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "ui/controls/number_edit.h"
#include "ui/controls/report_list.h"
#include "ui/controls/styled_combo.h"

namespace qv::ui {
namespace {

class ReportListTest : public ::testing::Test {
protected:
    void SetUp() override {
        list_.resize(300, 200);
        list_.SetColumns({{"Key", 80}, {"Dir", 50}, {"Pause", 70}});
        list_.SetCellEditor(0, CReportList::CellEditor::kDropDown, {"A", "B", "C"});
        list_.SetCellEditor(2, CReportList::CellEditor::kNumber);
        list_.SetRows({{"A", "down", "10"}, {"C", "up", "20"}, {"B", "down", "0"}});
        list_.SetCellChoice(1, 0, 2);
        list_.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
    }

    QPoint CellCentre(int row, int column) {
        return list_.visualItemRect(list_.item(row, column)).center();
    }
    void Click(int row, int column) {
        QTest::mouseClick(list_.viewport(), Qt::LeftButton, {}, CellCentre(row, column));
    }
    // A click on the selected row opens its editor once the double-click time has passed.
    QWidget* WaitForEditor() {
        (void)QTest::qWaitFor([&] { return list_.OpenEditor() != nullptr; }, QApplication::doubleClickInterval() + 500);
        return list_.OpenEditor();
    }

    CReportList list_;
};

TEST_F(ReportListTest, FirstClickSelectsTheRowAndASecondClickOpensTheColumnsEditor) {
    Click(1, 0);
    EXPECT_EQ(list_.SelectedRow(), 1);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    EXPECT_EQ(list_.OpenEditor(), nullptr) << "selecting a row edits nothing";

    Click(1, 0);
    auto* combo = qobject_cast<QComboBox*>(WaitForEditor());
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentIndex(), 2) << "the editor starts on the row's own choice";
}

TEST_F(ReportListTest, ChoosingInTheDropDownReportsTheChoiceAndLeavesTheCellToTheOwner) {
    QSignalSpy chosen(&list_, &CReportList::cellChoiceMade);
    list_.SelectRow(0);
    ASSERT_TRUE(list_.OpenCellEditor(0, 0));
    auto* combo = qobject_cast<QComboBox*>(list_.OpenEditor());
    ASSERT_NE(combo, nullptr);
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QApplication::processEvents();
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).toInt(), 0);
    EXPECT_EQ(chosen.at(0).at(1).toInt(), 0);
    EXPECT_EQ(chosen.at(0).at(2).toInt(), 1);
    EXPECT_FALSE(list_.CellEditing()) << "a choice ends the edit";
    EXPECT_EQ(list_.CellText(0, 0), "A") << "the owner writes the cell";

    // Choosing what the cell already holds is no change.
    ASSERT_TRUE(list_.OpenCellEditor(0, 0));
    combo = qobject_cast<QComboBox*>(list_.OpenEditor());
    emit combo->activated(0);
    QApplication::processEvents();
    EXPECT_EQ(chosen.count(), 1);
}

TEST_F(ReportListTest, NumberEditorTakesDigitsOnlyAndEndCellEditKeepsTheText) {
    QSignalSpy entered(&list_, &CReportList::cellTextEntered);
    list_.SelectRow(1);
    ASSERT_TRUE(list_.OpenCellEditor(1, 2));
    auto* edit = qobject_cast<QLineEdit*>(list_.OpenEditor());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->text(), "20");
    edit->clear();
    QTest::keyClicks(edit, "12a-3 4");
    EXPECT_EQ(edit->text(), "1234");
    EXPECT_TRUE(list_.EndCellEdit());
    ASSERT_EQ(entered.count(), 1);
    EXPECT_EQ(entered.at(0).at(0).toInt(), 1);
    EXPECT_EQ(entered.at(0).at(2).toString(), "1234");
    EXPECT_FALSE(list_.EndCellEdit()) << "nothing left open";
}

TEST_F(ReportListTest, GateDecidesWhichCellsOpenAnEditor) {
    std::vector<std::pair<int, int>> asked;
    list_.SetEditGate([&](int row, int column) {
        asked.emplace_back(row, column);
        return column == 2 ? CReportList::CellEditor::kNumber : CReportList::CellEditor::kNone;
    });
    list_.SelectRow(2);
    EXPECT_FALSE(list_.OpenCellEditor(2, 1));
    EXPECT_EQ(list_.OpenEditor(), nullptr);
    EXPECT_TRUE(list_.OpenCellEditor(2, 2));
    EXPECT_NE(qobject_cast<QLineEdit*>(list_.OpenEditor()), nullptr);
    EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{2, 1}, {2, 2}}));
}

TEST_F(ReportListTest, RowsAreReplacedInPlaceAndSelectionCanBeCleared) {
    list_.SelectRow(2);
    list_.SetRows({{"B", "up", "5"}});
    EXPECT_EQ(list_.rowCount(), 1);
    EXPECT_EQ(list_.CellText(0, 2), "5");
    list_.SelectRow(0);
    EXPECT_EQ(list_.SelectedRow(), 0);
    list_.SelectRow(-1);
    EXPECT_EQ(list_.SelectedRow(), -1);
    EXPECT_FALSE(list_.OpenCellEditor(5, 0)) << "no row 5";
}

TEST(StyledCombo, EditableFieldRefusesTextBeyondItsLimitAndReportsOnlyTyping) {
    CStyledComboBox combo(nullptr, true);
    combo.SetMaxTextLength(5);
    QSignalSpy typed(&combo, &CStyledComboBox::fieldTextEdited);
    combo.SetItems({"one", "two"}, -1);
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_TRUE(combo.lineEdit()->text().isEmpty());
    combo.SetFieldTextQuietly("abc");
    EXPECT_EQ(typed.count(), 0);
    QTest::keyClicks(combo.lineEdit(), "defgh");
    EXPECT_EQ(combo.lineEdit()->text(), "abcde");
    EXPECT_EQ(typed.count(), 2) << "the characters past the limit never arrive";
    EXPECT_EQ(combo.count(), 2) << "typing inserts no item";
}

TEST(NumberEdit, EmptyTextReadsAsTheGivenDefault) {
    CNumberEdit edit(nullptr, 3);
    EXPECT_EQ(edit.Value(1), 1);
    QTest::keyClicks(&edit, "45678");
    EXPECT_EQ(edit.text(), "456");
    EXPECT_EQ(edit.Value(), 456);
}

}  // namespace
}  // namespace qv::ui
