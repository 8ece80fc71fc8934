#pragma once
// A drop-down list in the skin's look. Editable lists (the macro selector) type into their field;
// the others only choose.

#include <QComboBox>

namespace qv::ui {

class CStyledComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit CStyledComboBox(QWidget* parent = nullptr, bool editable = false);

    // Editable lists only: the longest text the field takes (longer typing is refused).
    void SetMaxTextLength(int units);
    // Replaces the items; no item is selected afterwards when `select` is -1.
    void SetItems(const QStringList& items, int select = 0);
    // The field's text without a change signal (editable lists).
    void SetFieldTextQuietly(const QString& text);

signals:
    // The user typed into the field (not emitted for texts the program sets).
    void fieldTextEdited(const QString& text);
};

}  // namespace qv::ui
