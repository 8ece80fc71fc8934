// The editor dialogs: only the places of their controls and the face sets they ask for; their
// captions and lists are the program's.
#include "skin_description.h"

namespace skingen {
namespace {

void Add(Dialog& d, std::string key, QRect r, Look look) {
    d.elements.push_back({std::move(key), r, look, {}, {}, true});
}
void Plain(Dialog& d, std::string key, QRect r) {
    d.elements.push_back({std::move(key), r, Look::kPlain, {}, {}, false});
}

}  // namespace

Dialog CompositeDialog() {
    Dialog d;
    d.iniName = "Composite.ini";
    d.size = QSize(620, 500);
    d.background = "composite_bg.jpg";
    d.mask = "composite_mask.bmp";
    d.faceSets = {"key", "macro", "macro2", "media", "function"};
    const std::vector<std::string> macroSets = {"macro", "macro2"};

    // The title picture carries the page's mark; its words are the label laid over it, in the
    // user's language. The macro-only set shows the macro mark.
    Add(d, "CONTROL_TITLE", QRect(20, 12, 300, 30), Look::kTitle);
    d.elements.back().legend = "key";
    d.elements.back().sets = {"key", "macro", "media", "function"};
    Add(d, "CONTROL_TITLE", QRect(20, 12, 300, 30), Look::kTitle);
    d.elements.back().legend = "macro";
    d.elements.back().sets = {"macro2"};
    d.elements.back().written = false;
    Add(d, "CONTROL_OSK", QRect(562, 13, 40, 28), Look::kIcon);
    d.elements.back().legend = "osk";

    const char* pages[] = {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"};
    for (int i = 0; i < 4; ++i) Add(d, pages[i], QRect(20 + i * 147, 62, 139, 30), Look::kTab);
    // The page picture lies under every control of the page.
    Add(d, "CONTROL_MASK", QRect(20, 98, 580, 338), Look::kPageArt);
    d.panels.push_back(QRect(20, 98, 580, 338));

    Plain(d, "KEY_SETTING", QRect(58, 14, 260, 26));

    // Single key, media and function pages.
    Plain(d, "TISHI_SINGLE_STATIC", QRect(40, 120, 380, 24));
    Plain(d, "MEDIA_SETTING_TISHI", QRect(40, 120, 380, 24));
    Plain(d, "FUNCTION_KEY_SETTING_TISHI", QRect(40, 120, 380, 24));
    Plain(d, "FUNC_KEY_INPUT", QRect(40, 154, 340, 56));
    Plain(d, "FUNC_MEDIA_SELECT", QRect(40, 154, 340, 36));
    Plain(d, "FUNC_FUNCTION_SELECT", QRect(40, 154, 340, 36));
    Add(d, "CONTROL_CLEAR", QRect(456, 382, 128, 34), Look::kButton);
    d.elements.back().legend = "reset";

    // Macro page.
    Plain(d, "MARCO_NAME_SETTING", QRect(40, 110, 250, 24));
    Plain(d, "FUNC_MACRO_LIST", QRect(40, 138, 250, 28));
    Add(d, "FUNC_MACRO_ADD", QRect(300, 137, 76, 30), Look::kButton);
    d.elements.back().legend = "add";
    d.elements.back().sets = macroSets;
    Add(d, "FUNC_MACRO_DELETE", QRect(382, 137, 76, 30), Look::kButton);
    d.elements.back().legend = "delete";
    d.elements.back().sets = macroSets;
    Plain(d, "FUNC_MACRO_LIST2", QRect(40, 176, 418, 196));
    const char* side[] = {"FUNC_MACRO_RECORD", "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN",
                          "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR"};
    for (int i = 0; i < 7; ++i) {
        Add(d, side[i], QRect(470, 137 + i * 34, 114, 30), i == 0 ? Look::kRecord : Look::kButton);
        d.elements.back().sets = macroSets;
    }
    Plain(d, "FUNC_MACRO_CYCLES_PROMPT", QRect(40, 388, 80, 22));
    Plain(d, "FUNC_MACRO_CYCLES", QRect(124, 386, 60, 26));
    Plain(d, "FUNC_MACRO_RECORD_DELAY", QRect(204, 390, 18, 18));
    Plain(d, "FUNC_MACRO_RECORD_DELAY2", QRect(228, 388, 200, 22));

    // Apply has no entry of its own in older skins; the program falls back beside OK.
    Add(d, "CONTROL_APPLY", QRect(224, 450, 120, 34), Look::kButton);
    Add(d, "CONTROL_OK", QRect(352, 450, 120, 34), Look::kPrimary);
    Add(d, "CONTROL_CANCEL", QRect(480, 450, 120, 34), Look::kButton);
    return d;
}

Dialog ProfileDialog() {
    Dialog d;
    d.iniName = "Profile.ini";
    d.title = "PROFILES";
    d.size = QSize(540, 420);
    d.background = "profile_bg.jpg";
    d.mask = "profile_mask.bmp";
    d.faceSets = {"Profile"};
    d.panels.push_back(QRect(20, 56, 500, 282));
    // Help in the title bar: the dialog has no caption bar of its own to carry it.
    Add(d, "CONTROL_HELP", QRect(496, 12, 30, 26), Look::kIcon);
    d.elements.back().legend = "?";
    Plain(d, "PROGRAM_LIST", QRect(30, 66, 480, 262));
    Add(d, "FUNC_ADD", QRect(20, 352, 100, 32), Look::kButton);
    Add(d, "FUNC_LOAD", QRect(126, 352, 100, 32), Look::kButton);
    Add(d, "FUNC_DELETE", QRect(232, 352, 100, 32), Look::kButton);
    Add(d, "CONTROL2_APPLY", QRect(340, 352, 56, 32), Look::kPrimary);
    Add(d, "CONTROL_OK", QRect(402, 352, 56, 32), Look::kPrimary);
    Add(d, "CONTROL_CANCEL", QRect(464, 352, 56, 32), Look::kButton);
    return d;
}

Dialog UpdateDialog() {
    Dialog d;
    d.iniName = "UpdateDlg.ini";
    d.title = "FIRMWARE";
    d.size = QSize(460, 250);
    d.background = "update_bg.jpg";
    d.mask = "update_mask.bmp";
    d.faceSets = {"update"};
    d.panels.push_back(QRect(20, 56, 420, 110));
    Add(d, "CONTROL_CUPButton", QRect(418, 12, 30, 26), Look::kIcon);
    d.elements.back().legend = "close";
    Plain(d, "CONTROL_UPStatic", QRect(36, 70, 388, 22));
    Plain(d, "CONTROL_UPCombox", QRect(36, 100, 388, 28));
    Add(d, "CONTROL_BACKUPButton", QRect(20, 190, 130, 34), Look::kButton);
    Add(d, "CONTROL_OPENButton", QRect(166, 190, 130, 34), Look::kButton);
    Add(d, "CONTROL_UPButton", QRect(310, 190, 130, 34), Look::kPrimary);
    return d;
}

}  // namespace skingen
