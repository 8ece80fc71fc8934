#include "core/macro/macro_steps.h"

#include <cctype>
#include <charconv>
#include <cstdio>

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_names.h"
#include "core/macro/macro_list_rules.h"

namespace qv {
namespace {

constexpr KeyCode kShift = 0x02A;
constexpr KeyCode kSpace = 0x039;
constexpr KeyCode kEnter = 0x01C;
constexpr KeyCode kTab = 0x00F;

struct CharKey {
    char c;
    KeyCode key;
    bool shift;
};

// The US layout's printable characters other than letters and digits.
constexpr CharKey kSymbols[] = {
    {'-', 0x00C, false}, {'_', 0x00C, true},  {'=', 0x00D, false}, {'+', 0x00D, true},
    {'[', 0x01A, false}, {'{', 0x01A, true},  {']', 0x01B, false}, {'}', 0x01B, true},
    {'\\', 0x02B, false}, {'|', 0x02B, true}, {';', 0x027, false}, {':', 0x027, true},
    {'\'', 0x028, false}, {'"', 0x028, true}, {'`', 0x029, false}, {'~', 0x029, true},
    {',', 0x033, false}, {'<', 0x033, true},  {'.', 0x034, false}, {'>', 0x034, true},
    {'/', 0x035, false}, {'?', 0x035, true},  {'!', 0x002, true},  {'@', 0x003, true},
    {'#', 0x004, true},  {'$', 0x005, true},  {'%', 0x006, true},  {'^', 0x007, true},
    {'&', 0x008, true},  {'*', 0x009, true},  {'(', 0x00A, true},  {')', 0x00B, true},
    {' ', kSpace, false}, {'\n', kEnter, false}, {'\t', kTab, false},
};

std::optional<CharKey> KeyOfCharacter(char c) {
    if (c >= 'a' && c <= 'z') return CharKey{c, *FindKeyByName(std::string(1, c)), false};
    if (c >= 'A' && c <= 'Z') {
        return CharKey{c, *FindKeyByName(std::string(1, static_cast<char>(c - 'A' + 'a'))), true};
    }
    if (c >= '0' && c <= '9') return CharKey{c, *FindKeyByName(std::string(1, c)), false};
    for (const CharKey& k : kSymbols) {
        if (k.c == c) return k;
    }
    return std::nullopt;
}

std::optional<KeyCode> KeyOfWord(std::string_view word) {
    if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(word.data() + 2, word.data() + word.size(), value, 16);
        if (ec != std::errc() || end != word.data() + word.size() || value > 0x1FF) return std::nullopt;
        return static_cast<KeyCode>(value);
    }
    return FindKeyByName(word);
}

// "250ms" -> 250; nothing when the word is not a pause.
std::optional<long long> PauseOfWord(std::string_view word) {
    if (word.size() < 3 || word.substr(word.size() - 2) != "ms") return std::nullopt;
    long long value = 0;
    const auto digits = word.substr(0, word.size() - 2);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

// The length in bytes of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t Utf8Length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

StepsResult ParseMacroSteps(std::string_view steps, int defaultPause) {
    StepsResult r;
    // Whether the last action's pause was given explicitly, so the default does not override it.
    bool pauseGiven = false;
    std::size_t i = 0;
    while (i < steps.size()) {
        while (i < steps.size() && std::isspace(static_cast<unsigned char>(steps[i]))) ++i;
        std::size_t j = i;
        while (j < steps.size() && !std::isspace(static_cast<unsigned char>(steps[j]))) ++j;
        if (j == i) break;
        const std::string_view word = steps.substr(i, j - i);
        i = j;

        if (const auto pause = PauseOfWord(word)) {
            if (r.actions.empty()) {
                r.error = "the pause '" + std::string(word) + "' comes before any key";
                return r;
            }
            if (auto bad = CheckStatedPause(*pause)) {
                r.error = *bad;
                return r;
            }
            // Two pauses in a row add up.
            const long long total = (pauseGiven ? r.actions.back().delay : 0) + *pause;
            if (auto bad = CheckStatedPause(total)) {
                r.error = *bad;
                return r;
            }
            r.actions.back().delay = static_cast<std::int32_t>(total);
            pauseGiven = true;
            continue;
        }

        std::string_view name = word;
        int kind = 0;  // 0 tap, 1 press, 2 release
        if (word.size() > 1 && (word[0] == '+' || word[0] == '-')) {
            kind = word[0] == '+' ? 1 : 2;
            name.remove_prefix(1);
        }
        const auto key = KeyOfWord(name);
        if (!key) {
            r.error = UnknownNameMessage("key", name, KeyListNames()) + " in the steps";
            return r;
        }
        const auto add = [&](std::uint16_t direction) {
            if (!r.actions.empty() && !pauseGiven) r.actions.back().delay = defaultPause;
            r.actions.push_back({0, *key, direction});
            pauseGiven = false;
        };
        if (kind != 2) add(kPress);
        if (kind != 1) add(kRelease);
        if (r.actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
            r.error = "a macro holds at most " + std::to_string(kMaxMacroActions) + " actions";
            return r;
        }
    }
    if (r.actions.empty()) r.error = "the steps hold no key";
    return r;
}

std::string FormatMacroSteps(const std::vector<MacroAction>& actions) {
    std::string out;
    for (const MacroAction& a : actions) {
        if (!out.empty()) out += ' ';
        out += a.direction == kRelease ? '-' : '+';
        std::string name = KeyNameForScripts(a.key);
        std::erase_if(name, [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
        // A name that would not read back as this key (none, or a symbol only) goes as its code.
        if (name.empty() || FindKeyByName(name) != a.key) {
            char code[8];
            std::snprintf(code, sizeof code, "0x%03X", a.key);
            name = code;
        }
        out += name;
        if (a.delay != 0) out += ' ' + std::to_string(a.delay) + "ms";
    }
    return out;
}

StepsResult TypeTextActions(std::string_view text, int pause) {
    StepsResult r;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = Utf8Length(static_cast<unsigned char>(text[i]));
        const auto key = length == 1 ? KeyOfCharacter(text[i]) : std::nullopt;
        if (!key) {
            r.error = "the character '" + std::string(text.substr(i, length)) + "' has no key to type it";
            return r;
        }
        i += length;
        if (key->shift) r.actions.push_back({pause, kShift, kPress});
        r.actions.push_back({pause, key->key, kPress});
        r.actions.push_back({pause, key->key, kRelease});
        if (key->shift) r.actions.push_back({pause, kShift, kRelease});
        if (r.actions.size() > static_cast<std::size_t>(kMaxMacroActions)) {
            r.error = "the text needs more than " + std::to_string(kMaxMacroActions) +
                      " actions, the most a macro holds";
            return r;
        }
    }
    if (r.actions.empty()) {
        r.error = "there is no text to type";
        return r;
    }
    r.actions.back().delay = 0;
    return r;
}

}  // namespace qv
