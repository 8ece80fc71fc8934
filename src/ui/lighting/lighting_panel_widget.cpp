#include "ui/lighting/lighting_panel_widget.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QWidget>

#include "core/app/user_prompt.h"
#include "core/lighting/effect_table.h"
#include "core/lighting/user_lighting_file.h"
#include "ui/controls/colour_button.h"
#include "ui/controls/colour_static.h"
#include "ui/controls/image_slider.h"
#include "ui/controls/picture_button.h"

namespace qv::ui {
namespace {

namespace pid = lighting::panel_id;
using lighting::ColourRef;

constexpr lighting::PanelGroup kGroups[] = {
    lighting::kGroupEffectSelector, lighting::kGroupBrightness,  lighting::kGroupSpeed,
    lighting::kGroupDirection,      lighting::kGroupColourChoice, lighting::kGroupFirstColour,
    lighting::kGroupSecondColour,   lighting::kGroupUserMode,
};

QColor ToQColor(ColourRef c) { return QColor(lighting::RedOf(c), lighting::GreenOf(c), lighting::BlueOf(c)); }

ColourRef ToColourRef(const QColor& c) {
    return lighting::MakeColour(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                static_cast<std::uint8_t>(c.blue()));
}

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

CLightingPanel::CLightingPanel(QWidget& dialog, device::CommandSet& commands, lighting::LightingPanelConfig config,
                               LightingPanelHost host)
    : dialog_(dialog),
      config_(std::move(config)),
      host_(std::move(host)),
      model_(commands, config_),
      controls_(CreateLightingControls(dialog)) {
    lights_ = std::make_unique<KeyButtonLights>(host_.keyButton, host_.colourCaps, host_.legends, host_.loadColourPictures);
    model_.SetKeySink(lights_.get());
    Connect();
}

CLightingPanel::~CLightingPanel() { model_.SetKeySink(nullptr); }

void CLightingPanel::Connect() {
    LightingControls& c = controls_;
    connect(c.viewToggle, &QAbstractButton::clicked, this, [this] { OnViewToggle(); });
    connect(c.effects, &QComboBox::currentIndexChanged, this, [this](int position) {
        model_.OnEffectSelected(position);
        ApplyView();
    });
    for (CImageSlider* slider : {c.brightness, c.speed}) {
        // The slider-moved notification: the control id and the new position.
        connect(slider, &CImageSlider::moved, this, [this](int id, int position) {
            model_.OnSliderMoved(id, position);
            ApplyView();
        });
    }
    for (CPictureButton* direction : {c.directionFirst, c.directionSecond}) {
        connect(direction, &QAbstractButton::clicked, this, [this, direction] {
            model_.OnDirectionClicked(direction->ControlId());
            ApplyView();
        });
    }
    for (CColourButton* button : {c.firstColour, c.secondColour, c.eraseColour, c.baseColour}) {
        connect(button, &CColourButton::colourPicked, this,
                [this](int id, const QColor& colour) { OnColourPicked(id, colour); });
    }
    for (CPictureButton* colourful : {c.firstColourful, c.secondColourful}) {
        connect(colourful, &QAbstractButton::clicked, this, [this] {
            model_.OnColourfulClicked();
            ApplyView();
        });
    }
    for (CPictureButton* choice : c.colourChoices) {
        connect(choice, &QAbstractButton::clicked, this, [this, choice] {
            model_.OnColourChoiceClicked(choice->ControlId());
            ApplyView();
        });
    }
    for (CPictureButton* tool : {c.eraseTool, c.paintTool}) {
        connect(tool, &QAbstractButton::clicked, this, [this, tool] {
            model_.OnToolClicked(tool->ControlId());
            ApplyView();
        });
    }
    // Only a choice from the list selects a mode; typing renames the current one. Choosing
    // also changes the edit text, which must not rename the mode being left.
    connect(c.userModes, &QComboBox::activated, this, [this](int mode) {
        model_.OnUserModeSelected(mode);
        ApplyView();
    });
    connect(c.userModes->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.OnUserModeRenamed(text.toStdString());
        ApplyView();
    });
    // A number is read when the user is done with it: an edit emptied on the way to a new
    // number is no mistake yet.
    for (QLineEdit* edit : c.rgb) connect(edit, &QLineEdit::editingFinished, this, [this] { OnRgbEntered(); });
}

void CLightingPanel::SetUp(const std::filesystem::path& skinFolder, double pictureRatio) {
    lighting::SeedUserLightingFiles(config_.userPaths);
    skinFolder_ = skinFolder;
    pictures_.Load(skinFolder, pictureRatio);
    StyleLightingControls(controls_, skinFolder);
    PlaceLightingControls(controls_, config_.mainSkin);
    const int language = lighting::ReadLanguageValue(config_.languageFile);
    for (const auto& [id, text] : lighting::ReadLabelTexts(config_.mainSkin, language)) {
        if (auto* label = qobject_cast<CColourStatic*>(Control(id))) label->setText(Q(text));
    }
    ShowSliderPictures();
    ApplyView();
}

void CLightingPanel::ReloadPictures(double pictureRatio) {
    pictures_.Load(skinFolder_, pictureRatio);
    lights_->RebuildLegendLayers();
    ShowSliderPictures();
    ApplyView();
}

void CLightingPanel::ShowSliderPictures() {
    std::vector<std::string> brightness, speed;
    for (int p = 0; p < controls_.brightness->Positions(); ++p) {
        brightness.push_back(lighting::BrightnessSliderPicture(p));
        speed.push_back(lighting::SpeedSliderPicture(p));
    }
    controls_.brightness->SetPictures(pictures_.Sequence(brightness));
    controls_.speed->SetPictures(pictures_.Sequence(speed));
}

bool CLightingPanel::ViewOn() const { return model_.LightingViewOn(); }

bool CLightingPanel::ColourPicturesLoaded() const { return lights_->PicturesLoaded(); }

void CLightingPanel::Load(lighting::LoadReason reason, int shownProfile) {
    model_.SetShownProfile(shownProfile);
    model_.Load(reason);
    Refresh();
    if (reason == lighting::LoadReason::ProfileButton && ViewOn()) TurnViewOff();
}

void CLightingPanel::KeyClicked(int buttonId) { model_.OnKeyClicked(buttonId); }

void CLightingPanel::PreviewTick() {
    lights_->ShowInOneRepaint([this] { model_.OnPreviewTick(); });
}

void CLightingPanel::RestoreDefaults() {
    model_.OnRestoreDefaults();
    ApplyView();
}

void CLightingPanel::Refresh() {
    ApplyView();
    if (host_.showReportRate) host_.showReportRate(model_.View().reportRate);
}

void CLightingPanel::OnViewToggle() {
    const bool wasOn = ViewOn();
    if (wasOn) {
        TurnViewOff();
        return;
    }
    model_.OnLightingViewClicked(host_.switchToActiveProfile);
    ApplyView();
}

void CLightingPanel::TurnViewOff() {
    model_.OnLightingViewClicked({});
    lights_->ShowAllPlain();
    if (host_.showKeyAssignments) host_.showKeyAssignments();
    ApplyView();
}

void CLightingPanel::OnColourPicked(int controlId, const QColor& colour) {
    model_.OnColourPicked(controlId, ToColourRef(colour));
    ApplyView();
}

void CLightingPanel::OnRgbEntered() {
    std::array<std::string, 3> texts;
    for (std::size_t i = 0; i < 3; ++i) texts[i] = controls_.rgb[i]->text().toStdString();
    const lighting::RgbEntry entry = model_.OnRgbEntered(texts);
    // The numbers go back before any prompt: the prompt takes the focus, and the edit must not
    // be read again with the text that was refused.
    ShowRgbNumbers(entry.numbers, true);
    ApplyView();
    if (entry.invalidText && host_.prompt != nullptr) host_.prompt->ShowWarning(kEnterIntegerPrompt);
}

void CLightingPanel::ShowRgbNumbers(const std::array<int, 3>& numbers, bool evenWhileTyping) {
    for (std::size_t i = 0; i < 3; ++i) {
        QLineEdit* edit = controls_.rgb[i];
        // Someone typing keeps the text until they leave the edit.
        if (!evenWhileTyping && edit->hasFocus() && edit->isModified()) continue;
        const QString number = QString::number(numbers[i]);
        if (edit->text() != number) edit->setText(number);
        edit->setModified(false);
    }
}

void CLightingPanel::ShowPicture(int id, std::string_view name) {
    if (auto* picture = qobject_cast<CPictureButton*>(Control(id))) picture->SetPicture(pictures_.Get(name), Q(name));
}

void CLightingPanel::ShowEffects(const lighting::PanelView& v) {
    QComboBox* box = controls_.effects;
    const QSignalBlocker quiet(box);
    bool same = box->count() == static_cast<int>(v.effectNames.size());
    for (int i = 0; same && i < box->count(); ++i) same = box->itemText(i) == Q(v.effectNames[static_cast<std::size_t>(i)]);
    if (!same) {
        box->clear();
        for (const std::string& name : v.effectNames) box->addItem(Q(name));
    }
    box->setCurrentIndex(v.selectedPosition);
}

void CLightingPanel::ShowUserModes(const lighting::PanelView& v) {
    QComboBox* box = controls_.userModes;
    const QSignalBlocker quiet(box);
    const QSignalBlocker quietEdit(box->lineEdit());
    while (box->count() < lighting::kUserModeCount) box->addItem(QString());
    for (int m = 0; m < lighting::kUserModeCount; ++m) {
        const QString name = Q(v.userModeNames[static_cast<std::size_t>(m)]);
        if (box->itemText(m) != name) box->setItemText(m, name);
    }
    if (box->currentIndex() != v.userMode) box->setCurrentIndex(v.userMode);
    // The edit keeps what the mode is stored as (a pasted line break became a blank).
    const QString current = box->itemText(v.userMode);
    if (box->lineEdit()->text() != current) box->lineEdit()->setText(current);
    controls_.baseColour->SetColour(ToQColor(v.baseColour));
    controls_.eraseColour->SetColour(ToQColor(v.eraseColour));
    ShowPicture(pid::kEraseToolPicture, v.eraseToolPicture);
    ShowPicture(pid::kPaintToolPicture, v.paintToolPicture);
}

void CLightingPanel::ApplyView() {
    const lighting::PanelView v = model_.View();
    ShowEffects(v);
    controls_.brightness->SetPosition(v.brightnessPosition);
    controls_.speed->SetPosition(v.speedPosition);
    controls_.firstColour->SetColour(ToQColor(v.effectColour));
    controls_.secondColour->SetColour(ToQColor(v.effectColour));
    ShowPicture(pid::kFirstColourfulToggle, v.colourfulPicture);
    ShowPicture(pid::kSecondColourfulToggle, v.colourfulPicture);
    ShowUserModes(v);
    for (int k = 0; k < 4; ++k) ShowPicture(pid::kColourChoiceFirst + k, v.colourChoicePictures[static_cast<std::size_t>(k)]);
    ShowPicture(pid::kDirectionFirst, v.directionPictures.first);
    ShowPicture(pid::kDirectionSecond, v.directionPictures.second);
    ShowPicture(pid::kLightingViewToggle, v.lightingViewPicture);
    ShowRgbNumbers(v.rgbNumbers, false);
    for (QLineEdit* edit : controls_.rgb) edit->setEnabled(v.rgbEditable);
    controls_.effectNote->setText(Q(v.effectNote));
    controls_.effectNote->setVisible(!v.effectNote.empty());
    ApplyVisibility(v.visibleGroups);
    PlaceDirectionControls(controls_, config_.mainSkin, v.directionLayout.labelKey, v.directionLayout.firstKey,
                           v.directionLayout.secondKey);
    if (host_.viewApplied) host_.viewApplied();
}

void CLightingPanel::ApplyVisibility(unsigned groups) {
    for (lighting::PanelGroup group : kGroups) {
        const bool shown = (groups & group) != 0;
        for (int id : lighting::GroupControls(group)) {
            if (QWidget* w = Control(id)) w->setVisible(shown);
        }
    }
}

}  // namespace qv::ui
