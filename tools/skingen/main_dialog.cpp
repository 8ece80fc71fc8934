// The main window: title bar, profile and report-rate row, the keyboard with its G keys, the
// lighting strip and the command bar.
#include <cstdio>

#include "skin_description.h"

namespace skingen {
namespace {

constexpr int kWidth = 1080;
constexpr int kHeight = 592;
constexpr double kUnit = 40.0;     // one key unit
constexpr int kGap = 4;            // space between two caps
constexpr int kKeysX = 126;        // left edge of the main block
constexpr int kKeysY = 142;        // top edge of the function row
constexpr int kGColumnX = 56;

struct KeyDef {
    int code;
    const char* legend;
    const char* shifted;
    double x, y, w, h;
};

// Rows in key units; the function row is at 0, the others start 1.25 below it.
const KeyDef kKeys[] = {
    {0x001, "Esc", "", 0, 0, 1, 1},
    {0x03B, "F1", "", 2.0, 0, 0.95, 1},   {0x03C, "F2", "", 2.95, 0, 0.95, 1},
    {0x03D, "F3", "", 3.9, 0, 0.95, 1},   {0x03E, "F4", "", 4.85, 0, 0.95, 1},
    {0x03F, "F5", "", 6.6, 0, 0.95, 1},   {0x040, "F6", "", 7.55, 0, 0.95, 1},
    {0x041, "F7", "", 8.5, 0, 0.95, 1},   {0x042, "F8", "", 9.45, 0, 0.95, 1},
    {0x043, "F9", "", 11.2, 0, 0.95, 1},  {0x044, "F10", "", 12.15, 0, 0.95, 1},
    {0x057, "F11", "", 13.1, 0, 0.95, 1}, {0x058, "F12", "", 14.05, 0, 0.95, 1},
    {0x137, "PrtSc", "", 15.25, 0, 1, 1}, {0x046, "ScrLk", "", 16.25, 0, 1, 1},
    {0x045, "Pause", "", 17.25, 0, 1, 1},

    {0x029, "`", "~", 0, 1.25, 1, 1},     {0x002, "1", "!", 1, 1.25, 1, 1},
    {0x003, "2", "@", 2, 1.25, 1, 1},     {0x004, "3", "#", 3, 1.25, 1, 1},
    {0x005, "4", "$", 4, 1.25, 1, 1},     {0x006, "5", "%", 5, 1.25, 1, 1},
    {0x007, "6", "^", 6, 1.25, 1, 1},     {0x008, "7", "&", 7, 1.25, 1, 1},
    {0x009, "8", "*", 8, 1.25, 1, 1},     {0x00A, "9", "(", 9, 1.25, 1, 1},
    {0x00B, "0", ")", 10, 1.25, 1, 1},    {0x00C, "-", "_", 11, 1.25, 1, 1},
    {0x00D, "=", "+", 12, 1.25, 1, 1},    {0x00E, "Backspace", "", 13, 1.25, 2, 1},
    {0x152, "Ins", "", 15.25, 1.25, 1, 1}, {0x147, "Home", "", 16.25, 1.25, 1, 1},
    {0x149, "PgUp", "", 17.25, 1.25, 1, 1},
    {0x145, "Num", "", 18.5, 1.25, 1, 1}, {0x135, "/", "", 19.5, 1.25, 1, 1},
    {0x037, "*", "", 20.5, 1.25, 1, 1},   {0x04A, "-", "", 21.5, 1.25, 1, 1},

    {0x00F, "Tab", "", 0, 2.25, 1.5, 1},
    {0x010, "Q", "", 1.5, 2.25, 1, 1},    {0x011, "W", "", 2.5, 2.25, 1, 1},
    {0x012, "E", "", 3.5, 2.25, 1, 1},    {0x013, "R", "", 4.5, 2.25, 1, 1},
    {0x014, "T", "", 5.5, 2.25, 1, 1},    {0x015, "Y", "", 6.5, 2.25, 1, 1},
    {0x016, "U", "", 7.5, 2.25, 1, 1},    {0x017, "I", "", 8.5, 2.25, 1, 1},
    {0x018, "O", "", 9.5, 2.25, 1, 1},    {0x019, "P", "", 10.5, 2.25, 1, 1},
    {0x01A, "[", "{", 11.5, 2.25, 1, 1},  {0x01B, "]", "}", 12.5, 2.25, 1, 1},
    {0x02B, "\\", "|", 13.5, 2.25, 1.5, 1},
    {0x153, "Del", "", 15.25, 2.25, 1, 1}, {0x14F, "End", "", 16.25, 2.25, 1, 1},
    {0x151, "PgDn", "", 17.25, 2.25, 1, 1},
    {0x047, "7", "Home", 18.5, 2.25, 1, 1}, {0x048, "8", "\u2191", 19.5, 2.25, 1, 1},
    {0x049, "9", "PgUp", 20.5, 2.25, 1, 1}, {0x04E, "+", "", 21.5, 2.25, 1, 2},

    {0x03A, "Caps Lock", "", 0, 3.25, 1.75, 1},
    {0x01E, "A", "", 1.75, 3.25, 1, 1},   {0x01F, "S", "", 2.75, 3.25, 1, 1},
    {0x020, "D", "", 3.75, 3.25, 1, 1},   {0x021, "F", "", 4.75, 3.25, 1, 1},
    {0x022, "G", "", 5.75, 3.25, 1, 1},   {0x023, "H", "", 6.75, 3.25, 1, 1},
    {0x024, "J", "", 7.75, 3.25, 1, 1},   {0x025, "K", "", 8.75, 3.25, 1, 1},
    {0x026, "L", "", 9.75, 3.25, 1, 1},   {0x027, ";", ":", 10.75, 3.25, 1, 1},
    {0x028, "'", "\"", 11.75, 3.25, 1, 1}, {0x01C, "Enter", "", 12.75, 3.25, 2.25, 1},
    {0x04B, "4", "\u2190", 18.5, 3.25, 1, 1}, {0x04C, "5", "", 19.5, 3.25, 1, 1},
    {0x04D, "6", "\u2192", 20.5, 3.25, 1, 1},

    {0x02A, "Shift", "", 0, 4.25, 2.25, 1},
    {0x02C, "Z", "", 2.25, 4.25, 1, 1},   {0x02D, "X", "", 3.25, 4.25, 1, 1},
    {0x02E, "C", "", 4.25, 4.25, 1, 1},   {0x02F, "V", "", 5.25, 4.25, 1, 1},
    {0x030, "B", "", 6.25, 4.25, 1, 1},   {0x031, "N", "", 7.25, 4.25, 1, 1},
    {0x032, "M", "", 8.25, 4.25, 1, 1},   {0x033, ",", "<", 9.25, 4.25, 1, 1},
    {0x034, ".", ">", 10.25, 4.25, 1, 1}, {0x035, "/", "?", 11.25, 4.25, 1, 1},
    {0x036, "Shift", "", 12.25, 4.25, 2.75, 1},
    {0x148, "\u2191", "", 16.25, 4.25, 1, 1},
    {0x04F, "1", "End", 18.5, 4.25, 1, 1}, {0x050, "2", "\u2193", 19.5, 4.25, 1, 1},
    {0x051, "3", "PgDn", 20.5, 4.25, 1, 1}, {0x11C, "Enter", "", 21.5, 4.25, 1, 2},

    {0x01D, "Ctrl", "", 0, 5.25, 1.25, 1},  {0x15B, "Win", "", 1.25, 5.25, 1.25, 1},
    {0x038, "Alt", "", 2.5, 5.25, 1.25, 1}, {0x039, "", "", 3.75, 5.25, 6.25, 1},
    {0x138, "Alt", "", 10, 5.25, 1, 1},
    {0x15D, "Menu", "", 12, 5.25, 1, 1},    {0x15C, "Win", "", 13, 5.25, 1, 1},
    {0x11D, "Ctrl", "", 14, 5.25, 1, 1},
    {0x14B, "\u2190", "", 15.25, 5.25, 1, 1}, {0x150, "\u2193", "", 16.25, 5.25, 1, 1},
    {0x14D, "\u2192", "", 17.25, 5.25, 1, 1},
    {0x052, "0", "Ins", 18.5, 5.25, 2, 1},  {0x053, ".", "Del", 20.5, 5.25, 1, 1},
};

QRect KeyRect(double x, double y, double w, double h, int left = kKeysX) {
    const int x0 = left + static_cast<int>(x * kUnit + 0.5);
    const int y0 = kKeysY + static_cast<int>(y * kUnit + 0.5);
    const int x1 = left + static_cast<int>((x + w) * kUnit + 0.5) - kGap;
    const int y1 = kKeysY + static_cast<int>((y + h) * kUnit + 0.5) - kGap;
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

int Slot(int code) { return code < 0x100 ? code : (code - 0x80) & 0xFF; }

std::string KeyName(const char* format, int n) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, n);
    return buf;
}

}  // namespace

