#include "ui/skin/skin_layout.h"

#include "ui/skin/png_button.h"

namespace qv::ui {

ini::LayoutValue ReadLayoutEntry(const std::filesystem::path& file, std::string_view section,
                                 std::string_view key) {
    return ini::ParseLayout(ini::GetString(file, section, key, kDefaultEntry));
}

void LayoutImageButton(CPngButton& button, const std::filesystem::path& file, std::string_view section,
                       std::string_view key, const FaceSet& faces) {
    const ini::LayoutValue v = ReadLayoutEntry(file, section, key);
    button.setGeometry(v.x, v.y, v.w, v.h);
    button.SetFaces(v.x, v.y, faces, false);
    if (v.x == 1 && v.y == 1) button.setEnabled(false);
}

void LayoutControl(QWidget& control, const std::filesystem::path& file, std::string_view section,
                   std::string_view key) {
    const ini::LayoutValue v = ReadLayoutEntry(file, section, key);
    control.setGeometry(v.x, v.y, v.w, v.h);
}

void PlaceControl(QWidget& control, const std::filesystem::path& file, std::string_view section,
                  std::string_view key) {
    const ini::LayoutValue v = ReadLayoutEntry(file, section, key);
    control.move(v.x, v.y);
    control.update();
}

void LayoutArrow(CPngButton& button, const std::filesystem::path& file, std::string_view key,
                 std::string_view faceKey, const QPixmap* picture) {
    const ini::LayoutValue v = ReadLayoutEntry(file, kButtonSection, key);
    const ini::LayoutValue f = ReadLayoutEntry(file, kFaceSection, faceKey);
    button.setGeometry(v.x, v.y, v.w, v.h);
    button.SetFaces(f.x, f.y, FaceSet{picture, picture, picture, picture}, true);
}

}  // namespace qv::ui
