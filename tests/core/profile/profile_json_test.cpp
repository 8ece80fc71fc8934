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
        {"negative", [](auto& j) { j["macros"][1]["actions"][0]["delay"] = -10; }, "macros[1].actions[0].delay: pauses go from 0 to 40950 ms in steps of 10 ms, not -10"},
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

// The reader takes a pause as the command line does: exactly, or not at all.
TEST(ProfileJson, PausesAreNeitherRoundedNorCapped) {
    ResetTextTable();
    const std::string good = ProfileToJson(Everything());
    const auto withDelay = [&good](const nlohmann::json& delay) {
        auto j = nlohmann::json::parse(good);
        j["macros"][0]["actions"][1]["delay"] = delay;
        return ParseProfileJson(j.dump());
    };
    const std::string path = "macros[0].actions[1].delay: ";
    EXPECT_EQ(withDelay(15).error, path + "pauses go from 0 to 40950 ms in steps of 10 ms: 15 ms would be kept as 10 ms");
    EXPECT_EQ(withDelay(40001).error, path + "pauses go from 0 to 40950 ms in steps of 10 ms: 40001 ms would be kept as 40000 ms");
    EXPECT_EQ(withDelay(40960).error, path + "pauses go from 0 to 40950 ms in steps of 10 ms, not 40960");
    EXPECT_EQ(withDelay(18446744073709551615ull).error,
              path + "pauses go from 0 to 40950 ms in steps of 10 ms, not 18446744073709551615");
    EXPECT_THAT(withDelay(2.5).error, StartsWith(path + "expected a whole number of milliseconds"));
    const ProfileJsonResult longest = withDelay(40950);
    ASSERT_TRUE(longest.content) << longest.error;
    EXPECT_EQ(longest.content->macros[0].actions[1].delay, 40950);
}

// Every record a key table can hold, also those no named form says: the types the tool knows
// with values outside its tables, types it does not know, G-key ids where a repeat count belongs.
ProfileContent OddRecords() {
    ProfileContent c = Everything();
    c.Record(0, 0x10) = {13, 0, 0, 0, 0};                                // Q: an unknown type
    c.Record(0, 0x11) = {0xFFFF, 0x1234, 0xFFFFFFFFu, 0, 0};             // W: the largest of all
    c.Record(1, 0x12) = {AssignFunctionKey, 0, 200, 0, 0};               // E: no such function
    c.Record(1, 0x13) = {AssignMedia, 0, 99, 0, 0};                      // R: no such media key
    c.Record(1, 0x14) = {AssignMacro, 0, 151, 0, 0};                     // T: beyond 100 macros
    c.Record(2, 0x15) = {AssignSingleKey, 0, 0x000, 0, 0};               // Y: sends no key
    c.Record(2, 0x16) = {AssignSingleKey, 0, 0x12345, 0, 0};             // U: beyond every code
    c.Record(2, 0x17) = {AssignDisabled, 7, 0, 0, 0};                    // I: an aux of its own
    c.Record(0, kGKeyRecordFirst + 4) = {9, GKeyId(4), 5, 0, 0};         // A-G5
    c.Record(0, kGKeyRecordFirst + 5) = {AssignMacro, 0, 1, 0, 0};       // A-G6: repeat 0
    c.Record(2, kGKeyRecordFirst + 17) = {AssignStopMacro, GKeyId(17), 0, 0, 0};
    return c;
}