Dialog MainDialog() {
    Dialog d;
    d.iniName = "Main.ini";
    // No frame title: the brand link at the top left carries the name.
    d.size = QSize(kWidth, kHeight);
    d.background = "main_bg.jpg";
    d.mask = "main_mask.bmp";
    d.faceSets = {"main"};
    d.faceStripHeight = 60;
    auto add = [&d](std::string key, QRect r, Look look, QString legend = {}, QString shifted = {}) {
        d.elements.push_back({std::move(key), r, look, std::move(legend), std::move(shifted), true});
    };
    auto plain = [&d](std::string key, QRect r, Look look = Look::kPlain) {
        d.elements.push_back({std::move(key), r, look, {}, {}, false});
    };

    // Title bar.
    add("ZERVAL_LINK", QRect(22, 12, 176, 34), Look::kBrand, "QUORVANE");
    add("ZERVAL_VER", QRect(204, 26, 120, 16), Look::kBlank);
    const int iconY = 14;
    add("CONTROL_HELP", QRect(kWidth - 150, iconY, 30, 26), Look::kIcon, "?");
    add("CONTROL_MENU", QRect(kWidth - 116, iconY, 30, 26), Look::kIcon, "menu");
    add("CONTROL_MINIMIZE", QRect(kWidth - 82, iconY, 30, 26), Look::kIcon, "min");
    add("CONTROL_CLOSE", QRect(kWidth - 48, iconY, 30, 26), Look::kIcon, "close");

    // Profile and report-rate row.
    const int rowY = 68;
    for (int i = 0; i < 3; ++i) {
        add(KeyName("FUNC_PROFILE%d", i + 1), QRect(24 + i * 112, rowY, 108, 34), Look::kTab);
    }
    add("FUNC_PROFILES", QRect(370, rowY, 210, 34), Look::kField);
    add("FUNC_MACRO", QRect(590, rowY, 110, 34), Look::kButton);
    plain("CONTROL_UsbStatic", QRect(726, rowY + 9, 92, 18));
    const char* rates[] = {"125 Hz", "250 Hz", "500 Hz", "1000 Hz"};
    const char* rateKeys[] = {"FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4"};
    for (int i = 0; i < 4; ++i) {
        add(rateKeys[i], QRect(822 + i * 58, rowY + 3, 56, 28), Look::kRate, rates[i]);
    }

    // Keyboard plate.
    d.panels.push_back(QRect(20, 120, kWidth - 40, 296));

    // Flip zone behind F1..F4 with its two tabs; created first so the keys sit on top.
    const QRect zone = KeyRect(1.05, 0, 5.5, 1);
    const QRect zoneRect(zone.left(), zone.top(), zone.width() + kGap, zone.height());
    add("FLIP_0", zoneRect, Look::kFlipZone);
    // The zone's own face is the empty backdrop, kept below the window: the pictures show the F
    // keys at its place for the F-key buttons.
    d.faceOrigins.push_back({"FLIP_0", QRect(QPoint(kWidth - 40 - zoneRect.width(), kHeight + 20), zoneRect.size())});
    const QRect tab1 = KeyRect(1.15, 0, 0.8, 1);
    const QRect tab2 = KeyRect(5.85, 0, 0.8, 1);
    add("FLIP_1", tab1, Look::kFlipTab);
    add("FLIP_2", tab2, Look::kFlipTab);
    const QSize arrow(14, 14);
    add("LEFT_ARROW", QRect(tab1.center() - QPoint(6, 6), arrow), Look::kHidden);
    add("RIGHT_ARROW", QRect(tab2.center() - QPoint(6, 6), arrow), Look::kHidden);

    for (const KeyDef& k : kKeys) {
        add(KeyName("KEY_%03X", Slot(k.code)), KeyRect(k.x, k.y, k.w, k.h), Look::kKey,
            QString::fromUtf8(k.legend), QString::fromUtf8(k.shifted));
    }
    add("KEY_FN", KeyRect(11, 5.25, 1, 1), Look::kKey, "Fn");

    // Spare D keys share the F1..F4 place; their faces live in a strip below the window.
    const double dWidth = (4 * 0.95) / 6.0;
    for (int i = 0; i < 6; ++i) {
        const QRect r = KeyRect(2.0 + i * dWidth, 0, dWidth, 1);
        const std::string key = KeyName("FUNC_D%d", i + 1);
        add(key, r, Look::kDKey, QString("D%1").arg(i + 1));
        d.faceOrigins.push_back({key, QRect(QPoint(r.left(), kHeight + 20), r.size())});
    }

    // Lock lights above the numeric pad, the bank light above the G keys.
    const char* leds[] = {"NUM", "CAPS", "SCROLL"};
    const char* ledKeys[] = {"LOCK_NUM", "LOCK_CAPS", "LOCK_SCROLL"};
    for (int i = 0; i < 3; ++i) {
        add(ledKeys[i], QRect(KeyRect(18.6 + i * 1.3, 0, 1.2, 1).topLeft(), QSize(48, 36)),
            Look::kLed, leds[i]);
    }
    add("LOCK_AB", KeyRect(0, 0, 1.25, 1, kGColumnX), Look::kBank);
    for (int i = 0; i < 5; ++i) {
        // The program writes the bank's caption ("A1".."B5") over these caps.
        add(KeyName("FUNC_G%d", i + 1), KeyRect(0, 1.25 + i, 1.25, 1, kGColumnX), Look::kGKey);
    }
    // G6..G9 exist only as records for the Macro button; they get no place on the keyboard.
    for (int i = 5; i < 9; ++i) add(KeyName("FUNC_G%d", i + 1), QRect(1, 1, 1, 1), Look::kHidden);

    // Lighting strip.
    const int ly = 428;
    d.panels.push_back(QRect(20, ly - 4, kWidth - 40, 100));
    plain("CONTROL_DengStatic", QRect(36, ly + 8, 84, 18));
    plain("CONTROL_DengStaPic", QRect(36, ly + 34, 60, 30));
    plain("CONTROL_XGcombox", QRect(132, ly + 36, 176, 26));
    plain("CONTROL_LightStatic", QRect(326, ly + 8, 120, 18));
    plain("CONTROL_LightSlider", QRect(326, ly + 34, 150, 30));
    plain("CONTROL_SpeedStatic", QRect(494, ly + 8, 120, 18));
    plain("CONTROL_SpeedSlider", QRect(494, ly + 34, 150, 30));
    plain("CONTROL_umCombo", QRect(494, ly + 36, 150, 26));
    for (const char* suffix : {"", "2", "3"}) {
        const std::string s(suffix);
        plain("CONTROL_BLFXStatic" + s, QRect(662, ly + 8, 90, 18));
        plain("CONTROL_BLFXLStaPic" + s, QRect(662, ly + 34, 44, 30));
        plain("CONTROL_BLFXRStaPic" + s, QRect(710, ly + 34, 44, 30));
    }
    // Both colour groups share one place: no effect shows them together.
    for (const char* group : {"FY", "HX"}) {
        const std::string g(group);
        const bool first = g == "FY";
        plain(first ? "CONTROL_FYYSStatic" : "CONTROL_HXysStatic", QRect(772, ly + 8, 80, 18));
        plain(first ? "CONTROL_FYYSButton" : "CONTROL_HXysButton", QRect(772, ly + 34, 48, 30));
        plain(first ? "CONTROL_FYSJSStaPic" : "CONTROL_HXsjsStaPic", QRect(830, ly + 37, 24, 24));
        plain(first ? "CONTROL_FYSJSStatic" : "CONTROL_HXsjsStatic", QRect(858, ly + 40, 90, 18));
    }
    const char* choice[] = {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"};
    // The four colours of effect 17 take the speed slider's place: that effect has no speed.
    for (int i = 0; i < 4; ++i) plain(choice[i], QRect(500 + i * 36, ly + 35, 28, 28));
    // Per-key colours: the mode list takes the speed slider's place, then erase, base and tool.
    plain("CONTROL_USERysStatic", QRect(662, ly + 8, 70, 18));
    plain("CONTROL_USERysButton", QRect(662, ly + 34, 48, 30));
    plain("CONTROL_USERjsStatic", QRect(742, ly + 8, 70, 18));
    plain("CONTROL_USERjsButton", QRect(742, ly + 34, 48, 30));
    plain("CONTROL_USERgjStatic", QRect(822, ly + 8, 70, 18));
    plain("CONTROL_USERgjStaPic1", QRect(822, ly + 34, 34, 30));
    plain("CONTROL_USERgjStaPic2", QRect(860, ly + 34, 34, 30));
    // Groups the panel keeps hidden in every state.
    plain("CONTROL_JTysStatic", QRect(772, ly + 8, 80, 18));
    plain("CONTROL_JTysButton", QRect(772, ly + 34, 48, 30));
    plain("CONTROL_FYCFStatic", QRect(772, ly + 8, 80, 18));
    plain("CONTROL_FYdjcfStatic", QRect(800, ly + 40, 70, 18));
    plain("CONTROL_FYggcfStatc", QRect(900, ly + 40, 70, 18));
    plain("CONTROL_FYdjcfStaPic", QRect(772, ly + 37, 24, 24));
    plain("CONTROL_FYggcfStaPic", QRect(872, ly + 37, 24, 24));
    for (const char* group : {"TS", "CD"}) {
        const std::string g(group);
        plain("CONTROL_" + g + "ysStatic", QRect(772, ly + 8, 80, 18));
        plain("CONTROL_" + g + "ysButton", QRect(772, ly + 34, 48, 30));
        plain("CONTROL_" + g + "sjsStaPic", QRect(830, ly + 37, 24, 24));
        plain("CONTROL_" + g + "sjsStatic", QRect(858, ly + 40, 90, 18));
    }
    const char* rgb[] = {"r", "g", "b"};
    for (int i = 0; i < 3; ++i) {
        const std::string c(rgb[i]);
        plain("m_rgb" + c + "_static", QRect(968, ly + 6 + i * 30, 20, 22));
        plain("m_edit_rgb" + c, QRect(990, ly + 6 + i * 30, 58, 24));
    }

    // Command bar.
    const int by = kHeight - 56;
    add("FUNC_DEFAULT", QRect(24, by, 116, 34), Look::kButton);
    add("FUNC_SWITCH", QRect(148, by, 116, 34), Look::kHidden);
    plain("CONTROL_JDTStatic", QRect(kWidth - 24 - 3 * 124 - 176, by + 11, 160, 12));
    add("CONTROL_OK", QRect(kWidth - 24 - 3 * 124 + 8, by, 116, 34), Look::kPrimary);
    add("CONTROL_CANCEL", QRect(kWidth - 24 - 2 * 124 + 8, by, 116, 34), Look::kButton);
    add("CONTROL2_APPLY", QRect(kWidth - 24 - 124 + 8, by, 116, 34), Look::kPrimary);
    return d;
}

std::vector<ArrowFace> ArrowFaces() {
    std::vector<ArrowFace> faces;
    const char* names[] = {"UP_ARROW_LEFT", "DOWN_ARROW_LEFT", "UP_ARROW_RIGHT", "DOWN_ARROW_RIGHT"};
    for (int state = 1; state <= 2; ++state) {
        for (int i = 0; i < 4; ++i) {
            faces.push_back({std::string(names[i]) + std::to_string(state),
                             QRect(2 + i * 18, 2 + (state - 1) * 18, 14, 14), i % 2 == 0, state == 2});
        }
    }
    return faces;
}

QSize ArrowPictureSize() { return QSize(4 * 18 + 4, 2 * 18 + 4); }

}  // namespace skingen
