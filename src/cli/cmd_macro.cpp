// quorvanectl macro list|show|add|remove|rename: the keyboard's macros, shared by all profiles.
#include <CLI/CLI.hpp>

#include <memory>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/keyboard_change.h"
#include "core/keyboard/utf16.h"
#include "core/macro/macro_list_rules.h"
#include "core/macro/macro_names.h"
#include "core/macro/macro_steps.h"
#include "core/profile/profile_json.h"
#include "core/profile/profile_report.h"

namespace qv::cli {
namespace {

constexpr int kDefaultPause = 50;

// "profile 1: A, profile 3: B-G2" for the keys that play the macro.
std::string KeysPlaying(const ProfileContent& c, std::uint16_t id) {
    std::string out;
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        for (int i = 0; i < kGKeyRecordFirst + kGKeyCount; ++i) {
            const KeyRecord& r = c.Record(t, i);
            if (r.type != AssignMacro || r.value != id) continue;
            if (!out.empty()) out += ", ";
            out += "profile " + std::to_string(t + 1) + ": " + RecordName(i);
        }
    }
    return out;
}

std::vector<MacroAction> ActionsOf(const MacroRecord& m) {
    return {m.actions.begin(), m.actions.begin() + static_cast<std::ptrdiff_t>(m.UsedActions())};
}

int RunList(bool json) {
    return ReadKeyboard([json](const KeyboardContents& k) {
        const MacroList& macros = k.content.macros;
        if (json) {
            Out() << MacroListToJson(macros);
            return kExitOk;
        }
        for (const MacroRecord& m : macros) {
            const std::string keys = KeysPlaying(k.content, m.id);
            Print(Out(), "%u %s (repeat %u, %zu actions)%s%s\n", m.id, m.NameUtf8().c_str(), m.repeatCount,
                  m.UsedActions(), keys.empty() ? "" : ", used by ", keys.c_str());
        }
        return kExitOk;
    });
}

// A macro as a command names it: NAME, or with --id its id.
struct MacroWord {
    std::string word;
    bool byId = false;
};

int RunShow(const MacroWord& name, bool json) {
    return ReadKeyboard([&](const KeyboardContents& k) {
        std::string error;
        const MacroRecord* m = FindMacro(k.content.macros, name.word, name.byId, &error);
        if (m == nullptr) return Fail(kExitFailed, error);
        if (json) {
            Out() << MacroToJson(*m);
            return kExitOk;
        }
        const std::string keys = KeysPlaying(k.content, m->id);
        Print(Out(), "id:      %u\nname:    %s\nrepeat:  %u\nactions: %zu\nsteps:   %s\nused by: %s\n", m->id,
              m->NameUtf8().c_str(), m->repeatCount, m->UsedActions(), FormatMacroSteps(ActionsOf(*m)).c_str(),
              keys.empty() ? "no key" : keys.c_str());
        return kExitOk;
    });
}

struct AddArguments {
    std::string name;
    std::vector<std::string> steps;
    std::string text;
    CLI::Option* typeOption = nullptr;
    int pause = kDefaultPause;
    int repeat = 1;
    bool replace = false;
};

int RunAdd(const AddArguments& a) {
    if (auto bad = CheckMacroName(std::string_view(a.name)); !bad.empty()) return Fail(kExitUsage, bad);
    const std::u16string name = Utf8ToUtf16(a.name);
    if (auto bad = CheckStatedPause(a.pause)) return Fail(kExitUsage, "--pause: " + *bad);
    std::string joined;
    for (const std::string& s : a.steps) joined += s + ' ';
    const StepsResult actions =
        a.typeOption->count() > 0 ? TypeTextActions(a.text, a.pause) : ParseMacroSteps(joined, a.pause);
    if (!actions.ok()) return Fail(kExitUsage, actions.error);

    return ChangeKeyboard([&](const KeyboardContents&, ProfileContent& content) {
        MacroList list = content.macros;
        MacroRecord* m = FindMacroByName(list, name);
        if (m != nullptr && !a.replace) {
            return Fail(kExitFailed, "there is a macro named '" + m->NameUtf8() +
                                         "' already (--replace gives it the new actions)");
        }
        if (m == nullptr) {
            const std::uint16_t id = SmallestFreeMacroId(list);
            if (list.size() >= static_cast<std::size_t>(kMaxMacros) || id == 0) {
                return Fail(kExitFailed, "the keyboard holds at most " + std::to_string(kMaxMacros) + " macros");
            }
            m = &list.emplace_back();
            m->id = id;
        }
        m->SetName(name);
        m->repeatCount = static_cast<std::uint8_t>(ClampRepeatCount(a.repeat));
        m->actionCount = static_cast<std::uint16_t>(actions.actions.size());
        std::fill(m->actions.begin(), m->actions.end(), MacroAction{});
        std::copy(actions.actions.begin(), actions.actions.end(), m->actions.begin());
        ReplaceMacroList(content, std::move(list));
        return kExitOk;
    });
}

int RunRemove(const MacroWord& name, bool force) {
    return ChangeKeyboard([&](const KeyboardContents&, ProfileContent& content) {
        const MacroLookup found = FindMacro(content.macros, name.word, name.byId);
        if (found.macro == nullptr) return Fail(kExitFailed, found.error);
        const MacroRecord* m = found.macro;
        if (MacroUsedByKeys(content, m->id)) {
            const std::string keys = KeysPlaying(content, m->id);
            if (!force) {
                return Fail(kExitFailed, "the macro '" + m->NameUtf8() + "' is played by " +
                                             (keys.empty() ? std::string("a key") : keys) +
                                             "; --force removes it and gives those keys their factory function");
            }
            Note("back to their factory function: " + keys);
        }
        MacroList list;
        for (const MacroRecord& other : content.macros) {
            if (&other != m) list.push_back(other);
        }
        ReplaceMacroList(content, std::move(list));
        return kExitOk;
    });
}

int RunRename(const MacroWord& from, const std::string& to) {
    if (auto bad = CheckMacroName(std::string_view(to)); !bad.empty()) return Fail(kExitUsage, bad);
    const std::u16string name = Utf8ToUtf16(to);
    return ChangeKeyboard([&](const KeyboardContents&, ProfileContent& content) {
        const MacroLookup found = FindMacro(content.macros, from.word, from.byId);
        if (found.macro == nullptr) return Fail(kExitFailed, found.error);
        MacroRecord* m = found.macro;
        if (MacroNameTaken(content.macros, name, m)) return Fail(kExitFailed, "there is a macro named '" + to + "' already");
        m->SetName(name);
        return kExitOk;
    });
}

}  // namespace

