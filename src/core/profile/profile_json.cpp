#include "core/profile/profile_json.h"

#include <cstdio>
#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_names.h"
#include "core/keyboard/media_function_tables.h"
#include "core/keyboard/utf16.h"
#include "core/macro/macro_list_rules.h"

namespace qv {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::size_t kMaxDepth = 8;
// Texts of program and text-block keys: far more than a path or a text block needs.
constexpr std::size_t kMaxTextUnits = 4096;

const char* const kTypeNames[] = {"default", "disabled", "key",   "program", "macro",
                                  "stop-macro", "text",  "media", "function"};

// A record the named types cannot say, written with its type number in "raw_type".
constexpr const char* kRawTypeName = "raw";

std::string HexCode(unsigned code) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%03X", code);
    return buf;
}

std::uint16_t DefaultAux(int index) {
    return index >= kGKeyRecordFirst ? GKeyId(index - kGKeyRecordFirst) : 0;
}

bool UniqueName(const MacroList& macros, const MacroRecord& m) {
    int same = 0;
    for (const MacroRecord& other : macros) same += other.Name() == m.Name() ? 1 : 0;
    return same == 1;
}

Json MacroEntry(const MacroRecord& m) {
    Json e;
    e["id"] = m.id;
    e["name"] = m.NameUtf8();
    e["repeat"] = m.repeatCount;
    Json actions = Json::array();
    for (std::size_t j = 0; j < m.UsedActions(); ++j) {
        const MacroAction& a = m.actions[j];
        Json action;
        const std::string name = KeyNameForScripts(a.key);
        if (name.empty() || FindKeyByName(name) != a.key) {
            action["code"] = a.key;
        } else {
            action["key"] = name;
        }
        action["press"] = a.direction != kRelease;
        action["delay"] = a.delay;
        actions.push_back(std::move(action));
    }
    e["actions"] = std::move(actions);
    return e;
}

bool IsFlat(const Json& j) {
    if (!j.is_object()) return !j.is_array();
    for (const auto& [k, v] : j.items()) {
        if (v.is_structured()) return false;
    }
    return true;
}

