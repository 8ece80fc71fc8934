#include "ui/controls/control_style.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "core/app/paths.h"

namespace qv::ui {

QFont ScaledFont(const QString& face, double points, bool bold) {
    double dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInchY();
    QFont f(face);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpi / 72.0))));
    f.setBold(bold);
    return f;
}

QString FieldStyleSheet() {
    const QString arrow = QString::fromStdString((Paths().skinFolder / "combo_arrow.png").generic_string());
    return QStringLiteral(
        "QLineEdit, QComboBox {"
        "  background: #14161b; color: #e6e8ec; border: 1px solid #343841; border-radius: 5px;"
        "  padding: 2px 8px; selection-background-color: #0e6d8f; }"
        "QLineEdit:focus, QComboBox:focus, QComboBox:on { border: 1px solid #21c7ff; }"
        "QLineEdit:disabled, QComboBox:disabled { color: #555a63; border-color: #282b30; }"
        "QLineEdit[readOnly=\"true\"] { background: #101216; }"
        "QComboBox::drop-down { width: 26px; border: none; }"
        "QComboBox::down-arrow { image: url(%1); width: 12px; height: 8px; margin-right: 8px; }"
        "QComboBox QAbstractItemView { background: #1a1d22; color: #e6e8ec; border: 1px solid #21c7ff;"
        "  selection-background-color: #0e6d8f; selection-color: white; outline: 0; }"
        "QComboBox QAbstractItemView::item { min-height: 24px; padding: 0 8px; }"
        "QTableWidget { background: #14161b; alternate-background-color: #171a1f; color: #e6e8ec;"
        "  border: 1px solid #343841; border-radius: 5px; gridline-color: #23262c;"
        "  selection-background-color: #0e6d8f; selection-color: white; outline: 0; }"
        "QHeaderView::section { background: #1f2228; color: #8a909a; border: none;"
        "  border-bottom: 1px solid #343841; padding: 3px 6px; font-weight: bold; }"
        "QTableCornerButton::section { background: #1f2228; border: none; }"
        "QScrollBar:vertical { background: #14161b; width: 10px; margin: 0; }"
        "QScrollBar::handle:vertical { background: #343841; border-radius: 4px; min-height: 24px; }"
        "QScrollBar::handle:vertical:hover { background: #21c7ff; }"
        "QScrollBar::add-line, QScrollBar::sub-line { height: 0; }"
        "QCheckBox::indicator { width: 16px; height: 16px; border: 1px solid #454a55; border-radius: 4px;"
        "  background: #14161b; }"
        "QCheckBox::indicator:checked { background: #21c7ff; border-color: #21c7ff; }")
        .arg(arrow);
}

}  // namespace qv::ui
