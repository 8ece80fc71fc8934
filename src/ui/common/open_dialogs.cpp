#include "ui/common/open_dialogs.h"

#include <QApplication>
#include <QDialog>

namespace qv::ui {

void CloseOpenDialogs(const QWidget* keep) {
    // A nested dialog (a file dialog, a question) would keep its own loop running after the
    // program is told to end; each is answered as Cancel or No.
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (dialog != nullptr && dialog != keep && dialog->isVisible()) dialog->reject();
    }
}

}  // namespace qv::ui
