#include "core/profile/profile_json.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "core/app/text_table.h"
#include "support/sample_profile_content.h"

namespace qv {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Everything the binary form carries for profiles 1..3: all assignment types, G keys of both
// banks, texts, macro keys' repeat counts, a macro without a name and a key whose macro is gone.
ProfileContent Everything() {
    ProfileContent c = test::KeyboardHeldContent();
    c.Record(0, 0x30) = {AssignLaunchProgram, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(0, 0x30), u"/usr/bin/xterm \"-e\"");
    c.Record(2, 0x31) = {AssignTextBlock, 0, 0, 0, 0};
    c.texts.Set(TextSlotOf(2, 0x31), u"line one\nline two \u00e9");
    c.Record(1, kGKeyRecordFirst + 2) = {AssignMacro, 7, 3, 0, 0};
    c.Record(1, kGKeyRecordFirst + 12) = {AssignMedia, GKeyId(12), 17, 0, 0};
    c.Record(2, 0x32) = {AssignMacro, 0, 9, 0, 0};  // no macro has id 9
    c.Record(0, 0x3E).aux = 5;
    return c;
}

ProfileContent ParsedOrFail(const std::string& text) {
    const ProfileJsonResult r = ParseProfileJson(text);
    EXPECT_TRUE(r.content) << r.error;
    return r.content ? *r.content : ProfileContent{};
}

TEST(ProfileJson, RoundTripsEverythingTheBinaryFormHolds) {
    ResetTextTable();
    const ProfileContent original = Everything();
    const std::string json = ProfileToJson(original);
    const ProfileContent back = ParsedOrFail(json);
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(test::TableDifferences(back.block.tables[static_cast<std::size_t>(t)],
                                         original.block.tables[static_cast<std::size_t>(t)]), "") << t;
    }
    EXPECT_EQ(back.macros, original.macros);
    EXPECT_EQ(back.texts, original.texts);
    EXPECT_EQ(ProfileToJson(back), json);
    EXPECT_NE(json.find(R"({"key": "B", "type": "program", "target": "/usr/bin/xterm \"-e\""})"), std::string::npos) << json;
    EXPECT_NE(json.find("{\"key\": \"A-G3\", \"type\": \"macro\", \"target\": \"macro \u00e9c\", \"repeat\": 7}"),
              std::string::npos) << json;
    EXPECT_NE(json.find("{\"key\": \"F4\", \"type\": \"macro\", \"target\": \"macro \u00e9a\", \"repeat\": 5}"),
              std::string::npos) << json;
    EXPECT_NE(json.find(R"({"key": "M", "type": "macro", "target": 9})"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"key": "0x110", "type": "key", "target": "Space"})"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"code": 351, "press": false, "delay": 40000})"), std::string::npos) << json;
    EXPECT_NE(json.find(R"({"key": "Shift", "press": true, "delay": 100})"), std::string::npos) << json;
    EXPECT_TRUE(LooksLikeJson(" \n" + json));
    EXPECT_FALSE(LooksLikeJson("FD\x20"));
}

