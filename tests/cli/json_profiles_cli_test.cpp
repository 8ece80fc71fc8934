// quorvanectl export --json / import on the simulated keyboard: the JSON form round-trips with the
// keyboard and the binary form, and bad JSON is refused with its path and nothing sent.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "cli_on_keyboard.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_json.h"
#include "platform/atomic_file.h"
#include "protocol/report_frame.h"

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
        {"pause out of range", [](auto& j) { j["macros"][1]["actions"][0]["delay"] = 50000; }, "macros[1].actions[0].delay: pauses go from 0 to 40950 ms in steps of 10 ms, not 50000"},
        {"pause between steps", [](auto& j) { j["macros"][1]["actions"][0]["delay"] = 15; }, "macros[1].actions[0].delay: pauses go from 0 to 40950 ms in steps of 10 ms: 15 ms would be kept as 10 ms"},
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

// What the keyboard and the working file hold that no named form says: a function beyond the
// table in a key matrix, G keys of types only a file gives them. Export writes them by their
// type number and import takes them back as they were.
TEST_F(JsonProfiles, EveryExportImportsAgainWithRecordsNoNameSays) {
    MakeSetup(*this, [this](std::vector<std::string> w) { return Words(std::move(w)); });
    KeyMatrix matrix{};
    ASSERT_EQ(kb.Commands().ReadKeyMatrix(matrix, 0), device::kSuccess);
    const KeyMatrix factory = DefaultKeyMatrix();
    for (std::size_t i = 0; i < kMatrixPositions; ++i) {
        if (DefaultEntryToKey(EntryAt(factory, i)) == 0x010) SetEntry(matrix, i, {5, 5, 200});  // Q
    }
    ASSERT_EQ(kb.Commands().BeginConfig(), device::kSuccess);
    ASSERT_EQ(kb.Commands().WriteKeyMatrix(matrix, 0), device::kSuccess);
    ASSERT_EQ(kb.Commands().EndConfig(), device::kSuccess);
    ProfileContent working = WorkingFile();
    working.Record(0, kGKeyRecordFirst + 1) = {13, GKeyId(1), 7, 0, 0};
    working.Record(2, kGKeyRecordFirst + 10) = {0xFFFF, 5, 0xFFFFFFFFu, 0, 0};
    ASSERT_TRUE(WriteFileAtomically(WorkingFilePath(), SerializeProfileFile(working)));

    const auto dir = documents.path();
    ASSERT_EQ(Words({"export", "--json", (dir / "one.json").string()}).code, 0);
    const std::string one = Slurp(dir / "one.json");
    EXPECT_THAT(one, HasSubstr(R"({"key": "Q", "type": "raw", "raw_type": 8, "value": 200})"));
    EXPECT_THAT(one, HasSubstr(R"({"key": "A-G2", "type": "raw", "raw_type": 13, "value": 7})"));
    EXPECT_THAT(one, HasSubstr(R"({"key": "B-G2", "type": "raw", "raw_type": 65535, "value": 4294967295, "aux": 5})"));

    // Start from a keyboard without any of it.
    ASSERT_EQ(Ctl("key Q --default").code, 0);
    ASSERT_EQ(Ctl("key G2 --default").code, 0);
    ASSERT_EQ(Ctl("key G2 --bank B --default --profile 3").code, 0);
    ASSERT_NE(Words({"export", "--json", "-"}).out, one);

    CliRun r = Words({"validate", (dir / "one.json").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    r = Words({"import", (dir / "one.json").string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Words({"export", "--json", "-"}).out, one);
    // Through the binary form as well.
    ASSERT_EQ(Words({"export", (dir / "one.qvn").string()}).code, 0);
    ASSERT_EQ(Words({"import", (dir / "one.qvn").string()}).code, 0);
    EXPECT_EQ(Words({"export", "--json", "-"}).out, one);
}

// A JSON profile with `count` macros of `actions` taps of A each, names of `nameLength` characters.
std::string MacrosJson(int count, int actions, std::size_t nameLength) {
    nlohmann::json j;
    j["profiles"] = nlohmann::json::array();
    for (int p = 1; p <= 3; ++p) j["profiles"].push_back(nlohmann::json{{"profile", p}});
    j["macros"] = nlohmann::json::array();
    for (int m = 0; m < count; ++m) {
        nlohmann::json macro = {{"id", m + 1}, {"name", std::to_string(m) + std::string(nameLength - std::to_string(m).size(), 'n')}};
        macro["actions"] = nlohmann::json::array();
        for (int a = 0; a < actions; ++a) macro["actions"].push_back({{"key", "A"}, {"press", a % 2 == 0}, {"delay", 0}});
        j["macros"].push_back(macro);
    }
    return j.dump();
}

TEST_F(JsonProfiles, ValidateRefusesWhatImportRefuses) {
    const auto dir = documents.path();
    TakeCommands();

    // 20 macros of 2000 actions need 160 KB; the keyboard has 32640 bytes.
    const std::string large = MacrosJson(20, 2000, 8);
    Spit(dir / "large.json", large);
    const auto parsed = ParseProfileJson(large);
    ASSERT_TRUE(parsed.content) << parsed.error;
    CliRun r = Words({"validate", (dir / "large.json").string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_THAT(r.err, HasSubstr("large.json: the macros take " +
                                 std::to_string(MacroImageSizes(parsed.content->macros).withoutNames) +
                                 " bytes of macro memory even without their names, more than the 32640 bytes the keyboard has"));
    EXPECT_EQ(Words({"import", (dir / "large.json").string()}).code, 1);
    EXPECT_FALSE(Writes(TakeCommands())) << "import refused it too, before sending";

    // 100 long names do not fit, the actions do: import sends them without names.
    Spit(dir / "names.json", MacrosJson(100, 2, 249));
    r = Words({"validate", (dir / "names.json").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("names.json: can be imported; its macros fit only without their names"));
    EXPECT_EQ(Words({"import", (dir / "names.json").string()}).code, 0);
    EXPECT_EQ(KeyboardContent().macros.size(), 100u);

    // A binary file whose macro claims 60000 actions is not read as 2000 of them.
    ProfileContent content = KeyboardContent();
    content.macros.resize(2);
    content.macros[1].actionCount = 60000;
    ASSERT_TRUE(WriteFileAtomically(dir / "count.qvn", SerializeProfileFile(content)));
    TakeCommands();
    for (const char* command : {"validate", "import", "show"}) {
        r = Words({command, (dir / "count.qvn").string()});
        EXPECT_EQ(r.code, 1) << command;
        EXPECT_THAT(r.err, HasSubstr("count.qvn: macro 2 ('Macro2') has 60000 actions, a macro at most 2000")) << command;
    }
    EXPECT_FALSE(Writes(TakeCommands()));

    ASSERT_EQ(Words({"export", (dir / "fits.qvn").string()}).code, 0);
    r = Words({"validate", (dir / "fits.qvn").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_THAT(r.out, HasSubstr("fits.qvn: can be imported; its macros take "));
    EXPECT_THAT(r.out, HasSubstr(" of the 32640 bytes the keyboard has\n"));
}

}  // namespace
}  // namespace qv::test
