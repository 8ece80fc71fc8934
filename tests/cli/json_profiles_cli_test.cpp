// quorvanectl export --json / import on the simulated keyboard: the JSON form round-trips with the
// keyboard and the binary form, and bad JSON is refused with its path and nothing sent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "cli_on_keyboard.h"
#include "core/app/atomic_file.h"
#include "core/device/report_frame.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"

namespace qv::test {
namespace {

using ::testing::HasSubstr;

using JsonProfiles = CliOnKeyboard;

std::string Slurp(const std::filesystem::path& p) {
    std::ifstream in(p);
    return {std::istreambuf_iterator<char>(in), {}};
}

void Spit(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p) << text;
}

// A setup with every kind of assignment, made from the command line.
void MakeSetup(JsonProfiles& t, const std::function<CliRun(std::vector<std::string>)>& run) {
    ASSERT_EQ(run({"macro", "add", "hello", "--type", "Hello, world", "--repeat", "2"}).code, 0);
    ASSERT_EQ(run({"macro", "add", "copy", "--steps", "+Ctrl c -Ctrl"}).code, 0);
    ASSERT_EQ(run({"key", "A", "B", "--to", "B", "A"}).code, 0);
    ASSERT_EQ(run({"key", "Caps Lock", "--disable", "--profile", "2"}).code, 0);
    ASSERT_EQ(run({"key", "F1", "F2", "--media", "mute", "calculator", "--profile", "3"}).code, 0);
    ASSERT_EQ(run({"key", "F3", "--function", "paste", "--profile", "3"}).code, 0);
    ASSERT_EQ(run({"key", "F4", "--stop-macro"}).code, 0);
    ASSERT_EQ(run({"key", "G9", "--bank", "B", "--macro", "copy"}).code, 0);
    ASSERT_EQ(run({"key", "Right Ctrl", "--macro", "hello", "--profile", "2"}).code, 0);
    (void)t;
}

TEST_F(JsonProfiles, ExportImportExportIsIdentical) {
    MakeSetup(*this, [this](std::vector<std::string> w) { return Words(std::move(w)); });
    const auto dir = documents.path();
    ASSERT_EQ(Words({"export", "--json", (dir / "one.json").string()}).code, 0);
    const std::string one = Slurp(dir / "one.json");
    EXPECT_THAT(one, HasSubstr("{\"key\": \"B-G9\", \"type\": \"macro\", \"target\": \"copy\", \"repeat\": 1}"));
    EXPECT_THAT(one, HasSubstr("{\"key\": \"Right Ctrl\", \"type\": \"macro\", \"target\": \"hello\", \"repeat\": 2}"));

    // Start over on a keyboard (and working file) without any of it, then import.
    ASSERT_EQ(Ctl("macro remove hello --force").code, 0);
    ASSERT_EQ(Ctl("macro remove copy --force").code, 0);
    ASSERT_EQ(Ctl("key A B --default").code, 0);
    ASSERT_NE(Words({"export", "--json", "-"}).out, one);
    TakeCommands();
    CliRun r = Words({"import", (dir / "one.json").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    const auto commands = TakeCommands();
    EXPECT_EQ(Count(commands, device::frame::kWriteKeyMatrix), 21) << "an import sends all three profiles";
    EXPECT_EQ(notices, 13);
    EXPECT_EQ(Words({"export", "--json", "-"}).out, one);

    // The binary form holds the same.
    ASSERT_EQ(Words({"export", (dir / "one.qvn").string()}).code, 0);
    ASSERT_EQ(Words({"show", "--json", (dir / "one.qvn").string()}).out, one);
    ASSERT_EQ(Words({"import", (dir / "one.qvn").string()}).code, 0);
    EXPECT_EQ(Words({"export", "--json", "-"}).out, one);
}

TEST_F(JsonProfiles, BadJsonIsRefusedWithItsPathAndNothingSent) {
    MakeSetup(*this, [this](std::vector<std::string> w) { return Words(std::move(w)); });
    const auto dir = documents.path();
    const std::string good = Words({"export", "--json", "-"}).out;
    const auto before = ReadWholeFile(WorkingFilePath());
    const struct {
        const char* what;
        std::function<void(nlohmann::json&)> spoil;
        const char* error;
    } cases[] = {
        {"unknown field", [](auto& j) { j["profiles"][1]["keys"][0]["colour"] = "red"; }, "profiles[1].keys[0].colour: unknown field"},
        {"wrong type", [](auto& j) { j["macros"][0]["repeat"] = "2"; }, "macros[0].repeat: expected a whole number"},
        {"out of range", [](auto& j) { j["macros"][1]["actions"][0]["delay"] = 50000; }, "macros[1].actions[0].delay: 50000 is out of range"},
        {"unknown key name", [](auto& j) { j["profiles"][0]["keys"][1]["target"] = "Caps Lok"; }, "profiles[0].keys[1].target: unknown key 'Caps Lok'"},
        {"duplicate macro id", [](auto& j) { j["macros"][1]["id"] = 1; }, "macros[1].id: id 1 is used twice"},
        {"duplicate macro name", [](auto& j) { j["macros"][1]["name"] = "hello"; }, "macros[1].name: the name 'hello' is used twice"},
        {"profile 0", [](auto& j) { j["profiles"][2]["profile"] = 0; }, "profiles[2].profile: 0 is out of range 1 to 3"},
    };
    for (const auto& c : cases) {
        auto j = nlohmann::json::parse(good);
        c.spoil(j);
        Spit(dir / "bad.json", j.dump(2));
        TakeCommands();
        const CliRun r = Words({"import", (dir / "bad.json").string()});
        EXPECT_EQ(r.code, 1) << c.what;
        EXPECT_THAT(r.err, HasSubstr("bad.json: " + std::string(c.error))) << c.what;
        EXPECT_TRUE(TakeCommands().empty()) << c.what << ": the keyboard is not even opened";
        EXPECT_EQ(Words({"validate", (dir / "bad.json").string()}).code, 1) << c.what;
    }
    Spit(dir / "broken.json", good.substr(0, good.size() / 2));
    EXPECT_THAT(Words({"import", (dir / "broken.json").string()}).err, HasSubstr("not valid JSON"));
    EXPECT_EQ(ReadWholeFile(WorkingFilePath()), before);
    EXPECT_EQ(Words({"export", "--json", "-"}).out, good);
}

}  // namespace
}  // namespace qv::test
