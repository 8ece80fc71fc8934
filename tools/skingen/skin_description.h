#pragma once
// The one description of every skinned window: where each control sits and what its face shows.
// The layout INI files and every picture are produced from it, so they always agree.

#include <QColor>
#include <QRect>
#include <QString>

#include <string>
#include <vector>

namespace skingen {

enum class Look {
    kKey,            // keyboard key cap with legend(s)
    kGKey,           // macro key cap, accent legend
    kDKey,           // spare key cap in the flip zone, faces cut from the strip below the window
    kButton,         // command button; caption drawn by the program
    kPrimary,        // accented command button; caption drawn by the program
    kRecord,         // command button with a record light; caption drawn by the program
    kTab,            // profile tab; caption drawn by the program
    kField,          // wide caption field (profiles button)
    kRate,           // report-rate pill with its legend in the picture
    kIcon,           // title-bar glyph button: legend "?", "menu", "min", "close"
    kLed,            // lock indicator with legend
    kBank,           // G-key bank indicator (A lit in normal faces, B lit in hover faces)
    kFlipTab,        // flip tab beside the F-key zone
    kFlipZone,       // backdrop of the F-key zone (disabled button)
    kBrand,          // logo / link
    kBlank,          // button whose caption is drawn by the program on the background
    kTitle,          // window title drawn into the face pictures (legend)
    kPageArt,        // page picture: the panel with the artwork of the face set's page
    kPlain,          // plain control: nothing drawn for it in the pictures
    kHidden,         // entry only
};

struct Element {
    std::string key;       // BUTTONINFO key
    QRect rect;            // window coordinates
    Look look = Look::kPlain;
    QString legend;        // main legend
    QString shifted;       // small upper legend (keys)
    bool imageButton = true;
    // Face sets whose pictures draw this element; empty: every set.
    std::vector<std::string> sets = {};
    // False for a second drawing of an element that already has its entry.
    bool written = true;
};

struct FaceOrigin {       // BUTTONINFO2 entry: where a button's faces are cut from
    std::string key;
    QRect rect;           // position in the picture (the entry stores x + 1, y + 1)
};

struct Dialog {
    std::string iniName;            // "Main.ini"
    QString title;
    QSize size;
    int cornerRadius = 14;
    std::string background;         // SCREEN/Main
    std::string mask;               // SCREEN/Mask
    std::vector<std::string> faceSets;  // picture prefixes: "main" -> main_normal.jpg ...
    int faceStripHeight = 0;        // extra rows below the window in the face pictures
    std::vector<Element> elements;
    std::vector<FaceOrigin> faceOrigins;
    std::vector<QRect> panels;      // framed areas drawn on the background
    std::vector<std::pair<QRect, QString>> headings;  // small texts drawn on the background
};

Dialog MainDialog();
Dialog CompositeDialog();
Dialog ProfileDialog();
Dialog UpdateDialog();

// Arrow picture: four arrows (up/down x left/right) in two states.
struct ArrowFace {
    std::string key;   // "UP_ARROW_LEFT1" ...
    QRect rect;        // in Arrow.jpg
    bool up;
    bool lit;
};
std::vector<ArrowFace> ArrowFaces();
QSize ArrowPictureSize();

}  // namespace skingen
