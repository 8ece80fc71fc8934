#include "ui/controls/number_edit.h"

#include <QRegularExpressionValidator>

namespace qv::ui {

CNumberEdit::CNumberEdit(QWidget* parent, int maxDigits) : QLineEdit(parent) {
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(maxDigits)), this));
}

long long CNumberEdit::Value(long long empty) const {
    bool ok = false;
    const long long v = text().toLongLong(&ok);
    return ok ? v : empty;
}

}  // namespace qv::ui
