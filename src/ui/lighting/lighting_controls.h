#pragma once
// The lighting panel's controls as the dialog creates them: one widget per control id, placed
// once from the main skin, and the panel's pictures, loaded once from the skin folder.

#include <QPixmap>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QLineEdit;
class QWidget;

namespace qv::ui {

class CColourButton;
class CColourStatic;
class CImageSlider;
class CPictureButton;

struct LightingControls {
    CPictureButton* viewToggle = nullptr;          // 1167
    QComboBox* effects = nullptr;                  // 1146
    CImageSlider* brightness = nullptr;            // 1178
    CImageSlider* speed = nullptr;                 // 1179
    CColourStatic* directionLabel = nullptr;       // 1148
    CPictureButton* directionFirst = nullptr;      // 1149
    CPictureButton* directionSecond = nullptr;     // 1150
    CColourButton* firstColour = nullptr;          // 1152
    CPictureButton* firstColourful = nullptr;      // 1175
    CColourButton* secondColour = nullptr;         // 1155
    CPictureButton* secondColourful = nullptr;     // 1156
    std::array<CPictureButton*, 4> colourChoices{};  // 1194..1197
    CColourButton* eraseColour = nullptr;          // 1160
    CColourButton* baseColour = nullptr;           // 1162
    CPictureButton* eraseTool = nullptr;           // 1164
    CPictureButton* paintTool = nullptr;           // 1165
    QComboBox* userModes = nullptr;                // 1198
    std::array<QLineEdit*, 3> rgb{};               // 1207..1209
    CColourStatic* effectNote = nullptr;           // an effect without parameters here
    // The groups that exist with their layout keys and never show.
    std::vector<QWidget*> alwaysHidden;

    std::map<int, QWidget*> byId;
    QWidget* Control(int id) const;
};

// Creates every control of the panel on `parent`, with the texts of the dialog resource.
LightingControls CreateLightingControls(QWidget& parent);
// The drop-down lists and edits in the skin's colours, with the skin's arrow picture.
void StyleLightingControls(const LightingControls& controls, const std::filesystem::path& skinFolder);
// Places every control from its layout key (section "BUTTONINFO"), once.
void PlaceLightingControls(const LightingControls& controls, const std::filesystem::path& mainSkin);
// The position-only layout keys of the three direction controls, for every effect change.
void PlaceDirectionControls(const LightingControls& controls, const std::filesystem::path& mainSkin,
                            std::string_view labelKey, std::string_view firstKey, std::string_view secondKey);

// The panel's pictures by file name; a file that is missing gives an empty picture.
class LightingPictures {
public:
    // Every picture of the strip at a device pixel ratio, replacing what was loaded before; a
    // missing one is an empty picture.
    void Load(const std::filesystem::path& skinFolder, double ratio);
    const QPixmap& Get(std::string_view name) const;
    std::vector<QPixmap> Sequence(const std::vector<std::string>& names) const;

private:
    std::map<std::string, QPixmap, std::less<>> pictures_;
    QPixmap empty_;
};

}  // namespace qv::ui
