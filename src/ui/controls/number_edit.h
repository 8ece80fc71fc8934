#pragma once
// An edit box that takes digits only, like a numbers-only edit control: letters, signs and
// pasted text with anything but digits are refused as they are typed.

#include <QLineEdit>

namespace qv::ui {

class CNumberEdit : public QLineEdit {
    Q_OBJECT
public:
    // `maxDigits` keeps any text that reaches the program readable as a number.
    explicit CNumberEdit(QWidget* parent = nullptr, int maxDigits = 9);

    // The text read as a decimal number; `empty` when there are no digits.
    long long Value(long long empty = 0) const;
};

}  // namespace qv::ui
