#pragma once
// The dialogs of a program that is ending.

class QWidget;

namespace qv::ui {

// Cancels every dialog on screen but `keep`.
void CloseOpenDialogs(const QWidget* keep);

}  // namespace qv::ui
