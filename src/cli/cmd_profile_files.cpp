// quorvanectl export / import / validate / show: the keyboard's profiles as files, binary or JSON.
#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "cli/cli.h"
#include "cli/device_session.h"
#include "cli/keyboard_change.h"
#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "core/keyboard/key_names.h"
#include "core/lighting/effect_catalogue.h"
#include "core/lighting/effect_table.h"
#include "core/macro/macro_image.h"
#include "core/profile/profile_file.h"
#include "core/profile/profile_json.h"
#include "core/profile/profile_report.h"
#include "platform/atomic_file.h"

namespace qv::cli {
namespace {

// Messages of the core go to standard error.
class StderrPrompt : public UserPrompt {
public:
    void ShowMessage(std::string_view text) override {
        std::string line(text);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\n')) line.pop_back();
        Fail(0, line);
    }
    bool AskYesNo(std::string_view) override { return false; }
};

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\n')) text.pop_back();
    return text;
}

bool IsStdio(const std::string& name) { return name == "-"; }

// A profile file's content, binary or JSON told apart by content; nothing, with the reason
// printed, when it cannot be used.
std::optional<ProfileContent> LoadProfile(const std::string& name) {
    std::vector<std::uint8_t> bytes;
    if (IsStdio(name)) {
        const std::string in{std::istreambuf_iterator<char>(std::cin), {}};
        bytes.assign(in.begin(), in.end());
    } else {
        std::error_code ec;
        if (!std::filesystem::exists(name, ec)) {
            Fail(kExitFailed, name + ": no such file");
            return std::nullopt;
        }
        if (std::filesystem::is_directory(name, ec)) {
            Fail(kExitFailed, name + ": is a folder, not a profile file");
            return std::nullopt;
        }
        auto read = ReadWholeFile(name);
        if (!read) {
            Fail(kExitFailed, name + ": cannot be read");
            return std::nullopt;
        }
        bytes = std::move(*read);
    }
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (LooksLikeJson(text)) {
        ProfileJsonResult r = ParseProfileJson(text);
        if (!r.content) {
            Fail(kExitFailed, name + ": " + r.error);
            return std::nullopt;
        }
        return std::move(r.content);
    }
    StderrPrompt prompt;
    const auto refuse = [&name]() -> std::optional<ProfileContent> {
        Fail(kExitFailed, name + ": " + Trimmed(Text(TextId::MAIN_PROMPT_INPORT)));
        return std::nullopt;
    };
    const ProfileFileCheck check = CheckProfileFileBytes(bytes, bytes.size());
    if (check == ProfileFileCheck::FormatError) {
        prompt.ShowMessage(FormatText(Text(TextId::PROFILE_FORMAT_ERROR), name));
        return refuse();
    }
    if (check == ProfileFileCheck::Unusable) {
        Fail(kExitFailed, name + ": too short to be a profile file");
        return refuse();
    }
    ProfileFileRead read = ReadImportedProfileFile(bytes);
    if (!read.content) {
        Fail(kExitFailed, name + ": " + read.error);
        return std::nullopt;
    }
    return std::move(read.content);
}

int RunExport(const std::string& file, bool json) {
    // Bytes of a binary file would garble the terminal; refused before the keyboard is read.
    if (IsStdio(file) && !json && Env().outputIsTerminal) {
        return Fail(kExitUsage, "a binary profile file is not written to a terminal; redirect it ('export - > FILE') "
                                "or give --json");
    }
    return ReadKeyboard([&](const KeyboardContents& k) {
        ProfileContent content = k.content;
        std::vector<std::uint8_t> bytes;
        if (json) {
            const std::string text = ProfileToJson(content);
            bytes.assign(text.begin(), text.end());
        } else {
            bytes = SerializeProfileFile(content);
        }
        if (IsStdio(file)) {
            Out().write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            return kExitOk;
        }
        if (!WriteFileAtomically(file, bytes)) return Fail(kExitFailed, "cannot write " + file);
        return kExitOk;
    });
}

int RunImport(const std::string& file) {
    auto content = LoadProfile(file);
    if (!content) return kExitFailed;
    return SendWholeContent(std::move(*content));
}

// The macro memory validate checks against: the keyboard's own when one answers, else the most
// any keyboard has, with the reason in `note`.
std::size_t CapacityToCheck(bool& ofKeyboard, std::string& note) {
    ofKeyboard = false;
    std::string error;
    auto session = Env().openKeyboard ? OpenKeyboardSession(&error) : nullptr;
    if (session) {
        device::GlobalBlock block;
        if (const int r = session->Commands().ReadGlobalBlock(block); r == device::kSuccess) {
            ofKeyboard = true;
            return block.MacroCapacityBytes();
        }
        error = "its macro capacity cannot be read";
    }
    note = "no keyboard to check the macros against (" + error + "): checked against the most macro memory a keyboard has";
    return kLargestMacroCapacityBytes;
}

// Everything import checks before it sends: the file's content and whether its macros fit.
int RunValidate(const std::string& file, bool json) {
    const auto content = LoadProfile(file);
    if (!content) return kExitFailed;
    bool ofKeyboard = false;
    std::string note;
    const std::size_t capacity = CapacityToCheck(ofKeyboard, note);
    if (!note.empty()) Note(note);
    const MacroImageSize sizes = MacroImageSizes(content->macros);
    const MacroFit fit = FitMacros(content->macros, capacity);
    if (json) {
        nlohmann::ordered_json j;
        j["file"] = file;
        j["importable"] = fit != MacroFit::TooLarge;
        j["macro_names_kept"] = fit == MacroFit::WithNames;
        j["macro_bytes"] = sizes.withNames;
        j["macro_bytes_without_names"] = sizes.withoutNames;
        j["capacity_bytes"] = capacity;
        j["capacity_of_keyboard"] = ofKeyboard;
        Out() << j.dump(2) << '\n';
    }
    const std::string room = std::to_string(capacity) + (ofKeyboard ? " bytes the keyboard has" : " bytes");
    switch (fit) {
        case MacroFit::TooLarge:
            return Fail(kExitFailed, file + ": the macros take " + std::to_string(sizes.withoutNames) +
                                         " bytes of macro memory even without their names, more than the " + room);
        case MacroFit::WithoutNames:
            if (!json) {
                Print(Out(), "%s: can be imported; its macros fit only without their names (%zu of %s), so the "
                             "keyboard will show them as Macro1, Macro2, ...\n",
                      file.c_str(), sizes.withoutNames, room.c_str());
            }
            return kExitOk;
        case MacroFit::WithNames: break;
    }
    if (!json) Print(Out(), "%s: can be imported; its macros take %zu of the %s\n", file.c_str(), sizes.withNames, room.c_str());
    return kExitOk;
}

int RunShow(const std::string& file, bool json) {
    const auto content = LoadProfile(file);
    if (!content) return kExitFailed;
    Out() << (json ? ProfileToJson(*content) : ProfileReportText(*content));
    return kExitOk;
}

void PrintNames(const std::vector<std::string>& names, bool json) {
    if (json) {
        Out() << nlohmann::json(names).dump(2) << '\n';
        return;
    }
    for (const std::string& n : names) Out() << n << '\n';
}

int RunNames(const std::string& kind, bool json) {
    if (kind == "macros") {
        // The keyboard's macros, for completion and scripts.
        return ReadKeyboard([json](const KeyboardContents& k) {
            std::vector<std::string> names;
            for (const MacroRecord& m : k.content.macros) names.push_back(m.NameUtf8());
            PrintNames(names, json);
            return kExitOk;
        });
    }
    std::vector<std::string> names;
    if (kind == "keys") names = KeyListNames();
    if (kind == "remappable") names = RemappableKeyNames();
    if (kind == "media") names = MediaScriptNames();
    if (kind == "functions") names = FunctionScriptNames();
    if (kind == "effects") names = KnownEffectNames();
    PrintNames(names, json);
    return kExitOk;
}

}  // namespace