TEST(ProfileJson, EveryRecordTheKeyTablesHoldComesBackAsItWas) {
    ResetTextTable();
    const ProfileContent original = OddRecords();
    const std::string json = ProfileToJson(original);
    const ProfileContent back = ParsedOrFail(json);
    for (int t = 0; t < 3; ++t) {
        EXPECT_EQ(test::TableDifferences(back.block.tables[static_cast<std::size_t>(t)],
                                         original.block.tables[static_cast<std::size_t>(t)]), "") << t;
    }
    EXPECT_EQ(back.texts, original.texts);
    EXPECT_EQ(ProfileToJson(back), json);
    // Records the named form says stay named; the others go by their type number, "type" staying a string.
    EXPECT_THAT(json, HasSubstr(R"({"key": "Q", "type": "raw", "raw_type": 13, "value": 0})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "W", "type": "raw", "raw_type": 65535, "value": 4294967295, "aux": 4660})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "E", "type": "raw", "raw_type": 8, "value": 200})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "T", "type": "raw", "raw_type": 4, "value": 151})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "Y", "type": "key", "target": "0x000"})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "U", "type": "raw", "raw_type": 2, "value": 74565})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "A-G6", "type": "raw", "raw_type": 4, "value": 1, "aux": 0})"));
    EXPECT_THAT(json, HasSubstr(R"({"key": "B-G9", "type": "stop-macro"})"));
}

TEST(ProfileJson, RecordsByTypeNumberAreCheckedToo) {
    ResetTextTable();
    const std::string good = ProfileToJson(OddRecords());
    const auto withKey = [&good](const nlohmann::json& entry) {
        auto j = nlohmann::json::parse(good);
        j["profiles"][0]["keys"][0] = entry;
        return ParseProfileJson(j.dump());
    };
    const auto raw = [](int type) { return nlohmann::json{{"key", "Z"}, {"type", "raw"}, {"raw_type", type}}; };
    auto entry = raw(3);
    entry["value"] = 0;
    EXPECT_THAT(withKey(entry).error, StartsWith("profiles[0].keys[0].raw_type: program and text keys are written as"));
    EXPECT_THAT(withKey(raw(13)).error, StartsWith("profiles[0].keys[0].value: missing"));
    EXPECT_THAT(withKey({{"key", "Z"}, {"type", "raw"}, {"value", 0}}).error, StartsWith("profiles[0].keys[0].raw_type: missing"));
    entry = raw(13);
    entry["value"] = 0;
    entry["target"] = "B";
    EXPECT_THAT(withKey(entry).error,
                StartsWith("profiles[0].keys[0].target: a key written by its type number takes a \"value\""));
    entry = raw(65536);
    entry["value"] = 0;
    EXPECT_THAT(withKey(entry).error, StartsWith("profiles[0].keys[0].raw_type: 65536 is out of range 0 to 65535"));
    entry = raw(13);
    entry["value"] = 4294967296ull;
    EXPECT_THAT(withKey(entry).error, StartsWith("profiles[0].keys[0].value: 4294967296 is out of range"));
    EXPECT_THAT(withKey({{"key", "Z"}, {"type", "key"}, {"target", "B"}, {"value", 3}}).error,
                StartsWith("profiles[0].keys[0].value: only a \"raw\" key takes a value"));
    EXPECT_THAT(withKey({{"key", "Z"}, {"type", "key"}, {"target", "B"}, {"raw_type", 3}}).error,
                StartsWith("profiles[0].keys[0].raw_type: only a \"raw\" key takes a raw_type"));
    EXPECT_THAT(withKey({{"key", "Z"}, {"type", 2}, {"raw_type", 2}, {"value", 0}}).error,
                StartsWith("profiles[0].keys[0].raw_type: only a \"raw\" key"));
    entry = raw(2);
    entry["value"] = 0x30;
    ProfileJsonResult parsed = withKey(entry);
    ASSERT_TRUE(parsed.content) << parsed.error;
    EXPECT_EQ(parsed.content->Record(0, 0x2C), (KeyRecord{AssignSingleKey, 0, 0x30, 0, 0}));
    // Files of earlier versions wrote the number in "type"; they still import.
    parsed = withKey({{"key", "Z"}, {"type", 2}, {"value", 0x30}});
    ASSERT_TRUE(parsed.content) << parsed.error;
    EXPECT_EQ(parsed.content->Record(0, 0x2C), (KeyRecord{AssignSingleKey, 0, 0x30, 0, 0}));
    EXPECT_THAT(withKey({{"key", "Z"}, {"type", 65536}, {"value", 0}}).error,
                StartsWith("profiles[0].keys[0].type: 65536 is out of range 0 to 65535"));
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
