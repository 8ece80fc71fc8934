// The installed files that give the user the keyboard and start the tool.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// tests/data -> the source folder, taken apart by name (tests/data need not exist).
const std::filesystem::path kPackaging =
    std::filesystem::path(QV_TEST_DATA_DIR).parent_path().parent_path() / "packaging";

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST(Packaging, UdevRuleGrantsTheSeatUserThisKeyboardOnly) {
    const auto name = std::string("60-quorvane-keyboard.rules");
    EXPECT_LT(name, std::string("73-seat-late.rules")) << "uaccess is applied in 73-seat-late.rules";
    const std::string rule = Slurp(kPackaging / name);
    ASSERT_FALSE(rule.empty());
    EXPECT_NE(rule.find("SUBSYSTEM==\"hidraw\""), std::string::npos);
    EXPECT_NE(rule.find("ATTRS{idVendor}==\"0c45\""), std::string::npos);
    EXPECT_NE(rule.find("ATTRS{idProduct}==\"5304\""), std::string::npos);
    EXPECT_NE(rule.find("TAG+=\"uaccess\""), std::string::npos);
    EXPECT_EQ(rule.find("MODE"), std::string::npos) << "no world-writable nodes";
}

TEST(Packaging, AutostartStartsInTheTray) {
    const std::string autostart = Slurp(kPackaging / "quorvane-autostart.desktop");
    EXPECT_NE(autostart.find("Exec=quorvane /Start"), std::string::npos);
    const std::string menu = Slurp(kPackaging / "quorvane.desktop");
    EXPECT_NE(menu.find("Exec=quorvane\n"), std::string::npos);
    EXPECT_NE(menu.find("Type=Application"), std::string::npos);
}

}  // namespace
