// quorvanectl export / validate / import / show against the simulated keyboard, as a user runs them.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "core/app/text_table.h"
#include "core/app/user_prompt.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"
#include "platform/atomic_file.h"
#include "support/sample_profile_content.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

class ProfileFilesCli : public ::testing::Test {
protected:
    // Runs quorvanectl on the simulated keyboard of this test's state file.
    int Run(const std::string& args, const char* simulate = "1") {
        const std::string command = "cd '" + dir.path().string() +
                                    "' && HOME=. XDG_CONFIG_HOME=./.config QUORVANE_SIMULATE=" + simulate +
                                    " QUORVANE_SIM_STATE='" +
                                    (dir.path() / "kb.state").string() + "' '" QV_BIN_DIR "/quorvanectl' " +
                                    args + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Slurp(const char* name) const {
        std::ifstream in(dir.path() / name);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::optional<ProfileContent> Load(const char* name) {
        ProfileStore store;
        if (!ReadFileIntoStore(dir.path() / name, store)) return std::nullopt;
        auto lock = store.Lock();
        return store.Content();
    }

    test::TempDir dir;
};

TEST_F(ProfileFilesCli, ExportValidateImport) {
    EXPECT_EQ(Run("export a.qvn"), 0) << Slurp("err.txt");
    EXPECT_EQ(Run("validate a.qvn"), 0) << Slurp("err.txt");
    EXPECT_EQ(Run("import a.qvn"), 0) << Slurp("err.txt");
}

TEST_F(ProfileFilesCli, ImportedProfilesComeBackFromExport) {
    ProfileContent content = test::KeyboardHeldContent();
    // What the keyboard cannot hold: a program text and a G-key macro.
    content.Record(1, 0x30) = {AssignLaunchProgram, 0, 0, 0, 0};
    content.texts.Set(TextSlotOf(1, 0x30), u"/usr/bin/xterm");
    content.Record(0, 256 + 2) = {AssignMacro, 0x0303, 1, 0, 0};
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "mine.qvn", SerializeProfileFile(content)));

    ASSERT_EQ(Run("import mine.qvn"), 0) << Slurp("err.txt");
    ASSERT_EQ(Run("export back.qvn"), 0) << Slurp("err.txt");
    const auto back = Load("back.qvn");
    ASSERT_TRUE(back);
    // The keyboard holds all but the program text and the G key; the working file keeps those.
    ProfileContent expected = test::KeyboardHeldContentAsReadBack();
    expected.Record(1, 0x30) = content.Record(1, 0x30);
    expected.Record(0, 256 + 2) = content.Record(0, 256 + 2);
    for (std::size_t t = 0; t < 3; ++t) EXPECT_EQ(test::TableDifferences(back->block.tables[t], expected.block.tables[t]), "") << t;
    EXPECT_EQ(back->macros, expected.macros);
    EXPECT_EQ(back->texts.At(TextSlotOf(1, 0x30)), u"/usr/bin/xterm");

    ASSERT_EQ(Run("show back.qvn"), 0);
    const std::string shown = Slurp("out.txt");
    EXPECT_NE(shown.find("profile 1:\n  Ctrl: key(Right Win)\n  A: key(B)\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("\"macro \u00e9c\" repeat 4, 4 actions"), std::string::npos) << shown;
    ASSERT_EQ(Run("show back.qvn --json"), 0);
    EXPECT_NE(Slurp("out.txt").find("\"type\": \"function\""), std::string::npos);
}

TEST_F(ProfileFilesCli, InvalidFileIsRefusedAndChangesNothing) {
    ASSERT_EQ(Run("export before.qvn"), 0) << Slurp("err.txt");
    auto bytes = ReadWholeFile(dir.path() / "before.qvn");
    ASSERT_TRUE(bytes);
    (*bytes)[KeyRecord::kSize * 0x3B + 64] = AssignDisabled;  // an assignment, then a broken header
    (*bytes)[31] ^= 1;
    ASSERT_TRUE(WriteFileAtomically(dir.path() / "bad.qvn", *bytes));

    // The messages are the shipped text table's, whatever its wording.
    const auto languageFile = std::filesystem::path(QV_BIN_DIR) / "Skins" / "language.ini";
    EXPECT_EQ(Run("validate bad.qvn"), 1);
    EXPECT_NE(Slurp("err.txt").find(
                  FormatText(ReadLanguageText(languageFile, "PROFILE_FORMAT_ERROR"), "bad.qvn")),
              std::string::npos) << Slurp("err.txt");
    EXPECT_EQ(Run("import bad.qvn"), 1);
    EXPECT_NE(Slurp("err.txt").find(ReadLanguageText(languageFile, "MAIN_PROMPT_INPORT")),
              std::string::npos) << Slurp("err.txt");
    // The file's name stands apart from the message, and a missing file is called missing.
    EXPECT_NE(Slurp("err.txt").find("quorvanectl: bad.qvn: "), std::string::npos) << Slurp("err.txt");
    ASSERT_EQ(Run("export after.qvn"), 0);
    EXPECT_EQ(ReadWholeFile(dir.path() / "after.qvn"), ReadWholeFile(dir.path() / "before.qvn"));

    EXPECT_EQ(Run("import missing.qvn"), 1);
    EXPECT_EQ(Slurp("err.txt"), "quorvanectl: missing.qvn: no such file\n");
    EXPECT_EQ(Run("validate missing.qvn"), 1);
    EXPECT_EQ(Run("show missing.qvn"), 1);
    EXPECT_EQ(Run("validate"), 2);
}

TEST_F(ProfileFilesCli, ValidateWithoutAKeyboardSaysWhatItCheckedAgainst) {
    ASSERT_EQ(Run("export a.qvn"), 0) << Slurp("err.txt");
    EXPECT_EQ(Run("validate a.qvn", "detached"), 0) << Slurp("err.txt");
    EXPECT_EQ(Slurp("err.txt"), "quorvanectl: no keyboard to check the macros against (no keyboard is present): "
                                "checked against the most macro memory a keyboard has\n");
    EXPECT_EQ(Slurp("out.txt"), "a.qvn: can be imported; its macros take 16 of the 32640 bytes\n");

    EXPECT_EQ(Run("-q validate a.qvn --json", "detached"), 0) << Slurp("err.txt");
    EXPECT_EQ(Slurp("err.txt"), "") << "-q leaves out the note";
    const auto j = nlohmann::json::parse(Slurp("out.txt"));
    EXPECT_EQ(j["importable"], true);
    EXPECT_EQ(j["macro_names_kept"], true);
    EXPECT_EQ(j["macro_bytes"], 16);
    EXPECT_EQ(j["capacity_bytes"], 32640);
    EXPECT_EQ(j["capacity_of_keyboard"], false);
}

}  // namespace
}  // namespace qv