// Indented like dump(2), except that an object holding only plain values takes one line, so a
// key assignment or a macro action reads as one line and diffs as one line.
void Layout(const Json& j, int indent, std::string& out) {
    const std::string pad(static_cast<std::size_t>(indent), ' ');
    const std::string inner(static_cast<std::size_t>(indent + 2), ' ');
    if (IsFlat(j) && !(j.is_object() && indent == 0)) {
        std::string flat = j.dump();
        if (j.is_object() && j.size() > 0) {
            // {"a":1,"b":2} -> {"a": 1, "b": 2}: the same text nlohmann writes, spaced for reading.
            flat.clear();
            flat = "{";
            bool first = true;
            for (const auto& [k, v] : j.items()) {
                if (!first) flat += ", ";
                first = false;
                flat += Json(k).dump() + ": " + v.dump();
            }
            flat += "}";
        }
        out += flat;
        return;
    }
    if (j.is_array()) {
        if (j.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        for (std::size_t i = 0; i < j.size(); ++i) {
            out += inner;
            Layout(j[i], indent + 2, out);
            out += i + 1 < j.size() ? ",\n" : "\n";
        }
        out += pad + "]";
        return;
    }
    out += "{\n";
    std::size_t i = 0;
    for (const auto& [k, v] : j.items()) {
        out += inner + Json(k).dump() + ": ";
        Layout(v, indent + 2, out);
        out += ++i < j.size() ? ",\n" : "\n";
    }
    out += pad + "}";
}

std::string Render(const Json& j) {
    std::string out;
    Layout(j, 0, out);
    return out + "\n";
}

// --- Reading ------------------------------------------------------------------------------------

struct JsonError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Refuse(const std::string& path, const std::string& what) {
    throw JsonError(path.empty() ? what : path + ": " + what);
}

std::string At(const std::string& path, const std::string& field) {
    return path.empty() ? field : path + "." + field;
}

std::string At(const std::string& path, std::size_t index) { return path + "[" + std::to_string(index) + "]"; }

const char* KindOf(const Json& j) {
    if (j.is_null()) return "null";
    if (j.is_boolean()) return "true or false";
    if (j.is_number()) return "a number";
    if (j.is_string()) return "a string";
    if (j.is_array()) return "a list";
    return "an object";
}

void ExpectFields(const Json& object, const std::string& path, std::initializer_list<const char*> known) {
    if (!object.is_object()) Refuse(path, std::string("expected an object, not ") + KindOf(object));
    for (const auto& [k, v] : object.items()) {
        bool found = false;
        for (const char* name : known) found = found || k == name;
        if (!found) Refuse(At(path, k), "unknown field");
    }
}

const Json* Field(const Json& object, const char* name) {
    const auto it = object.find(name);
    return it == object.end() ? nullptr : &*it;
}

const Json& Required(const Json& object, const std::string& path, const char* name) {
    const Json* v = Field(object, name);
    if (v == nullptr) Refuse(At(path, name), "missing");
    return *v;
}

long long Integer(const Json& v, const std::string& path, long long low, long long high) {
    const std::string range = std::to_string(low) + " to " + std::to_string(high);
    if (!v.is_number_integer()) Refuse(path, "expected a whole number from " + range + ", not " + KindOf(v));
    if (v.is_number_unsigned()) {
        const auto u = v.get<unsigned long long>();
        // The parser reads every number without a sign as unsigned, 0 included.
        if (u > static_cast<unsigned long long>(high) || static_cast<long long>(u) < low) {
            Refuse(path, std::to_string(u) + " is out of range " + range);
        }
        return static_cast<long long>(u);
    }
    const long long n = v.get<long long>();
    if (n < low || n > high) Refuse(path, std::to_string(n) + " is out of range " + range);
    return n;
}

const std::string& String(const Json& v, const std::string& path) {
    if (!v.is_string()) Refuse(path, std::string("expected a string, not ") + KindOf(v));
    return v.get_ref<const std::string&>();
}

bool Boolean(const Json& v, const std::string& path) {
    if (!v.is_boolean()) Refuse(path, std::string("expected true or false, not ") + KindOf(v));
    return v.get<bool>();
}

const Json& List(const Json& v, const std::string& path, std::size_t most) {
    if (!v.is_array()) Refuse(path, std::string("expected a list, not ") + KindOf(v));
    if (v.size() > most) Refuse(path, "holds " + std::to_string(v.size()) + " entries, at most " + std::to_string(most) + " are allowed");
    return v;
}

// A key code written as its catalogue code ("0x110"), for keys without a name.
std::optional<KeyCode> HexKeyCode(const std::string& name) {
    if (name.size() != 5 || name[0] != '0' || (name[1] != 'x' && name[1] != 'X')) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = 2; i < name.size(); ++i) {
        const char c = name[i];
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<unsigned>(d);
    }
    if (value > 0x1FF) return std::nullopt;
    return static_cast<KeyCode>(value);
}

// A record's key: a key button, a G key ("A-G1", "B-G3", "G1" for bank A), any key of the key
// list, or a catalogue code as written for keys without a name.
std::optional<int> FindRecordIndex(const std::string& name) {
    if (const auto key = FindRemappableKey(name, false)) return key->recordIndex;
    if (const auto code = FindKeyByName(name)) return KeyCodeToSlot(*code);
    if (const auto code = HexKeyCode(name); code && SlotToKeyCode(KeyCodeToSlot(*code)) == *code) {
        return KeyCodeToSlot(*code);
    }
    return std::nullopt;
}

int RecordIndexOf(const std::string& name, const std::string& path) {
    if (const auto index = FindRecordIndex(name)) return *index;
    Refuse(path, UnknownNameMessage("key", name, RemappableKeyNames()));
}

