// skingen: draws every picture of the program's skin and writes the layout files, all from the
// one description in this folder. Usage: skingen <Skins folder>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTextStream>

#include <cstdio>
#include <string_view>
#include <functional>

#include "painter.h"
#include "skin_description.h"

namespace {

using namespace skingen;

struct Section {
    QString name;
    std::vector<std::pair<QString, QString>> values;
};

QString Entry(const QRect& r) {
    return QString("%1,%2,%3,%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

bool WriteIni(const QString& file, const std::vector<Section>& sections) {
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream s(&out);
    s.setEncoding(QStringConverter::Utf8);
    for (const Section& sec : sections) {
        s << "[" << sec.name << "]\n";
        for (const auto& [k, v] : sec.values) s << k << "=" << v << "\n";
        s << "\n";
    }
    return s.status() == QTextStream::Ok;
}

bool Save(const QImage& img, const QString& file) {
    const bool jpeg = file.endsWith(".jpg");
    if (!img.save(file, nullptr, jpeg ? 96 : -1)) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(file));
        return false;
    }
    return true;
}

// The device pixel ratios the program finds pictures for beside the plain (1x) files; a screen
// between two of them takes the next larger one, scaled down when it is loaded.
constexpr double kVariantScales[] = {2, 3};

// "main_normal.jpg" at 2 -> "main_normal@2x.jpg", the naming Qt's own loaders understand.
QString VariantName(const QString& file, double scale) {
    const int dot = file.lastIndexOf('.');
    return file.left(dot) + QString("@%1x").arg(scale) + file.mid(dot);
}

// A picture the window shows, written at 1x and at every variant scale.
bool SaveAtEveryScale(const std::function<QImage(double scale)>& draw, const QString& file) {
    bool ok = Save(draw(1), file);
    for (double scale : kVariantScales) ok &= Save(draw(scale), VariantName(file, scale));
    return ok;
}

const char* kEffectNames[][3] = {
    {"1", "Rainbow Wave", "彩虹波浪"},   {"2", "Pulse Wave", "脉冲波浪"},
    {"3", "Snake", "流光贪吃蛇"},         {"4", "Spectrum Cycle", "光谱循环"},
    {"5", "Breathing", "呼吸"},           {"6", "Static", "常亮"},
    {"7", "Reactive", "单键触发"},        {"8", "Reactive Fade", "触发渐隐"},
    {"9", "Reactive Line", "横线触发"},   {"10", "Starlight", "星光闪烁"},
    {"11", "Neon", "霓虹"},               {"12", "Vertical Wave", "上下波浪"},
    {"13", "Crosshair", "十字扩散"},      {"14", "Ripple Show", "涟漪秀"},
    {"15", "Rainfall", "雨滴"},           {"16", "Ripple", "涟漪"},
    {"17", "Four Colours", "四色"},       {"18", "Rings", "光环"},
    {"20", "Custom", "自定义"},
};

const char* kLabelNames[][3] = {
    {"Usb", "REPORT RATE", "回报率"}, {"Deng", "LIGHTING", "灯光"}, {"Light", "BRIGHTNESS", "亮度"},
    {"FX", "DIRECTION", "方向"},      {"Speed", "SPEED", "速度"},   {"Color", "COLOUR", "颜色"},
    {"JColor", "BASE", "基色"},       {"DC", "Colourful", "多彩"},  {"Tool", "TOOL", "工具"},
};

bool WriteDialog(const QDir& dir, const Dialog& d) {
    bool ok = true;
    Section screen{"SCREEN", {{"Main", QString::fromStdString(d.background)},
                              {"Mask", QString::fromStdString(d.mask)}}};
    if (d.iniName == "Main.ini") screen.values.push_back({"Link", "https://quorvane.example.com/"});
    Section buttons{"BUTTONINFO", {}};
    for (const Element& e : d.elements) {
        if (e.written) buttons.values.push_back({QString::fromStdString(e.key), Entry(e.rect)});
    }
    std::vector<Section> sections{screen, buttons};
    if (d.iniName == "Main.ini") {
        Section faces{"BUTTONINFO2", {}};
        for (const ArrowFace& a : ArrowFaces()) {
            faces.values.push_back({QString::fromStdString(a.key), Entry(a.rect.translated(1, 1))});
        }
        for (const FaceOrigin& o : d.faceOrigins) {
            faces.values.push_back({QString::fromStdString(o.key), Entry(o.rect.translated(1, 1))});
        }
        Section mode{"Mode", {}}, mode1{"Mode1", {}};
        for (const auto& n : kEffectNames) {
            mode.values.push_back({n[0], QString::fromUtf8(n[2])});
            mode1.values.push_back({n[0], QString::fromUtf8(n[1])});
        }
        Section names{"Control_Name", {}}, names1{"Control_Name1", {}};
        for (const auto& n : kLabelNames) {
            names.values.push_back({n[0], QString::fromUtf8(n[2])});
            names1.values.push_back({n[0], QString::fromUtf8(n[1])});
        }
        sections.insert(sections.end(), {faces, mode, mode1, names, names1});
    }
    ok &= WriteIni(dir.filePath(QString::fromStdString(d.iniName)), sections);
    ok &= SaveAtEveryScale([&](double s) { return DrawBackground(d, s); },
                           dir.filePath(QString::fromStdString(d.background)));
    ok &= Save(DrawMask(d), dir.filePath(QString::fromStdString(d.mask)));
    const std::pair<Face, const char*> states[] = {
        {Face::kNormal, "normal"}, {Face::kOver, "over"}, {Face::kDown, "down"}, {Face::kDisable, "disable"}};
    for (const std::string& set : d.faceSets) {
        for (const auto& [face, name] : states) {
            ok &= SaveAtEveryScale([&](double s) { return DrawFaces(d, face, set, s); },
                                   dir.filePath(QString("%1_%2.jpg").arg(QString::fromStdString(set), name)));
        }
    }
    return ok;
}

bool WriteLightingPictures(const QDir& dir) {
    bool ok = true;
    for (int i = 0; i <= 5; ++i) {
        ok &= SaveAtEveryScale([&](double s) { return DrawSlider(i, false, s); }, dir.filePath(QString("%1.bmp").arg(i)));
        ok &= SaveAtEveryScale([&](double s) { return DrawSlider(i, true, s); }, dir.filePath(QString("%1.bmp").arg(6 + i)));
    }
    ok &= SaveAtEveryScale([&](double s) { return DrawSwitch(false, s); }, dir.filePath("dengup.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawSwitch(true, s); }, dir.filePath("dengdown.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawColourful(false, s); }, dir.filePath("sjsup.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawColourful(true, s); }, dir.filePath("sjsdown.bmp"));
    const char* directions[][3] = {{"leftup", "leftdown", "left"}, {"rightup", "rightdown", "right"},
                                   {"upup", "updown", "up"},       {"downup", "downdown", "down"},
                                   {"kuosan", "kuosandown", "out"}, {"julong", "julongdown", "in"}};
    for (const auto& d : directions) {
        ok &= SaveAtEveryScale([&](double s) { return DrawDirection(d[2], false, s); }, dir.filePath(QString("%1.bmp").arg(d[0])));
        ok &= SaveAtEveryScale([&](double s) { return DrawDirection(d[2], true, s); }, dir.filePath(QString("%1.bmp").arg(d[1])));
    }
    const std::pair<const char*, QColor> swatches[] = {{"hong", QColor(0xf0, 0x2d, 0x3a)},
                                                       {"huang", QColor(0xff, 0xc8, 0x1e)},
                                                       {"lv", QColor(0x2e, 0xd5, 0x6a)},
                                                       {"lan", QColor(0x2f, 0x7b, 0xff)}};
    for (const auto& [name, colour] : swatches) {
        ok &= SaveAtEveryScale([&](double s) { return DrawSwatch(colour, false, s); }, dir.filePath(QString("%1.bmp").arg(name)));
        ok &= SaveAtEveryScale([&](double s) { return DrawSwatch(colour, true, s); }, dir.filePath(QString("%1ok.bmp").arg(name)));
    }
    ok &= SaveAtEveryScale([&](double s) { return DrawTool(false, false, s); }, dir.filePath("user1up.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawTool(false, true, s); }, dir.filePath("user1down.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawTool(true, false, s); }, dir.filePath("user2up.bmp"));
    ok &= SaveAtEveryScale([&](double s) { return DrawTool(true, true, s); }, dir.filePath("user2down.bmp"));
    for (int i = 1; i <= 10; ++i) ok &= SaveAtEveryScale([&](double s) { return DrawBusy(i, s); }, dir.filePath(QString("jdt%1.bmp").arg(i)));
    ok &= SaveAtEveryScale([&](double s) { return DrawDropArrow(s); }, dir.filePath("droparrow.png"));
    return ok;
}

// The program's icon at every size a desktop's icon theme asks for, drawn at each size rather
// than scaled from one picture, into <folder>/<N>x<N>/apps/quorvane.png (the hicolor layout).
int WriteThemeIcons(const QString& folder) {
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256, 512}) {
        QDir dir(QString("%1/%2x%2/apps").arg(folder).arg(size));
        if (!dir.mkpath(".")) {
            std::fprintf(stderr, "skingen: cannot create %s\n", qPrintable(dir.path()));
            return 1;
        }
        ok &= Save(skingen::DrawTrayIcon(1, size), dir.filePath("quorvane.png"));
    }
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    if (argc == 3 && std::string_view(argv[1]) == "--icons") {
        return WriteThemeIcons(QString::fromLocal8Bit(argv[2]));
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <Skins folder>\n       skingen --icons <icon theme folder>\n");
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
        return 1;
    }
    bool ok = true;
    const skingen::Dialog main = skingen::MainDialog();
    ok &= WriteDialog(dir, main);
    ok &= WriteDialog(dir, skingen::CompositeDialog());
    ok &= WriteDialog(dir, skingen::ProfileDialog());
    ok &= WriteDialog(dir, skingen::UpdateDialog());
    ok &= SaveAtEveryScale([&](double s) { return skingen::DrawArrows(s); }, dir.filePath("Arrow.jpg"));
    ok &= SaveAtEveryScale([&](double s) { return skingen::DrawComboArrow(s); }, dir.filePath("combo_arrow.png"));
    ok &= SaveAtEveryScale([&](double s) { return skingen::DrawColourKeys(main, false, s); }, dir.filePath("main_color0.jpg"));
    ok &= SaveAtEveryScale([&](double s) { return skingen::DrawColourKeys(main, true, s); }, dir.filePath("main_color1.jpg"));
    ok &= WriteLightingPictures(dir);
    const int icons[][2] = {{128, 0}, {141, 1}, {142, 2}};
    for (const auto& [id, kind] : icons) {
        ok &= Save(skingen::DrawTrayIcon(kind, 64), dir.filePath(QString("icon%1.png").arg(id)));
    }
    ok &= Save(skingen::DrawTrayIcon(1, 256), dir.filePath("quorvane.png"));
    return ok ? 0 : 1;
}
