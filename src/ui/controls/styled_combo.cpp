#include "ui/controls/styled_combo.h"

#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>

#include "ui/controls/control_style.h"

namespace qv::ui {

CStyledComboBox::CStyledComboBox(QWidget* parent, bool editable) : QComboBox(parent) {
    // A list view takes the style sheet; the platform's own popup would not.
    setView(new QListView(this));
    setStyleSheet(FieldStyleSheet());
    setMaxVisibleItems(12);
    if (editable) {
        setEditable(true);
        // Typing renames the current item; the program inserts items itself.
        setInsertPolicy(QComboBox::NoInsert);
        connect(lineEdit(), &QLineEdit::textEdited, this, &CStyledComboBox::fieldTextEdited);
    }
}

void CStyledComboBox::SetMaxTextLength(int units) {
    if (QLineEdit* field = lineEdit()) field->setMaxLength(units);
}

void CStyledComboBox::SetItems(const QStringList& items, int select) {
    const QSignalBlocker quiet(this);
    clear();
    addItems(items);
    setCurrentIndex(select);
    if (select < 0 && lineEdit() != nullptr) lineEdit()->clear();
}

void CStyledComboBox::SetFieldTextQuietly(const QString& text) {
    if (QLineEdit* field = lineEdit()) {
        const QSignalBlocker quiet(field);
        field->setText(text);
    }
}

}  // namespace qv::ui