// A pause as the command line takes it: one the keyboard keeps exactly, never rounded or capped.
std::int32_t Pause(const Json& v, const std::string& path) {
    if (!v.is_number_integer()) {
        Refuse(path, "expected a whole number of milliseconds, " + PauseLimitsText() + ", not " + KindOf(v));
    }
    if (v.is_number_unsigned() && v.get<unsigned long long>() > static_cast<unsigned long long>(kLongestPauseMs)) {
        Refuse(path, "pauses go from " + PauseLimitsText() + ", not " + v.dump());
    }
    const long long ms = v.get<long long>();
    if (auto bad = CheckStatedPause(ms)) Refuse(path, *bad);
    return static_cast<std::int32_t>(ms);
}

MacroRecord ReadMacro(const Json& j, const std::string& path) {
    ExpectFields(j, path, {"id", "name", "repeat", "actions"});
    MacroRecord m;
    m.id = static_cast<std::uint16_t>(Integer(Required(j, path, "id"), At(path, "id"), 1, kMaxMacros));
    const std::string namePath = At(path, "name");
    const std::u16string name = Utf8ToUtf16(String(Required(j, path, "name"), namePath));
    if (name.size() >= static_cast<std::size_t>(kMacroNameUnits)) {
        Refuse(namePath, "longer than " + std::to_string(kMacroNameUnits - 1) + " characters");
    }
    if (name.find(u'\0') != std::u16string::npos) Refuse(namePath, "holds a NUL character");
    m.SetName(name);
    if (const Json* repeat = Field(j, "repeat")) {
        m.repeatCount = static_cast<std::uint8_t>(Integer(*repeat, At(path, "repeat"), 1, 255));
    }
    const std::string actionsPath = At(path, "actions");
    const Json& actions = List(Required(j, path, "actions"), actionsPath, kMaxMacroActions);
    for (std::size_t k = 0; k < actions.size(); ++k) {
        const std::string ap = At(actionsPath, k);
        const Json& a = actions[k];
        ExpectFields(a, ap, {"key", "code", "press", "delay"});
        MacroAction action;
        const Json* key = Field(a, "key");
        const Json* code = Field(a, "code");
        if ((key == nullptr) == (code == nullptr)) Refuse(ap, "needs either \"key\" or \"code\"");
        if (key != nullptr) {
            const std::string& keyName = String(*key, At(ap, "key"));
            const auto found = FindKeyByName(keyName);
            if (!found) Refuse(At(ap, "key"), UnknownNameMessage("key", keyName, KeyListNames()));
            action.key = *found;
        } else {
            action.key = static_cast<KeyCode>(Integer(*code, At(ap, "code"), 0, 0x1FF));
        }
        action.direction = Boolean(Required(a, ap, "press"), At(ap, "press")) ? kPress : kRelease;
        action.delay = Pause(Required(a, ap, "delay"), At(ap, "delay"));
        m.actions[k] = action;
    }
    m.actionCount = static_cast<std::uint16_t>(actions.size());
    return m;
}

struct ParsedKey {
    int index = 0;
    KeyRecord record;
    std::optional<std::u16string> text;
};

