#include "ui/lighting/lighting_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>

#include <algorithm>

#include "core/lighting/lighting_panel.h"
#include "core/lighting/panel_decisions.h"
#include "ui/controls/colour_button.h"
#include "ui/controls/colour_static.h"
#include "ui/controls/focus_wheel_combo.h"
#include "ui/controls/image_slider.h"
#include "ui/controls/picture_button.h"
#include "ui/skin/skin_layout.h"
#include "ui/skin/skin_pictures.h"

namespace qv::ui {
namespace {

namespace pid = lighting::panel_id;

// Drop-down lists and edits in the skin's colours.
constexpr const char* kFieldStyle = R"(
QComboBox, QLineEdit {
    background: #22252b; color: #e6e8ec; border: 1px solid #3d424c; border-radius: 6px;
    padding: 1px 8px; font-size: 12px; selection-background-color: #0e6d8f;
}
QComboBox:hover, QLineEdit:hover { border-color: #21c7ff; }
QComboBox:focus, QLineEdit:focus { border-color: #21c7ff; }
QLineEdit:disabled { color: #6b717c; border-color: #2c3038; }
QComboBox::drop-down { border: none; width: 22px; }
QComboBox::down-arrow { image: url(%1); width: 12px; height: 8px; margin-right: 8px; }
QComboBox QAbstractItemView {
    background: #1b1e23; color: #e6e8ec; border: 1px solid #3d424c; outline: none;
    selection-background-color: #0e6d8f; selection-color: #ffffff;
}
QComboBox QAbstractItemView::item { min-height: 22px; padding-left: 6px; }
)";

struct Placed {
    int id;
    const char* key;
};

// Every control and its layout key; the direction controls start at their plain keys.
constexpr Placed kLayout[] = {
    {pid::kLightingLabel, "CONTROL_DengStatic"},     {pid::kLightingViewToggle, "CONTROL_DengStaPic"},
    {pid::kEffectSelector, "CONTROL_XGcombox"},      {pid::kBrightnessLabel, "CONTROL_LightStatic"},
    {pid::kBrightnessSlider, "CONTROL_LightSlider"}, {pid::kSpeedLabel, "CONTROL_SpeedStatic"},
    {pid::kSpeedSlider, "CONTROL_SpeedSlider"},      {pid::kDirectionLabel, "CONTROL_BLFXStatic"},
    {pid::kDirectionFirst, "CONTROL_BLFXLStaPic"},   {pid::kDirectionSecond, "CONTROL_BLFXRStaPic"},
    {pid::kFirstColourLabel, "CONTROL_FYYSStatic"},  {pid::kFirstColourButton, "CONTROL_FYYSButton"},
    {pid::kFirstColourfulToggle, "CONTROL_FYSJSStaPic"}, {pid::kFirstColourfulLabel, "CONTROL_FYSJSStatic"},
    {pid::kSecondColourLabel, "CONTROL_HXysStatic"}, {pid::kSecondColourButton, "CONTROL_HXysButton"},
    {pid::kSecondColourfulToggle, "CONTROL_HXsjsStaPic"}, {pid::kSecondColourfulLabel, "CONTROL_HXsjsStatic"},
    {1194, "CONTROL_HONGPIC"},                       {1195, "CONTROL_HUANGPIC"},
    {1196, "CONTROL_LVPIC"},                         {1197, "CONTROL_LANPIC"},
    {pid::kEraseColourLabel, "CONTROL_USERysStatic"}, {pid::kEraseColourButton, "CONTROL_USERysButton"},
    {pid::kBaseColourLabel, "CONTROL_USERjsStatic"}, {pid::kBaseColourButton, "CONTROL_USERjsButton"},
    {pid::kToolLabel, "CONTROL_USERgjStatic"},       {pid::kEraseToolPicture, "CONTROL_USERgjStaPic1"},
    {pid::kPaintToolPicture, "CONTROL_USERgjStaPic2"}, {pid::kUserModeSelector, "CONTROL_umCombo"},
    {1210, "m_rgbr_static"},                         {pid::kRedEdit, "m_edit_rgbr"},
    {1211, "m_rgbg_static"},                         {pid::kGreenEdit, "m_edit_rgbg"},
    {1212, "m_rgbb_static"},                         {pid::kBlueEdit, "m_edit_rgbb"},
    // Never shown.
    {1157, "CONTROL_JTysStatic"},                    {1158, "CONTROL_JTysButton"},
    {1182, "CONTROL_FYCFStatic"},                    {1181, "CONTROL_FYdjcfStatic"},
    {1184, "CONTROL_FYggcfStatc"},                   {1183, "CONTROL_FYdjcfStaPic"},
    {1180, "CONTROL_FYggcfStaPic"},                  {1186, "CONTROL_TSysStatic"},
    {1187, "CONTROL_TSysButton"},                    {1188, "CONTROL_TSsjsStaPic"},
    {1189, "CONTROL_TSsjsStatic"},                   {1190, "CONTROL_CDysStatic"},
    {1191, "CONTROL_CDysButton"},                    {1192, "CONTROL_CDsjsStaPic"},
    {1193, "CONTROL_CDsjsStatic"},
};

template <typename W>
W* Named(W* w, const char* kind, int id, LightingControls& c) {
    w->setObjectName(QString("%1_%2").arg(kind).arg(id));
    w->setProperty("controlId", id);
    c.byId[id] = w;
    return w;
}

CColourStatic* Label(QWidget& parent, LightingControls& c, int id, const char* text,
                     CColourStatic::Style style = CColourStatic::Style::kHeading) {
    auto* l = Named(new CColourStatic(id, style, &parent), "static", id, c);
    l->setText(QString::fromUtf8(text));
    return l;
}

CPictureButton* Picture(QWidget& parent, LightingControls& c, int id) {
    return Named(new CPictureButton(id, &parent), "picture", id, c);
}

CColourButton* Colour(QWidget& parent, LightingControls& c, int id) {
    return Named(new CColourButton(id, &parent), "colour", id, c);
}

QComboBox* Combo(QWidget& parent, LightingControls& c, int id, bool editable) {
    auto* box = Named(new CFocusWheelComboBox(&parent), "combo", id, c);
    box->setEditable(editable);
    // A name typed in the box renames the current mode; it never adds an entry.
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->setView(new QListView(box));  // lets the style sheet reach the list
    return box;
}

}  // namespace

QWidget* LightingControls::Control(int id) const {
    const auto it = byId.find(id);
    return it == byId.end() ? nullptr : it->second;
}

LightingControls CreateLightingControls(QWidget& parent) {
    LightingControls c;
    using Style = CColourStatic::Style;
    Label(parent, c, pid::kLightingLabel, "灯光");
    c.viewToggle = Picture(parent, c, pid::kLightingViewToggle);
    c.effects = Combo(parent, c, pid::kEffectSelector, false);
    Label(parent, c, pid::kBrightnessLabel, "亮度");
    c.brightness = Named(new CImageSlider(pid::kBrightnessSlider, 6, &parent), "slider", pid::kBrightnessSlider, c);
    Label(parent, c, pid::kSpeedLabel, "速度");
    c.speed = Named(new CImageSlider(pid::kSpeedSlider, 6, &parent), "slider", pid::kSpeedSlider, c);
    c.directionLabel = Label(parent, c, pid::kDirectionLabel, "方向");
    c.directionFirst = Picture(parent, c, pid::kDirectionFirst);
    c.directionSecond = Picture(parent, c, pid::kDirectionSecond);
    Label(parent, c, pid::kFirstColourLabel, "颜色");
    c.firstColour = Colour(parent, c, pid::kFirstColourButton);
    c.firstColourful = Picture(parent, c, pid::kFirstColourfulToggle);
    Label(parent, c, pid::kFirstColourfulLabel, "多彩", Style::kCaption);
    Label(parent, c, pid::kSecondColourLabel, "颜色");
    c.secondColour = Colour(parent, c, pid::kSecondColourButton);
    c.secondColourful = Picture(parent, c, pid::kSecondColourfulToggle);
    Label(parent, c, pid::kSecondColourfulLabel, "多彩", Style::kCaption);
    for (int k = 0; k < 4; ++k) c.colourChoices[static_cast<std::size_t>(k)] = Picture(parent, c, pid::kColourChoiceFirst + k);
    Label(parent, c, pid::kEraseColourLabel, "颜色");
    c.eraseColour = Colour(parent, c, pid::kEraseColourButton);
    Label(parent, c, pid::kBaseColourLabel, "基色");
    c.baseColour = Colour(parent, c, pid::kBaseColourButton);
    Label(parent, c, pid::kToolLabel, "工具");
    c.eraseTool = Picture(parent, c, pid::kEraseToolPicture);
    c.paintTool = Picture(parent, c, pid::kPaintToolPicture);
    c.userModes = Combo(parent, c, pid::kUserModeSelector, true);
    const char* rgbLabels[] = {"R:", "G:", "B:"};
    for (int i = 0; i < 3; ++i) {
        Label(parent, c, 1210 + i, rgbLabels[i], Style::kCaption)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = Named(new QLineEdit(&parent), "edit", pid::kRedEdit + i, c);
        edit->setMaxLength(11);
        edit->setText("0");
        c.rgb[static_cast<std::size_t>(i)] = edit;
    }

    // Stands where the parameter controls would be, for an effect that has none here.
    c.effectNote = new CColourStatic(0, Style::kCaption, &parent);
    c.effectNote->setObjectName("static_effectNote");
    c.effectNote->setWordWrap(true);
    c.effectNote->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    c.effectNote->hide();

    // The groups no effect offers; they exist so their layout keys have a control to place.
    c.alwaysHidden = {Label(parent, c, 1157, "颜色"), Colour(parent, c, 1158),
                      Label(parent, c, 1182, "触发"), Label(parent, c, 1181, "单键触发", Style::kCaption),
                      Label(parent, c, 1184, "宫格触发", Style::kCaption), Picture(parent, c, 1183),
                      Picture(parent, c, 1180), Label(parent, c, 1186, "颜色"), Colour(parent, c, 1187),
                      Picture(parent, c, 1188), Label(parent, c, 1189, "七彩投石", Style::kCaption),
                      Label(parent, c, 1190, "颜色"), Colour(parent, c, 1191), Picture(parent, c, 1192),
                      Label(parent, c, 1193, "七彩彩带", Style::kCaption)};
    for (QWidget* w : c.alwaysHidden) w->hide();
    return c;
}

void StyleLightingControls(const LightingControls& controls, const std::filesystem::path& skinFolder) {
    const QString arrow = QString::fromStdString((skinFolder / "droparrow.png").generic_string());
    const QString style = QString::fromUtf8(kFieldStyle).arg(arrow);
    for (QWidget* w : {static_cast<QWidget*>(controls.effects), static_cast<QWidget*>(controls.userModes)}) {
        w->setStyleSheet(style);
    }
    for (QLineEdit* edit : controls.rgb) edit->setStyleSheet(style);
}

void PlaceLightingControls(const LightingControls& controls, const std::filesystem::path& mainSkin) {
    for (const Placed& p : kLayout) {
        if (QWidget* w = controls.Control(p.id)) LayoutControl(*w, mainSkin, kButtonSection, p.key);
    }
    // The note has no layout key of its own: it takes the band of the parameter groups, from
    // the brightness label to the R/G/B labels, which are all hidden while it shows.
    const ini::LayoutValue from = ReadLayoutEntry(mainSkin, kButtonSection, "CONTROL_LightStatic");
    const ini::LayoutValue to = ReadLayoutEntry(mainSkin, kButtonSection, "m_rgbr_static");
    const ini::LayoutValue slider = ReadLayoutEntry(mainSkin, kButtonSection, "CONTROL_LightSlider");
    const int width = std::max(120, to.x - from.x - 16);
    const int height = std::max(36, slider.y + slider.h - from.y);
    controls.effectNote->setGeometry(from.x, from.y, width, height);
}

void PlaceDirectionControls(const LightingControls& controls, const std::filesystem::path& mainSkin,
                            std::string_view labelKey, std::string_view firstKey, std::string_view secondKey) {
    PlaceControl(*controls.directionLabel, mainSkin, kButtonSection, labelKey);
    PlaceControl(*controls.directionFirst, mainSkin, kButtonSection, firstKey);
    PlaceControl(*controls.directionSecond, mainSkin, kButtonSection, secondKey);
}

void LightingPictures::Load(const std::filesystem::path& skinFolder, double ratio) {
    pictures_.clear();
    std::vector<std::string> names;
    for (bool on : {false, true}) {
        names.emplace_back(lighting::LightingViewPicture(on));
        names.emplace_back(lighting::ColourfulPicture(on));
    }
    for (int k = 0; k < 4; ++k) {
        for (int chosen = 0; chosen < 4; ++chosen) names.emplace_back(lighting::ColourChoicePicture(k, chosen));
    }
    for (int tool : {lighting::kEraseTool, lighting::kPaintTool}) {
        names.emplace_back(lighting::EraseToolPicture(tool));
        names.emplace_back(lighting::PaintToolPicture(tool));
    }
    for (int p = 0; p < 6; ++p) {
        names.push_back(lighting::BrightnessSliderPicture(p));
        names.push_back(lighting::SpeedSliderPicture(p));
    }
    for (int effect : {1, 12, 18}) {
        const lighting::DirectionLayout l = lighting::DirectionLayoutFor(effect);
        for (std::string_view n : {l.firstNormal, l.firstChosen, l.secondNormal, l.secondChosen}) names.emplace_back(n);
    }
    for (const std::string& n : names) {
        if (pictures_.count(n) == 0) pictures_[n] = QPixmap::fromImage(ReadSkinPicture(skinFolder / n, ratio));
    }
}

const QPixmap& LightingPictures::Get(std::string_view name) const {
    const auto it = pictures_.find(name);
    return it == pictures_.end() ? empty_ : it->second;
}

std::vector<QPixmap> LightingPictures::Sequence(const std::vector<std::string>& names) const {
    std::vector<QPixmap> out;
    for (const std::string& n : names) out.push_back(Get(n));
    return out;
}

}  // namespace qv::ui