std::vector<std::string> KnownEffectNames() {
    std::vector<std::uint8_t> codes;
    for (const auto* e = lighting::KnownEffectsBegin(); e != lighting::KnownEffectsEnd(); ++e) {
        codes.push_back(static_cast<std::uint8_t>(e->code));
    }
    const ProgramPaths& program = Paths();
    return lighting::EffectNames(lighting::EffectTable::FromCodeBytes(codes), program.mainSkin,
                                 lighting::ReadLanguageValue(program.textTable));
}

void AddProfileFileCommands(CLI::App& app, int& exitCode) {
    auto ex = std::make_shared<std::pair<std::string, bool>>();
    auto* exportCmd = app.add_subcommand(
        "export", "Write the keyboard's three profiles and macros to FILE ('-': standard output)");
    exportCmd->add_option("FILE", ex->first, "the file to write")->required();
    exportCmd->add_flag("--json", ex->second, "the JSON form (default: a binary .qvn profile file)");
    exportCmd->callback([&exitCode, ex] { exitCode = RunExport(ex->first, ex->second); });

    auto im = std::make_shared<std::string>();
    auto* importCmd = app.add_subcommand(
        "import", "Send a profile file's three profiles and macros to the keyboard (binary or JSON)");
    importCmd->add_option("FILE", *im, "the file to read ('-': standard input)")->required();
    importCmd->callback([&exitCode, im] { exitCode = RunImport(*im); });

    auto va = std::make_shared<std::pair<std::string, bool>>();
    auto* validate = app.add_subcommand(
        "validate", "Check a profile file the way import does, its macros against the keyboard's macro memory "
                    "(the most a keyboard has when none is present)");
    validate->add_option("FILE", va->first, "the file to check")->required();
    validate->add_flag("--json", va->second, "print the result as JSON");
    validate->callback([&exitCode, va] { exitCode = RunValidate(va->first, va->second); });

    auto sh = std::make_shared<std::pair<std::string, bool>>();
    auto* show = app.add_subcommand("show", "The assignments and macros of a profile file");
    show->add_option("FILE", sh->first, "the file to show")->required();
    show->add_flag("--json", sh->second, "print the JSON form");
    show->callback([&exitCode, sh] { exitCode = RunShow(sh->first, sh->second); });
}

void AddNamesCommand(CLI::App& app, int& exitCode) {
    auto kind = std::make_shared<std::pair<std::string, bool>>("keys", false);
    auto* names = app.add_subcommand("names", "The names quorvanectl takes for keys, media keys, functions, effects and macros");
    OneOf(names->add_option("KIND", kind->first,
                            "keys (default), remappable, media, functions, effects, or macros (the keyboard's)"),
          {"keys", "remappable", "media", "functions", "effects", "macros"});
    names->add_flag("--json", kind->second, "print as a JSON array");
    names->callback([&exitCode, kind] { exitCode = RunNames(kind->first, kind->second); });
}

}  // namespace qv::cli
