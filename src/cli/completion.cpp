// quorvanectl __complete WORD...: what a shell offers for the word being typed. The bash, zsh
// and fish completions only hand the line over, so the commands, their options and the names
// they take are known in one place, the command definitions themselves.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli.h"
#include "cli/keyboard_change.h"
#include "core/keyboard/key_names.h"
#include "core/lighting/report_rates.h"

namespace qv::cli {
namespace {

// The arrows are named by symbols no one types; these spellings are taken for them.
const std::vector<std::string> kArrowWords{"Up", "Down", "Left", "Right"};

std::vector<std::string> WithArrowWords(std::vector<std::string> names) {
    names.insert(names.end(), kArrowWords.begin(), kArrowWords.end());
    return names;
}

std::vector<std::string> KeyboardMacroNames() {
    std::vector<std::string> names;
    ReadKeyboard([&names](const KeyboardContents& k) {
        for (const MacroRecord& m : k.content.macros) {
            if (!m.NameUtf8().empty()) names.push_back(m.NameUtf8());
        }
        return kExitOk;
    });
    return names;
}

// The words a "a|b|c" or "0-5" type name stands for.
std::vector<std::string> WordsOfTypeName(const std::string& type) {
    std::vector<std::string> words;
    if (type.find('|') != std::string::npos) {
        std::size_t start = 0;
        for (std::size_t bar; (bar = type.find('|', start)) != std::string::npos; start = bar + 1) {
            words.push_back(type.substr(start, bar - start));
        }
        words.push_back(type.substr(start));
        // "NAME|ID", "NAME|CODE" are placeholders, "A|B" are values.
        if (std::all_of(words.begin(), words.end(), [](const std::string& w) {
                return w.size() > 1 && std::all_of(w.begin(), w.end(), [](unsigned char c) { return std::isupper(c) != 0; });
            })) {
            words.clear();
        }
        return words;
    }
    int low = 0, high = 0;
    const char* end = type.data() + type.size();
    const auto first = std::from_chars(type.data(), end, low);
    if (first.ec != std::errc() || first.ptr == end || *first.ptr != '-') return words;
    const auto second = std::from_chars(first.ptr + 1, end, high);
    if (second.ec != std::errc() || second.ptr != end || high < low || high - low > 20) return words;
    for (int v = low; v <= high; ++v) words.push_back(std::to_string(v));
    return words;
}

// The values `option` of `command` takes; {kFilesWord} for a file name.
std::vector<std::string> ValuesOf(const CLI::App& command, const CLI::Option& option) {
    const std::string name = option.get_name(false, true);
    const std::string& cmd = command.get_name();
    const CLI::App* parent = command.get_parent();
    const bool inMacro = parent != nullptr && parent->get_name() == "macro";
    if (name == "--to") return WithArrowWords(KeyListNames());
    if (name == "--media") return MediaScriptNames();
    if (name == "--function") return FunctionScriptNames();
    if (name == "--macro") return KeyboardMacroNames();
    if (name == "--effect") return KnownEffectNames();
    if (name == "--report-rate") {
        std::vector<std::string> rates;
        for (const int hz : lighting::kReportRatesHz) rates.push_back(std::to_string(hz));
        return rates;
    }
    if (cmd == "key" && name == "KEY") return WithArrowWords(RemappableKeyNames());
    if (inMacro && (name == "NAME" || name == "OLD")) return KeyboardMacroNames();
    if (name == "FILE") return {kFilesWord};
    return WordsOfTypeName(option.get_type_name());
}

bool StartsWithFolded(std::string_view word, std::string_view prefix) {
    if (prefix.size() > word.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(word[i])) != std::tolower(static_cast<unsigned char>(prefix[i]))) {
            return false;
        }
    }
    return true;
}

// The option `word` names in `level` or, for the global ones, above it.
const CLI::Option* FindOption(const CLI::App& level, std::string_view word) {
    const std::string name(word.substr(0, word.find('=')));
    for (const CLI::App* at = &level; at != nullptr; at = at->get_parent()) {
        for (const CLI::Option* o : at->get_options()) {
            if (o->nonpositional() && o->check_name(name)) return o;
        }
    }
    return nullptr;
}

bool TakesValue(const CLI::Option& o) { return o.get_items_expected_max() > 0; }
bool TakesSeveral(const CLI::Option& o) { return o.get_items_expected_max() > 1; }

}  // namespace

std::vector<std::string> CompletionsFor(CLI::App& app, const std::vector<std::string>& words) {
    if (words.empty()) return {};
    const std::string& typed = words.back();
    const CLI::App* level = &app;
    std::set<const CLI::Option*> given;
    const CLI::Option* pending = nullptr;  // an option whose values come next
    bool pendingHasValue = false;
    std::size_t positionals = 0;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string& w = words[i];
        if (w.size() > 1 && w[0] == '-') {
            pending = nullptr;
            const CLI::Option* o = FindOption(*level, w);
            if (o == nullptr) continue;
            given.insert(o);
            if (TakesValue(*o) && w.find('=') == std::string::npos) {
                pending = o;
                pendingHasValue = false;
            }
            continue;
        }
        if (pending != nullptr && (!pendingHasValue || TakesSeveral(*pending))) {
            pendingHasValue = true;
            continue;
        }
        pending = nullptr;
        const CLI::App* sub = nullptr;
        if (positionals == 0) {
            for (const CLI::App* s : level->get_subcommands([](const CLI::App*) { return true; })) {
                if (s->check_name(w)) sub = s;
            }
        }
        if (sub != nullptr) {
            level = sub;
            continue;
        }
        ++positionals;
    }

    std::vector<std::string> offered;
    const bool wantsOption = !typed.empty() && typed[0] == '-';
    if (pending != nullptr && !pendingHasValue) {
        offered = ValuesOf(*level, *pending);
    } else if (wantsOption) {
        for (const CLI::App* at = level; at != nullptr; at = at->get_parent()) {
            for (const CLI::Option* o : at->get_options()) {
                // Each option once; the help is there in any case.
                if (!o->nonpositional() || given.count(o) > 0 || o->get_lnames().empty()) continue;
                const std::string name = o->get_name(false, true);
                if (at != level && (name == "--help" || name == "--version")) continue;
                offered.push_back("--" + o->get_lnames().front());
            }
        }
    } else if (pending != nullptr) {
        offered = ValuesOf(*level, *pending);
    } else {
        if (positionals == 0) {
            for (const CLI::App* s : level->get_subcommands([](const CLI::App*) { return true; })) {
                offered.push_back(s->get_name());
            }
        }
        // The positional that the word would fill: a list takes every word after it.
        std::size_t seen = 0;
        for (const CLI::Option* o : level->get_options()) {
            if (o->nonpositional()) continue;
            const std::size_t takes = TakesSeveral(*o) ? words.size() : 1;
            if (positionals < seen + takes) {
                const auto values = ValuesOf(*level, *o);
                offered.insert(offered.end(), values.begin(), values.end());
                break;
            }
            seen += takes;
        }
    }
    if (offered.size() == 1 && offered.front() == kFilesWord) return offered;
    std::vector<std::string> out;
    std::set<std::string> once;
    for (const std::string& w : offered) {
        if (w != kFilesWord && StartsWithFolded(w, typed) && once.insert(w).second) out.push_back(w);
    }
    if (std::find(offered.begin(), offered.end(), kFilesWord) != offered.end()) out.push_back(kFilesWord);
    return out;
}

}  // namespace qv::cli
