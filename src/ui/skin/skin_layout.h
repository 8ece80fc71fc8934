#pragma once
// Placing controls from a skin layout file: "x,y,w,h" entries with the default "1,1,1,1,x".

#include <QWidget>

#include <filesystem>
#include <string_view>

#include "core/app/ini_file.h"
#include "ui/skin/skin_pictures.h"

namespace qv::ui {

class CPngButton;

inline constexpr std::string_view kButtonSection = "BUTTONINFO";
inline constexpr std::string_view kFaceSection = "BUTTONINFO2";
inline constexpr std::string_view kDefaultEntry = "1,1,1,1,x";

ini::LayoutValue ReadLayoutEntry(const std::filesystem::path& file, std::string_view section,
                                 std::string_view key);

// Image button: moved to (x, y) with size w x h; faces cut at (x - 1, y - 1); disabled when x and
// y are both 1 (a missing entry gives exactly that).
void LayoutImageButton(CPngButton& button, const std::filesystem::path& file, std::string_view section,
                       std::string_view key, const FaceSet& faces);
// Plain control: moved and sized, never disabled.
void LayoutControl(QWidget& control, const std::filesystem::path& file, std::string_view section,
                   std::string_view key);
// Position-only control: moved, keeps its size, repainted.
void PlaceControl(QWidget& control, const std::filesystem::path& file, std::string_view section,
                  std::string_view key);
// A button placed by its BUTTONINFO entry whose faces (all four states) are cut from `picture`
// at the (x, y) of its BUTTONINFO2 entry.
void LayoutArrow(CPngButton& button, const std::filesystem::path& file, std::string_view key,
                 std::string_view faceKey, const QPixmap* picture);

}  // namespace qv::ui
