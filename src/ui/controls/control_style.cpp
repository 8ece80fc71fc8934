#include "ui/controls/control_style.h"

#include <QApplication>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>

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

QPalette SkinPalette() {
    const QColor window(0x1a, 0x1d, 0x22);
    const QColor button(0x2a, 0x2f, 0x37);
    const QColor highlight(0x0e, 0x6d, 0x8f);
    const QColor disabledText(0x55, 0x5a, 0x63);
    QPalette p;
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, kSkinText);
    p.setColor(QPalette::Base, kSkinField);
    p.setColor(QPalette::AlternateBase, QColor(0x17, 0x1a, 0x1f));
    p.setColor(QPalette::Text, kSkinText);
    p.setColor(QPalette::PlaceholderText, kSkinMuted);
    p.setColor(QPalette::Button, button);
    p.setColor(QPalette::ButtonText, kSkinText);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::Highlight, highlight);
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::Link, kSkinAccent);
    p.setColor(QPalette::ToolTipBase, window);
    p.setColor(QPalette::ToolTipText, kSkinText);
    p.setColor(QPalette::Light, QColor(0x3a, 0x41, 0x4b));
    p.setColor(QPalette::Midlight, QColor(0x30, 0x35, 0x3d));
    p.setColor(QPalette::Mid, QColor(0x24, 0x27, 0x2d));
    p.setColor(QPalette::Dark, QColor(0x10, 0x12, 0x16));
    p.setColor(QPalette::Shadow, Qt::black);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        p.setColor(QPalette::Disabled, role, disabledText);
    }
    p.setColor(QPalette::Disabled, QPalette::Highlight, QColor(0x30, 0x35, 0x3d));
    return p;
}

QString StandardDialogStyleSheet() {
    return QStringLiteral(
        "QMenu { background: #1a1d22; color: #e6e8ec; border: 1px solid #343841; padding: 4px; }"
        "QMenu::item { padding: 6px 28px 6px 16px; border-radius: 4px; }"
        "QMenu::item:selected { background: #0e6d8f; color: white; }"
        "QMenu::item:disabled { color: #555a63; }"
        "QMenu::separator { height: 1px; background: #343841; margin: 4px 8px; }"
        "QMessageBox QPushButton, QColorDialog QPushButton, QFileDialog QPushButton, QInputDialog QPushButton {"
        "  background: #2a2f37; color: #e6e8ec; border: 1px solid #3a414b; border-radius: 5px;"
        "  padding: 5px 16px; min-width: 64px; }"
        "QMessageBox QPushButton:hover, QColorDialog QPushButton:hover, QFileDialog QPushButton:hover,"
        "  QInputDialog QPushButton:hover { border-color: #21c7ff; }"
        "QMessageBox QPushButton:default, QColorDialog QPushButton:default, QFileDialog QPushButton:default,"
        "  QInputDialog QPushButton:default { border-color: #21c7ff; }"
        "QMessageBox QPushButton:pressed, QColorDialog QPushButton:pressed, QFileDialog QPushButton:pressed,"
        "  QInputDialog QPushButton:pressed { background: #0e6d8f; }"
        "QToolTip { background: #1a1d22; color: #e6e8ec; border: 1px solid #343841; }"
        // The style's stock pictures on OK, Open and Cancel clash with the skin's flat buttons.
        "QDialogButtonBox { dialogbuttonbox-buttons-have-icons: 0; }");
}

void ApplySkinLook(QApplication& app) {
    // A style that draws with the palette it is given, whatever the desktop's own style is.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QApplication::setPalette(SkinPalette());
    app.setStyleSheet(StandardDialogStyleSheet());
}

}  // namespace qv::ui
