// The skin the generator wrote into the program folder agrees with the program: every control
// the windows place has an entry, every picture they load exists, and the keyboard's keys do not
// overlap.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <filesystem>
#include <string>
#include <vector>

#include "core/app/ini_file.h"
#include "core/keyboard/key_buttons.h"

namespace qv {
namespace {

const std::filesystem::path kSkins = std::filesystem::path(QV_BIN_DIR) / "Skins";

QRect Entry(const std::filesystem::path& file, std::string_view section, std::string_view key) {
    const auto v = ini::ParseLayout(ini::GetString(file, section, key, "1,1,1,1,x"));
    return QRect(v.x, v.y, v.w, v.h);
}

QImage Picture(const std::string& name) { return QImage(QString::fromStdString((kSkins / name).string())); }

TEST(SkinFiles, MainWindowPicturesExistAndCoverTheWindow) {
    const auto ini = kSkins / "Main.ini";
    const QImage background = Picture(ini::GetString(ini, "SCREEN", "Main", ""));
    const QImage mask = Picture(ini::GetString(ini, "SCREEN", "Mask", ""));
    ASSERT_FALSE(background.isNull());
    ASSERT_EQ(mask.size(), background.size());
    for (const char* face : {"main_normal.jpg", "main_over.jpg", "main_down.jpg", "main_disable.jpg",
                             "main_color0.jpg", "main_color1.jpg"}) {
        const QImage img = Picture(face);
        ASSERT_FALSE(img.isNull()) << face;
        EXPECT_GE(img.width(), background.width()) << face;
        EXPECT_GE(img.height(), background.height()) << face;
        EXPECT_LE(img.height(), background.height() + 100) << face << " fits the face surface";
    }
    EXPECT_FALSE(Picture("Arrow.jpg").isNull());
    for (int icon : {128, 141, 142}) EXPECT_FALSE(Picture("icon" + std::to_string(icon) + ".png").isNull());
    for (int i = 0; i <= 11; ++i) EXPECT_FALSE(Picture(std::to_string(i) + ".bmp").isNull()) << i;
    for (int i = 1; i <= 10; ++i) EXPECT_FALSE(Picture("jdt" + std::to_string(i) + ".bmp").isNull()) << i;
    for (const char* name : {"dengup", "dengdown", "sjsup", "sjsdown", "leftup", "leftdown", "rightup",
                             "rightdown", "upup", "updown", "downup", "downdown", "kuosan", "kuosandown",
                             "julong", "julongdown", "hong", "hongok", "huang", "huangok", "lv", "lvok", "lan",
                             "lanok", "user1up", "user1down", "user2up", "user2down"}) {
        EXPECT_FALSE(Picture(std::string(name) + ".bmp").isNull()) << name;
    }
}

TEST(SkinFiles, EveryMainWindowButtonHasAPlaceInsideTheWindow) {
    const auto ini = kSkins / "Main.ini";
    const QRect window(QPoint(0, 0), Picture(ini::GetString(ini, "SCREEN", "Main", "")).size());
    std::vector<std::string> keys = {
        "ZERVAL_LINK", "FUNC_PROFILES", "FUNC_MACRO", "CONTROL_OK", "CONTROL_CANCEL", "CONTROL_HELP",
        "CONTROL_CLOSE", "CONTROL_MINIMIZE", "CONTROL_MENU", "CONTROL2_APPLY", "LOCK_CAPS", "LOCK_NUM",
        "LOCK_SCROLL", "LOCK_AB", "FLIP_0", "FLIP_1", "FLIP_2", "ZERVAL_VER", "FUNC_PROFILE1", "FUNC_PROFILE2",
        "FUNC_PROFILE3", "FUNC_DEFAULT", "FUNC_REPORT1", "FUNC_REPORT2", "FUNC_REPORT3", "FUNC_REPORT4",
        "KEY_FN", "LEFT_ARROW", "RIGHT_ARROW", "CONTROL_JDTStatic", "CONTROL_UsbStatic"};
    for (const KeyButton& k : KeyButtonTable()) keys.push_back(SkinKeyName(k.code));
    for (int g = 0; g < 5; ++g) keys.push_back(SkinGKeyName(g));
    for (int d = 1; d <= 6; ++d) keys.push_back("FUNC_D" + std::to_string(d));
    for (const std::string& key : keys) {
        const QRect r = Entry(ini, "BUTTONINFO", key);
        EXPECT_FALSE(r.x() == 1 && r.y() == 1) << key << " is missing";
        EXPECT_TRUE(window.contains(r)) << key;
    }
}

TEST(SkinFiles, KeyButtonsDoNotOverlap) {
    const auto ini = kSkins / "Main.ini";
    std::vector<std::pair<std::string, QRect>> keys;
    for (const KeyButton& k : KeyButtonTable()) keys.emplace_back(SkinKeyName(k.code), Entry(ini, "BUTTONINFO", SkinKeyName(k.code)));
    for (int g = 0; g < 5; ++g) keys.emplace_back(SkinGKeyName(g), Entry(ini, "BUTTONINFO", SkinGKeyName(g)));
    keys.emplace_back("KEY_FN", Entry(ini, "BUTTONINFO", "KEY_FN"));
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            EXPECT_FALSE(keys[i].second.intersects(keys[j].second)) << keys[i].first << " / " << keys[j].first;
        }
    }
}