// A record written by its type number: what the named form cannot say (a type this tool does not
// know, a value outside the tables, a G-key id where another aux belongs), carried as it is.
KeyRecord ReadRawRecord(const Json& j, const std::string& path, int index) {
    // Files of earlier versions carry the number in "type" itself.
    const bool old = j.at("type").is_number();
    const std::string typePath = At(path, old ? "type" : "raw_type");
    const auto type = static_cast<std::uint16_t>(Integer(old ? j.at("type") : Required(j, path, "raw_type"), typePath, 0, 0xFFFF));
    // Their value is an offset into the file's own text area, which the JSON form does not have.
    if (OwnsText(type)) Refuse(typePath, "program and text keys are written as \"program\" or \"text\" with their text");
    if (Field(j, "target") != nullptr) Refuse(At(path, "target"), "a key written by its type number takes a \"value\", not a target");
    if (Field(j, "repeat") != nullptr) Refuse(At(path, "repeat"), "a key written by its type number takes an \"aux\", not a repeat count");
    KeyRecord r;
    r.type = type;
    r.value = static_cast<std::uint32_t>(Integer(Required(j, path, "value"), At(path, "value"), 0, 0xFFFFFFFFll));
    r.aux = DefaultAux(index);
    if (const Json* aux = Field(j, "aux")) r.aux = static_cast<std::uint16_t>(Integer(*aux, At(path, "aux"), 0, 0xFFFF));
    return r;
}

ParsedKey ParseKeyEntry(const Json& j, const std::string& path, const MacroList& macros) {
    ExpectFields(j, path, {"key", "type", "raw_type", "target", "repeat", "value", "aux"});
    ParsedKey out;
    const std::string& keyName = String(Required(j, path, "key"), At(path, "key"));
    out.index = RecordIndexOf(keyName, At(path, "key"));
    const int index = out.index;

    const std::string typePath = At(path, "type");
    const Json& typeField = Required(j, path, "type");
    if (typeField.is_number() || (typeField.is_string() && typeField.get_ref<const std::string&>() == kRawTypeName)) {
        if (typeField.is_number() && Field(j, "raw_type") != nullptr) Refuse(At(path, "raw_type"), "only a \"raw\" key takes a raw_type");
        out.record = ReadRawRecord(j, path, index);
        return out;
    }
    for (const char* raw : {"raw_type", "value", "aux"}) {
        if (Field(j, raw) != nullptr) Refuse(At(path, raw), "only a \"raw\" key takes a " + std::string(raw));
    }
    const std::string& typeName = String(typeField, typePath);
    int type = -1;
    for (int t = AssignDefault; t <= AssignFunctionKey; ++t) {
        if (typeName == kTypeNames[t]) type = t;
    }
    if (type < 0) Refuse(typePath, UnknownNameMessage("type", typeName, {std::begin(kTypeNames), std::end(kTypeNames)}));
    const Json* target = Field(j, "target");
    const std::string targetPath = At(path, "target");
    const bool takesTarget = type != AssignDefault && type != AssignDisabled && type != AssignStopMacro;
    if (takesTarget && target == nullptr) Refuse(targetPath, "missing");
    if (!takesTarget && target != nullptr) Refuse(targetPath, "a " + typeName + " key takes no target");
    if (Field(j, "repeat") != nullptr && type != AssignMacro) Refuse(At(path, "repeat"), "only macro keys take a repeat count");

    KeyRecord& r = out.record;
    r.type = static_cast<std::uint16_t>(type);
    r.aux = DefaultAux(index);
    switch (type) {
        case AssignSingleKey: {
            const std::string& name = String(*target, targetPath);
            auto code = FindKeyByName(name);
            if (!code) code = HexKeyCode(name);
            if (!code) Refuse(targetPath, UnknownNameMessage("key", name, KeyListNames()));
            r.value = *code;
            break;
        }
        case AssignLaunchProgram:
        case AssignTextBlock: {
            out.text = Utf8ToUtf16(String(*target, targetPath));
            if (out.text->size() > kMaxTextUnits) Refuse(targetPath, "longer than " + std::to_string(kMaxTextUnits) + " characters");
            if (out.text->find(u'\0') != std::u16string::npos) Refuse(targetPath, "holds a NUL character");
            break;
        }
        case AssignMacro: {
            if (target->is_string()) {
                const std::string& name = target->get_ref<const std::string&>();
                const std::u16string wanted = Utf8ToUtf16(name);
                const MacroRecord* found = nullptr;
                for (const MacroRecord& m : macros) {
                    if (m.Name() == wanted) found = &m;
                }
                if (found == nullptr) {
                    std::vector<std::string> names;
                    for (const MacroRecord& m : macros) names.push_back(m.NameUtf8());
                    Refuse(targetPath, UnknownNameMessage("macro", name, names));
                }
                r.value = found->id;
            } else {
                r.value = static_cast<std::uint32_t>(Integer(*target, targetPath, 0, kMaxMacros));
            }
            if (const Json* repeat = Field(j, "repeat")) {
                r.aux = static_cast<std::uint16_t>(Integer(*repeat, At(path, "repeat"), 1, 255));
            }
            break;
        }
        case AssignMedia:
        case AssignFunctionKey: {
            const bool media = type == AssignMedia;
            const int count = media ? kMediaCount : kFunctionCount;
            std::optional<int> item;
            if (target->is_number_integer()) {
                item = static_cast<int>(Integer(*target, targetPath, 0, count - 1));
            } else {
                const std::string& name = String(*target, targetPath);
                item = media ? FindMediaByName(name) : FindFunctionByName(name);
                if (!item) {
                    Refuse(targetPath, UnknownNameMessage(media ? "media key" : "function", name,
                                                          media ? MediaScriptNames() : FunctionScriptNames()));
                }
            }
            r.value = static_cast<std::uint32_t>(*item);
            break;
        }
        default: break;
    }
    return out;
}