// Each class of bad input is refused with the path of the bad value.
TEST(ProfileJson, BadInputIsRefusedWithItsPath) {
    ResetTextTable();
    const std::string good = ProfileToJson(Everything());
    struct Case {
        const char* what;
        std::function<void(nlohmann::json&)> spoil;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"unknown field", [](auto& j) { j["profiles"][0]["keys"][1]["colour"] = 1; }, "profiles[0].keys[1].colour: unknown field"},
        {"unknown top field", [](auto& j) { j["extra"] = true; }, "extra: unknown field"},
        {"wrong type", [](auto& j) { j["profiles"][1]["keys"][0]["target"] = 5; }, "profiles[1].keys[0].target: expected a string"},
        {"wrong list", [](auto& j) { j["macros"] = "none"; }, "macros: expected a list"},
        {"out of range", [](auto& j) { j["macros"][0]["repeat"] = 256; }, "macros[0].repeat: 256 is out of range 1 to 255"},
        {"negative", [](auto& j) { j["macros"][1]["actions"][0]["delay"] = -10; }, "macros[1].actions[0].delay: -10 is out of range"},
        {"huge", [](auto& j) { j["macros"][1]["id"] = 18446744073709551615ull; }, "macros[1].id: 18446744073709551615 is out of range"},
        {"fraction", [](auto& j) { j["profiles"][2]["profile"] = 2.5; }, "profiles[2].profile: expected a whole number"},
        {"profile 0", [](auto& j) { j["profiles"][0]["profile"] = 0; }, "profiles[0].profile: 0 is out of range 1 to 3"},
        {"unknown key", [](auto& j) { j["profiles"][1]["keys"][0]["key"] = "Caps Lok"; }, "profiles[1].keys[0].key: unknown key 'Caps Lok' (did you mean Caps Lock?)"},
        {"unknown target", [](auto& j) { j["profiles"][1]["keys"][0]["target"] = "Bee"; }, "profiles[1].keys[0].target: unknown key 'Bee'"},
        {"unknown action key", [](auto& j) { j["macros"][2]["actions"][1]["key"] = "Q Q"; }, "macros[2].actions[1].key: unknown key"},
        {"unknown macro", [](auto& j) { j["profiles"][0]["keys"][7]["target"] = "nope"; }, "profiles[0].keys[7].target: unknown macro 'nope'"},
        {"unknown type", [](auto& j) { j["profiles"][0]["keys"][0]["type"] = "keys"; }, "profiles[0].keys[0].type: unknown type 'keys'"},
        {"duplicate macro id", [](auto& j) { j["macros"][2]["id"] = 1; }, "macros[2].id: id 1 is used twice"},
        {"duplicate macro name", [](auto& j) { j["macros"][2]["name"] = "macro \u00e9a"; }, "macros[2].name: the name 'macro \u00e9a' is used twice"},
        {"duplicate key", [](auto& j) { j["profiles"][0]["keys"][2]["key"] = "A"; }, "profiles[0].keys[2].key: 'A' is assigned twice"},
        {"duplicate profile", [](auto& j) { j["profiles"][2]["profile"] = 1; }, "profiles[2].profile: profile 1 appears twice"},
        {"missing profile", [](auto& j) { j["profiles"].erase(1); }, "profiles: expected 3 entries"},
        {"target on disabled", [](auto& j) { j["profiles"][0]["keys"][4]["target"] = "x"; }, "profiles[0].keys[4].target: a disabled key takes no target"},
        {"missing target", [](auto& j) { j["profiles"][0]["keys"][0].erase("target"); }, "profiles[0].keys[0].target: missing"},
        {"long name", [](auto& j) { j["macros"][0]["name"] = std::string(250, 'x'); }, "macros[0].name: longer than 249"},
        {"101 macros", [](auto& j) { for (int i = 0; i < 98; ++i) j["macros"].push_back(j["macros"][0]); }, "macros: holds 101 entries"},
        {"key and code", [](auto& j) { j["macros"][0]["actions"][0]["code"] = 30; }, "macros[0].actions[0]: needs either"},
        {"version", [](auto& j) { j["version"] = 2; }, "version: 2 is out of range 1 to 1"},
    };
    for (const Case& c : cases) {
        auto j = nlohmann::json::parse(good);
        c.spoil(j);
        const ProfileJsonResult r = ParseProfileJson(j.dump());
        EXPECT_FALSE(r.content) << c.what;
        EXPECT_THAT(r.error, StartsWith(c.error)) << c.what;
    }
}

TEST(ProfileJson, MalformedTextIsRefused) {
    EXPECT_THAT(ParseProfileJson("{\"profiles\": [").error, HasSubstr("not valid JSON"));
    EXPECT_THAT(ParseProfileJson(R"({"macros": [], "macros": []})").error, HasSubstr("\"macros\" appears twice"));
    EXPECT_THAT(ParseProfileJson(std::string(100, '[') + std::string(100, ']')).error, HasSubstr("nested deeper"));
    EXPECT_THAT(ParseProfileJson("[]").error, HasSubstr("expected an object"));
    EXPECT_THAT(ParseProfileJson(R"({"macros": []})").error, HasSubstr("profiles: missing"));
    EXPECT_THAT(ParseProfileJson("{\"format\": \"x\xff\"}").error, HasSubstr("not valid JSON"));
}

}  // namespace
}  // namespace qv