TEST(SkinFiles, FaceOriginsPointIntoTheirPictures) {
    const auto ini = kSkins / "Main.ini";
    const QRect arrows(QPoint(0, 0), Picture("Arrow.jpg").size());
    for (const char* side : {"LEFT", "RIGHT"}) {
        for (const char* dir : {"UP", "DOWN"}) {
            for (int state : {1, 2}) {
                const std::string key = std::string(dir) + "_ARROW_" + side + std::to_string(state);
                const QRect r = Entry(ini, "BUTTONINFO2", key);
                EXPECT_TRUE(arrows.contains(r.translated(-1, -1))) << key;
            }
        }
    }
    const QRect faces(QPoint(0, 0), Picture("main_normal.jpg").size());
    for (int d = 1; d <= 6; ++d) {
        const std::string key = "FUNC_D" + std::to_string(d);
        EXPECT_EQ(Entry(ini, "BUTTONINFO2", key).size(), Entry(ini, "BUTTONINFO", key).size()) << key;
        EXPECT_TRUE(faces.contains(Entry(ini, "BUTTONINFO2", key).translated(-1, -1))) << key;
    }
}

TEST(SkinFiles, EffectNamesAndLabelsInBothLanguages) {
    const auto ini = kSkins / "Main.ini";
    for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20}) {
        EXPECT_NE(ini::GetString(ini, "Mode", std::to_string(code), ""), "") << code;
        EXPECT_NE(ini::GetString(ini, "Mode1", std::to_string(code), ""), "") << code;
    }
    for (const char* key : {"Usb", "Deng", "Light", "FX", "Speed", "Color", "JColor", "DC", "Tool"}) {
        EXPECT_NE(ini::GetString(ini, "Control_Name", key, ""), "") << key;
        EXPECT_NE(ini::GetString(ini, "Control_Name1", key, ""), "") << key;
    }
}

TEST(SkinFiles, EditorDialogsHaveTheirKeysAndPictures) {
    struct DialogKeys {
        const char* ini;
        std::vector<const char*> keys;
        std::vector<const char*> pictures;
    };
    const DialogKeys dialogs[] = {
        {"Composite.ini",
         {"CONTROL_MASK", "CONTROL_TITLE", "CONTROL_OSK", "CONTROL_CLEAR", "CONTROL_MEDIA", "CONTROL_MACRO",
          "CONTROL_KEY", "CONTROL_FUNCTION", "CONTROL_OK", "CONTROL_CANCEL", "FUNC_MACRO_DELETE", "FUNC_MACRO_ADD",
          "FUNC_MACRO_UP_TOP", "FUNC_MACRO_UP", "FUNC_MACRO_DOWN", "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2",
          "FUNC_MACRO_CLEAR", "FUNC_MACRO_RECORD", "FUNC_MACRO_RECORD_DELAY", "FUNC_MACRO_LIST2",
          "FUNC_MACRO_CYCLES", "FUNC_MACRO_CYCLES_PROMPT", "TISHI_SINGLE_STATIC", "MARCO_NAME_SETTING",
          "KEY_SETTING", "MEDIA_SETTING_TISHI", "FUNCTION_KEY_SETTING_TISHI", "FUNC_MACRO_RECORD_DELAY2",
          "FUNC_KEY_INPUT", "FUNC_MEDIA_SELECT", "FUNC_MACRO_LIST", "FUNC_FUNCTION_SELECT", "CONTROL_APPLY"},
         {"key_normal.jpg", "key_over.jpg", "key_down.jpg", "macro_normal.jpg", "macro_over.jpg", "macro_down.jpg",
          "macro_disable.jpg", "macro2_normal.jpg", "macro2_over.jpg", "macro2_down.jpg", "macro2_disable.jpg",
          "media_normal.jpg", "media_over.jpg", "media_down.jpg", "function_normal.jpg", "function_over.jpg",
          "function_down.jpg", "combo_arrow.png"}},
        {"Profile.ini",
         {"CONTROL_OK", "CONTROL_CANCEL", "FUNC_ADD", "FUNC_LOAD", "FUNC_DELETE", "CONTROL2_APPLY", "PROGRAM_LIST"},
         {"Profile_normal.jpg", "Profile_over.jpg", "Profile_down.jpg"}},
        {"UpdateDlg.ini",
         {"CONTROL_UPStatic", "CONTROL_UPCombox", "CONTROL_CUPButton", "CONTROL_UPButton", "CONTROL_OPENButton",
          "CONTROL_BACKUPButton"},
         {"update_normal.jpg", "update_over.jpg"}},
    };
    for (const DialogKeys& d : dialogs) {
        const auto ini = kSkins / d.ini;
        const QImage background = Picture(ini::GetString(ini, "SCREEN", "Main", ""));
        ASSERT_FALSE(background.isNull()) << d.ini;
        EXPECT_FALSE(Picture(ini::GetString(ini, "SCREEN", "Mask", "")).isNull()) << d.ini;
        const QRect window(QPoint(0, 0), background.size());
        for (const char* key : d.keys) {
            const QRect r = Entry(ini, "BUTTONINFO", key);
            EXPECT_FALSE(r.x() == 1 && r.y() == 1) << d.ini << " " << key;
            EXPECT_TRUE(window.contains(r)) << d.ini << " " << key;
        }
        for (const char* picture : d.pictures) EXPECT_FALSE(Picture(picture).isNull()) << picture;
    }
}

}  // namespace
}  // namespace qv
