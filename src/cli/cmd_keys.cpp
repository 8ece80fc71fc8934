// quorvanectl keys / key: a profile's key assignments, and giving keys other functions.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/keyboard_change.h"
#include "core/keyboard/key_names.h"
#include "core/macro/macro_names.h"
#include "core/profile/profile_json.h"
#include "core/profile/profile_report.h"

namespace qv::cli {
namespace {

struct KeysArguments {
    int profile = 0;
    bool json = false;
    bool all = false;
};

// The records `keys` lists: those not at their factory function, or with `all` every key button
// and both banks of G keys.
std::vector<int> ListedRecords(const ProfileContent& c, int table, bool all) {
    std::vector<int> records;
    for (int i = 0; i < kGKeyRecordFirst + kGKeyCount; ++i) {
        if (c.Record(table, i).type != AssignDefault || (all && IsRemappableRecord(i))) records.push_back(i);
    }
    return records;
}

int RunKeys(const KeysArguments& a) {
    return ReadKeyboard([&a](const KeyboardContents& k) {
        const int table = a.profile > 0 ? a.profile - 1 : k.activeProfile;
        const ProfileContent& c = k.content;
        if (a.json) {
            Out() << ProfileKeysToJson(c, table, a.all);
            return kExitOk;
        }
        for (const int i : ListedRecords(c, table, a.all)) {
            const std::string what = DescribeAssignment(c, table, i);
            Out() << RecordName(i) << ": " << (what.empty() ? "default" : what) << '\n';
        }
        return kExitOk;
    });
}

struct KeyArguments {
    std::vector<std::string> keys;
    int profile = 0;
    std::string bank = "A";
    CLI::Option* bankOption = nullptr;
    std::vector<std::string> to, macro, macroId, media, function;
    bool disable = false, stopMacro = false, factory = false;
    int repeat = 0;
    CLI::Option* repeatOption = nullptr;
};

struct PlannedKey {
    RemappableKey key;
    std::uint16_t type = AssignDefault;
    std::uint32_t value = 0;
    std::string macro;  // resolved once the keyboard's macros are known
    bool macroById = false;
};

// The value of key `i` from an action's list: one value for all keys, or one per key.
const std::string& ValueFor(const std::vector<std::string>& values, std::size_t i) {
    return values.size() == 1 ? values[0] : values[i];
}

int RunKey(const KeyArguments& a) {
    const int actions = (a.to.empty() ? 0 : 1) + (a.macro.empty() ? 0 : 1) + (a.macroId.empty() ? 0 : 1) +
                        (a.media.empty() ? 0 : 1) +
                        (a.function.empty() ? 0 : 1) + (a.disable ? 1 : 0) + (a.stopMacro ? 1 : 0) +
                        (a.factory ? 1 : 0);
    if (actions != 1) {
        return Fail(kExitUsage, "give the keys one action: --to, --disable, --macro, --macro-id, --media, --function, "
                                "--stop-macro or --default");
    }
    for (const auto* values : {&a.to, &a.macro, &a.macroId, &a.media, &a.function}) {
        if (values->size() > 1 && values->size() != a.keys.size()) {
            const std::string n = std::to_string(a.keys.size());
            return Fail(kExitUsage, a.keys.size() == 1
                                        ? "1 key needs one value, not " + std::to_string(values->size())
                                        : n + " keys need one value for all of them or " + n + " values, not " +
                                              std::to_string(values->size()));
        }
    }

    // Every name is checked before the keyboard is opened.
    std::vector<PlannedKey> plan;
    std::set<int> seen;
    for (std::size_t i = 0; i < a.keys.size(); ++i) {
        PlannedKey p;
        const auto key = FindRemappableKey(a.keys[i], a.bank == "B");
        if (!key) return Fail(kExitUsage, UnknownNameMessage("key", a.keys[i], RemappableKeyNames()));
        if (!seen.insert(key->recordIndex).second) return Fail(kExitUsage, key->name + " is given twice");
        // The bank belongs to the G keys; taken quietly elsewhere it would hide a mistake.
        if (a.bankOption->count() > 0 && key->recordIndex < kGKeyRecordFirst) {
            return Fail(kExitUsage, "--bank is for the G keys G1 to G9; " + key->name + " is not one");
        }
        p.key = *key;
        if (!a.to.empty()) {
            const auto target = FindKeyByName(ValueFor(a.to, i));
            if (!target) return Fail(kExitUsage, UnknownNameMessage("key", ValueFor(a.to, i), KeyListNames()));
            p.type = AssignSingleKey;
            p.value = *target;
        } else if (!a.media.empty()) {
            const auto item = FindMediaByName(ValueFor(a.media, i));
            if (!item) return Fail(kExitUsage, UnknownNameMessage("media key", ValueFor(a.media, i), MediaScriptNames()));
            p.type = AssignMedia;
            p.value = static_cast<std::uint32_t>(*item);
        } else if (!a.function.empty()) {
            const auto item = FindFunctionByName(ValueFor(a.function, i));
            if (!item) {
                return Fail(kExitUsage, UnknownNameMessage("function", ValueFor(a.function, i), FunctionScriptNames()));
            }
            p.type = AssignFunctionKey;
            p.value = static_cast<std::uint32_t>(*item);
        } else if (!a.macro.empty() || !a.macroId.empty()) {
            p.type = AssignMacro;
            p.macroById = !a.macroId.empty();
            p.macro = ValueFor(p.macroById ? a.macroId : a.macro, i);
        } else if (a.disable) {
            p.type = AssignDisabled;
        } else if (a.stopMacro) {
            p.type = AssignStopMacro;
        }
        plan.push_back(p);
    }

    return ChangeKeyboard([&](const KeyboardContents& k, ProfileContent& content) {
        const int table = a.profile > 0 ? a.profile - 1 : k.activeProfile;
        for (PlannedKey& p : plan) {
            int repeat = 1;
            if (p.type == AssignMacro) {
                const MacroLookup found = FindMacro(content.macros, p.macro, p.macroById);
                if (found.macro == nullptr) return Fail(kExitFailed, found.error);
                MacroRecord* m = found.macro;
                // The repeat count belongs to the macro: every key that plays it repeats it so.
                if (a.repeatOption->count() > 0) m->repeatCount = static_cast<std::uint8_t>(a.repeat);
                repeat = m->repeatCount;
                p.value = m->id;
            }
            content.Assign(table, p.key.recordIndex, AssignmentRecord(p.key.recordIndex, p.type, p.value, repeat));
        }
        return kExitOk;
    });
}

}  // namespace

void AddKeyCommands(CLI::App& app, int& exitCode) {
    auto ka = std::make_shared<KeysArguments>();
    auto* keys = app.add_subcommand("keys", "The key assignments of a profile, as the keyboard holds them");
    AddProfileOption(*keys, ka->profile, "the profile (default: the active one)");
    keys->add_flag("--json", ka->json, "print as JSON");
    keys->add_flag("--all", ka->all, "list every key, also those at their factory function");
    keys->callback([&exitCode, ka] { exitCode = RunKeys(*ka); });

    auto a = std::make_shared<KeyArguments>();
    auto* key = app.add_subcommand("key", "Give one or more keys another function");
    key->footer(
        "KEY is a key name without regard to case (A, \"Caps Lock\", \"right ctrl\", \"num 7\") or a G key\n"
        "(G1..G9, bank A unless --bank B). Several keys take one value for all or one value each, in\n"
        "order, and go to the keyboard in one download:\n"
        "  quorvanectl key A B --to B A              swap A and B\n"
        "  quorvanectl key G1 --bank B --macro hello play the macro 'hello' on G1 of bank B\n"
        "  quorvanectl key F1 F2 --media mute volume-up\n"
        "  quorvanectl key \"Caps Lock\" --disable\n"
        "  quorvanectl key A B --default             both back to their factory function\n"
        "--macro takes a name or an id; a name of digits that is another macro's id is refused:\n"
        "--macro-id takes ids only.\n"
        "Names: quorvanectl names keys|media|functions|macros.");
    key->add_option("KEY", a->keys, "the keys to change")->required();
    AddProfileOption(*key, a->profile, "the profile (default: the active one)");
    a->bankOption = OneOf(key->add_option("--bank", a->bank, "the bank of G1..G9, A (default) or B"), {"A", "B"}, true);
    key->add_option("--to", a->to, "send another key")->type_name("NAME");
    key->add_flag("--disable", a->disable, "the key does nothing");
    auto* macro = key->add_option("--macro", a->macro, "play a macro, by name or id")->type_name("NAME|ID");
    auto* macroId = key->add_option("--macro-id", a->macroId, "play a macro, by id only")->type_name("ID");
    a->repeatOption = InRange(key->add_option("--repeat", a->repeat, "how often the macro plays per press, 1 to 255"), 1, 255);
    key->add_flag("--stop-macro", a->stopMacro, "stop the macro that is playing");
    key->add_option("--media", a->media, "send a media key")->type_name("NAME");
    key->add_option("--function", a->function, "send an application function")->type_name("NAME");
    key->add_flag("--default", a->factory, "the key's factory function");
    key->callback([&exitCode, a, macro, macroId] {
        if (a->repeatOption->count() > 0 && macro->count() == 0 && macroId->count() == 0) {
            exitCode = Fail(kExitUsage, "--repeat goes with --macro or --macro-id");
            return;
        }
        for (char& c : a->bank) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        exitCode = RunKey(*a);
    });
}

}  // namespace qv::cli