void ReadKey(const Json& j, const std::string& path, int table, const MacroList& macros, ProfileContent& c,
             std::set<int>& seen) {
    const ParsedKey parsed = ParseKeyEntry(j, path, macros);
    if (!seen.insert(parsed.index).second) {
        Refuse(At(path, "key"), "'" + j.at("key").get<std::string>() + "' is assigned twice in this profile");
    }
    c.Assign(table, parsed.index, parsed.record);
    if (parsed.text) c.texts.Set(TextSlotOf(table, parsed.index), *parsed.text);
}

// --- Writing key records ------------------------------------------------------------------------

// The record's key as FindRecordIndex reads it back: its name, or its code when it has none or
// when its name belongs to another record.
std::string RecordKeyName(int index) {
    if (index >= kGKeyRecordFirst) {
        const int n = index - kGKeyRecordFirst;
        return std::string(n < 9 ? "A" : "B") + "-G" + std::to_string(n % 9 + 1);
    }
    const KeyCode code = SlotToKeyCode(static_cast<CatalogueSlot>(index));
    const std::string name = KeyNameForScripts(code);
    return !name.empty() && FindRecordIndex(name) == index ? name : HexCode(code);
}

Json RawEntry(const KeyRecord& r, int index) {
    Json e;
    e["key"] = RecordKeyName(index);
    e["type"] = kRawTypeName;
    e["raw_type"] = r.type;
    e["value"] = r.value;
    if (r.aux != DefaultAux(index)) e["aux"] = r.aux;
    return e;
}

Json NamedEntry(const ProfileContent& c, int table, int index) {
    const KeyRecord& r = c.Record(table, index);
    Json e;
    e["key"] = RecordKeyName(index);
    e["type"] = kTypeNames[r.type];
    switch (r.type) {
        case AssignSingleKey: {
            const std::string name = r.value <= 0xFFFF ? KeyNameForScripts(static_cast<KeyCode>(r.value)) : std::string();
            e["target"] = !name.empty() && FindKeyByName(name) == r.value ? name : HexCode(r.value);
            break;
        }
        case AssignLaunchProgram:
        case AssignTextBlock: {
            const auto& text = c.texts.At(TextSlotOf(table, index));
            e["target"] = text ? Utf16ToUtf8(*text) : std::string();
            break;
        }
        case AssignMacro: {
            const MacroRecord* m = nullptr;
            for (const MacroRecord& candidate : c.macros) {
                if (candidate.id == r.value) {
                    m = &candidate;
                    break;
                }
            }
            if (m != nullptr && UniqueName(c.macros, *m) && !m->Name().empty()) {
                e["target"] = m->NameUtf8();
            } else {
                e["target"] = r.value;
            }
            if (r.aux != DefaultAux(index)) e["repeat"] = r.aux;
            break;
        }
        case AssignMedia: e["target"] = MediaScriptName(static_cast<int>(r.value)); break;
        case AssignFunctionKey: e["target"] = FunctionScriptName(static_cast<int>(r.value)); break;
        default: break;
    }
    return e;
}