void AddMacroCommands(CLI::App& app, int& exitCode) {
    auto* macro = app.add_subcommand("macro", "The keyboard's macros, shared by all three profiles");
    macro->require_subcommand(1, 1);

    auto listJson = std::make_shared<bool>(false);
    auto* list = macro->add_subcommand("list", "Every macro with its id, repeat count and keys");
    list->add_flag("--json", *listJson, "print as JSON");
    list->callback([&exitCode, listJson] { exitCode = RunList(*listJson); });

    auto show = std::make_shared<std::pair<MacroWord, bool>>();
    auto* showCmd = macro->add_subcommand("show", "One macro's actions as a step list");
    showCmd->add_option("NAME", show->first.word, "name or id")->required();
    showCmd->add_flag("--id", show->first.byId, "NAME is an id");
    showCmd->add_flag("--json", show->second, "print as JSON");
    showCmd->callback([&exitCode, show] { exitCode = RunShow(show->first, show->second); });

    auto a = std::make_shared<AddArguments>();
    auto* add = macro->add_subcommand("add", "Make a new macro from a step list or from text to type");
    add->footer(
        "STEPS are words separated by spaces:\n"
        "  +KEY   press KEY          -KEY   release KEY          KEY   press and release KEY\n"
        "  NUMms  the pause after the action before it, " + PauseLimitsText() + "\n"
        "KEY is a key name without its spaces (CapsLock, Num7, RightCtrl, Up) or a code (0x01E);\n"
        "a one-character word is always a tap, so '-' taps the minus key and '--' releases it.\n"
        "Actions without a pause after them take --pause; the last one's pause is 0.\n"
        "  quorvanectl macro add copy --steps '+Ctrl c -Ctrl'\n"
        "  quorvanectl macro add hello --type 'Hello, world' --pause 20\n"
        "--type adds Shift where a character needs it (US layout); characters without a key are refused.\n"
        "Limits: 100 macros, 2000 actions each, names of at most 249 characters.");
    add->add_option("NAME", a->name, "the new macro's name")->required();
    auto* steps = add->add_option("--steps", a->steps, "the actions as a step list")->type_name("STEPS");
    a->typeOption = add->add_option("--type", a->text, "text the macro types")->type_name("TEXT");
    steps->excludes(a->typeOption);
    // The pause is checked by the one rule the steps and JSON profiles use, not by a range here.
    add->add_option("--pause", a->pause, "ms after each action, " + PauseLimitsText() + " (default 50)");
    InRange(add->add_option("--repeat", a->repeat, "how often it plays per press (default 1)"), 1, 255);
    add->add_flag("--replace", a->replace, "give an existing macro of this name the new actions");
    add->callback([&exitCode, a, steps] {
        if (steps->count() == 0 && a->typeOption->count() == 0) {
            exitCode = Fail(kExitUsage, "macro add needs --steps or --type");
            return;
        }
        exitCode = RunAdd(*a);
    });

    auto remove = std::make_shared<std::pair<MacroWord, bool>>();
    auto* removeCmd = macro->add_subcommand("remove", "Remove a macro; keys that play it need --force");
    removeCmd->add_option("NAME", remove->first.word, "name or id")->required();
    removeCmd->add_flag("--id", remove->first.byId, "NAME is an id");
    removeCmd->add_flag("--force", remove->second, "remove it even when keys play it; they go back to their factory function");
    removeCmd->callback([&exitCode, remove] { exitCode = RunRemove(remove->first, remove->second); });

    auto rename = std::make_shared<std::pair<MacroWord, std::string>>();
    auto* renameCmd = macro->add_subcommand("rename", "Give a macro another name");
    renameCmd->add_option("OLD", rename->first.word, "name or id")->required();
    renameCmd->add_option("NEW", rename->second, "the new name")->required();
    renameCmd->add_flag("--id", rename->first.byId, "OLD is an id");
    renameCmd->callback([&exitCode, rename] { exitCode = RunRename(rename->first, rename->second); });
    macro->footer("A macro is named by its name, without regard to case, or by its id; a name made of digits\n"
                  "that is another macro's id is refused until --id says which is meant.");
}

}  // namespace qv::cli
