#pragma once
// The look of the plain controls on the skinned dialogs: dark fields with the accent colour of
// the skin pictures, so text widgets sit on the pictures without looking pasted on.

#include <QColor>
#include <QFont>
#include <QString>

class QApplication;
class QPalette;
class QWidget;

namespace qv::ui {

inline const QColor kSkinAccent(0x21, 0xc7, 0xff);
inline const QColor kSkinText(0xe6, 0xe8, 0xec);
inline const QColor kSkinMuted(0x8a, 0x90, 0x9a);
inline const QColor kSkinField(0x14, 0x16, 0x1b);

// A font of `points` scaled to the screen's vertical resolution (points x dpi / 72, in pixels),
// so a skin laid out in pixels keeps its proportions.
QFont ScaledFont(const QString& face, double points, bool bold = false);

// Style sheets of the field widgets (line edits, combo boxes and their lists, the report list).
QString FieldStyleSheet();

// The same dark look for what the toolkit draws itself (message boxes, the colour dialog, file
// dialogs, menus): the palette of the skin's colours and the style sheet of menus and dialog
// buttons.
QPalette SkinPalette();
QString StandardDialogStyleSheet();
// Gives the whole program that look; widgets with style sheets of their own keep them.
void ApplySkinLook(QApplication& app);

}  // namespace qv::ui