// Whether the reader makes exactly this record of the entry (texts compared, not their offsets).
bool ReadsBackAs(const Json& entry, const ProfileContent& c, int table, int index) {
    try {
        const ParsedKey back = ParseKeyEntry(entry, "", c.macros);
        const KeyRecord& r = c.Record(table, index);
        if (back.index != index || back.record.type != r.type || back.record.aux != r.aux) return false;
        if (OwnsText(r.type)) return true;
        return back.record.value == r.value;
    } catch (const JsonError&) {
        return false;
    }
}

// The named form when it reads back as this very record; otherwise the record by its type
// number, so that whatever export writes, import takes back unchanged.
Json KeyEntry(const ProfileContent& c, int table, int index) {
    const KeyRecord& r = c.Record(table, index);
    if (r.type <= AssignFunctionKey) {
        Json named = NamedEntry(c, table, index);
        // A text record has no raw form: its named form is the only one, even if the reader
        // would refuse its text.
        if (OwnsText(r.type) || ReadsBackAs(named, c, table, index)) return named;
    }
    return RawEntry(r, index);
}

Json KeysOf(const ProfileContent& c, int table, bool withFactoryKeys = false) {
    Json keys = Json::array();
    for (int i = 0; i < kGKeyRecordFirst + kGKeyCount; ++i) {
        if (c.Record(table, i).type != AssignDefault || (withFactoryKeys && IsRemappableRecord(i))) {
            keys.push_back(KeyEntry(c, table, i));
        }
    }
    return keys;
}

Json ContentToJson(const ProfileContent& c) {
    Json root;
    root["format"] = kProfileJsonFormat;
    root["version"] = kProfileJsonVersion;
    Json profiles = Json::array();
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        Json p;
        p["profile"] = t + 1;
        p["keys"] = KeysOf(c, t);
        profiles.push_back(std::move(p));
    }
    root["profiles"] = std::move(profiles);
    Json macros = Json::array();
    for (const MacroRecord& m : c.macros) macros.push_back(MacroEntry(m));
    root["macros"] = std::move(macros);
    return root;
}

// Refuses a field that occurs twice in one object, which the parser would otherwise settle by
// keeping the last, and nesting deeper than the form has.
class StrictParse {
public:
    bool operator()(int depth, nlohmann::json::parse_event_t event, Json& parsed) {
        using E = nlohmann::json::parse_event_t;
        if (static_cast<std::size_t>(depth) > kMaxDepth) throw JsonError("nested deeper than a profile is");
        if (event == E::object_start) keys_.emplace_back();
        if (event == E::object_end && !keys_.empty()) keys_.pop_back();
        if (event == E::key && !keys_.empty()) {
            const std::string& k = parsed.get_ref<const std::string&>();
            if (!keys_.back().insert(k).second) throw JsonError("the field \"" + k + "\" appears twice in one object");
        }
        return true;
    }

private:
    std::vector<std::set<std::string>> keys_;
};

}  // namespace

std::string ProfileToJson(const ProfileContent& content) { return Render(ContentToJson(content)); }

std::string MacroToJson(const MacroRecord& macro) { return Render(MacroEntry(macro)); }

std::string MacroListToJson(const MacroList& macros) {
    Json list = Json::array();
    for (const MacroRecord& m : macros) list.push_back(MacroEntry(m));
    return Render(list);
}

std::string ProfileKeysToJson(const ProfileContent& content, int table, bool withFactoryKeys) {
    Json p;
    p["profile"] = table + 1;
    p["keys"] = KeysOf(content, table, withFactoryKeys);
    return Render(p);
}

bool LooksLikeJson(std::string_view bytes) {
    for (const char c : bytes) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        return c == '{';
    }
    return false;
}

ProfileJsonResult ParseProfileJson(std::string_view text) {
    ProfileJsonResult result;
    if (text.size() > kMaxProfileJsonBytes) {
        result.error = "the file is larger than a profile can be";
        return result;
    }
    try {
        Json root;
        try {
            root = Json::parse(text.begin(), text.end(), StrictParse());
        } catch (const nlohmann::json::parse_error& e) {
            // "[json.exception.parse_error.101] parse error at line 3, column 5: ..." without its tag.
            std::string what = e.what();
            const auto tagEnd = what.find("] ");
            throw JsonError("not valid JSON: " + (tagEnd == std::string::npos ? what : what.substr(tagEnd + 2)));
        }
        ExpectFields(root, "", {"format", "version", "profiles", "macros"});
        if (const Json* format = Field(root, "format")) {
            if (String(*format, "format") != kProfileJsonFormat) {
                Refuse("format", "expected \"" + std::string(kProfileJsonFormat) + "\"");
            }
        }
        if (const Json* version = Field(root, "version")) {
            Integer(*version, "version", kProfileJsonVersion, kProfileJsonVersion);
        }

        ProfileContent content = DefaultProfileContent();
        if (const Json* macros = Field(root, "macros")) {
            const Json& list = List(*macros, "macros", kMaxMacros);
            std::set<std::uint16_t> ids;
            std::set<std::u16string> names;
            for (std::size_t i = 0; i < list.size(); ++i) {
                const std::string path = At("macros", i);
                MacroRecord m = ReadMacro(list[i], path);
                if (!ids.insert(m.id).second) Refuse(At(path, "id"), "id " + std::to_string(m.id) + " is used twice");
                if (!m.Name().empty() && !names.emplace(m.Name()).second) Refuse(At(path, "name"), "the name '" + m.NameUtf8() + "' is used twice");
                content.macros.push_back(m);
            }
        }

        const Json& profiles = List(Required(root, "", "profiles"), "profiles", kOnBoardProfiles);
        if (profiles.size() != static_cast<std::size_t>(kOnBoardProfiles)) {
            Refuse("profiles", "expected 3 entries, one for each of the profiles 1 to 3");
        }
        std::set<int> profileSeen;
        for (std::size_t i = 0; i < profiles.size(); ++i) {
            const std::string path = At("profiles", i);
            ExpectFields(profiles[i], path, {"profile", "keys"});
            const int number = static_cast<int>(
                Integer(Required(profiles[i], path, "profile"), At(path, "profile"), 1, kOnBoardProfiles));
            if (!profileSeen.insert(number).second) Refuse(At(path, "profile"), "profile " + std::to_string(number) + " appears twice");
            const Json* keys = Field(profiles[i], "keys");
            if (keys == nullptr) continue;
            const std::string keysPath = At(path, "keys");
            const Json& list = List(*keys, keysPath, kGKeyRecordFirst + kGKeyCount);
            std::set<int> seen;
            for (std::size_t k = 0; k < list.size(); ++k) {
                ReadKey(list[k], At(keysPath, k), number - 1, content.macros, content, seen);
            }
        }
        SetFileHeader(content.block, static_cast<std::uint16_t>(content.macros.size()), content.texts.Total());
        result.content = std::move(content);
    } catch (const JsonError& e) {
        result.error = e.what();
    } catch (const nlohmann::json::exception& e) {
        result.error = std::string("not a usable profile: ") + e.what();
    }
    return result;
}

}  // namespace qv
