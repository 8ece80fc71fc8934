#include "core/keyboard/key_names.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "core/keyboard/key_buttons.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_record.h"
#include "core/keyboard/media_function_tables.h"

namespace qv {
namespace {

struct Alias {
    const char* name;
    KeyCode code;
};

// Names a shell user types for keys whose catalogue name is a symbol or a short form.
constexpr Alias kAliases[] = {
    {"Up", 0x148},          {"Down", 0x150},         {"Left", 0x14B},          {"Right", 0x14D},
    {"Escape", 0x001},      {"Return", 0x01C},       {"Left Ctrl", 0x01D},     {"Left Shift", 0x02A},
    {"Left Alt", 0x038},    {"Left Win", 0x15B},     {"Menu", 0x15D},          {"Minus", 0x00C},
    {"Equals", 0x00D},      {"Left Bracket", 0x01A}, {"Right Bracket", 0x01B}, {"Backslash", 0x02B},
    {"Semicolon", 0x027},   {"Quote", 0x028},        {"Grave", 0x029},         {"Comma", 0x033},
    {"Period", 0x034},      {"Slash", 0x035},        {"PrtSc", 0x137},         {"Del", 0x153},
    {"Ins", 0x152},         {"PgUp", 0x149},         {"PgDn", 0x151},          {"Esc", 0x001},
};

const std::array<std::string, kMediaCount> kMediaScriptNames = {
    "media-player", "play-pause", "stop",        "previous-track", "next-track",  "volume-down",
    "volume-up",    "mute",       "www-home",    "www-refresh",    "www-stop",    "www-back",
    "www-forward",  "www-favourites", "www-search", "my-computer", "calculator", "mail",
};

const std::array<std::string, kFunctionCount> kFunctionScriptNames = {
    "open", "new", "undo", "save", "copy", "cut", "paste", "find", "select-all", "zoom-out", "zoom-in",
};

// Media and function names also match without their dashes ("volume up", "VolumeUp").
std::string LooseKey(std::string_view text) {
    std::string out = NameKey(text);
    std::erase_if(out, [](char c) { return c == '-' || c == '_'; });
    return out;
}

std::optional<int> IndexOf(std::string_view typed, int count, const std::string& (*scriptName)(int),
                           const std::string& (*shownName)(int)) {
    int number = 0;
    const auto [end, ec] = std::from_chars(typed.data(), typed.data() + typed.size(), number);
    if (ec == std::errc() && end == typed.data() + typed.size()) {
        if (number >= 0 && number < count) return number;
        return std::nullopt;
    }
    const std::string key = LooseKey(typed);
    if (key.empty()) return std::nullopt;
    for (int i = 0; i < count; ++i) {
        if (LooseKey(scriptName(i)) == key) return i;
    }
    for (int i = 0; i < count; ++i) {
        if (LooseKey(shownName(i)) == key) return i;
    }
    return std::nullopt;
}

const std::string& MediaShownName(int index) { return MediaName(index); }
const std::string& FunctionShownName(int index) { return FunctionName(index); }

std::size_t EditDistance(const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

bool IsKeyButton(KeyCode code) {
    const auto& buttons = KeyButtonTable();
    return std::any_of(buttons.begin(), buttons.end(), [code](const KeyButton& b) { return b.code == code; });
}

}  // namespace

std::string NameKey(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::optional<KeyCode> FindKeyByName(std::string_view typed) {
    const std::string key = NameKey(typed);
    if (key.empty()) return std::nullopt;
    for (int p = 0; p < kKeyListSize; ++p) {
        if (NameKey(KeyListName(p)) == key) return KeyCodeAtListPosition(p);
    }
    for (const Alias& a : kAliases) {
        if (NameKey(a.name) == key) return a.code;
    }
    return std::nullopt;
}

std::string KeyNameForScripts(KeyCode code) {
    const std::uint16_t position = KeyListPositionOf(code);
    if (position < kKeyListSize && KeyCodeAtListPosition(position) == code) return KeyListName(position);
    return {};
}

std::optional<RemappableKey> FindRemappableKey(std::string_view typed, bool bankB) {
    std::string key = NameKey(typed);
    if (key.size() >= 3 && (key[0] == 'a' || key[0] == 'b') && key[1] == '-') {
        bankB = key[0] == 'b';
        key.erase(0, 2);
    }
    if (key.size() == 2 && key[0] == 'g' && key[1] >= '1' && key[1] <= '9') {
        const int n = (key[1] - '1') + (bankB ? 9 : 0);
        return RemappableKey{kGKeyRecordFirst + n, std::string(bankB ? "B" : "A") + "-G" + key.substr(1)};
    }
    const auto code = FindKeyByName(typed);
    if (!code || !IsKeyButton(*code)) return std::nullopt;
    return RemappableKey{KeyCodeToSlot(*code), KeyNameForScripts(*code)};
}

bool IsRemappableRecord(int index) {
    if (index >= kGKeyRecordFirst) return index < kGKeyRecordFirst + kGKeyCount;
    return index >= 0 && IsKeyButton(SlotToKeyCode(static_cast<CatalogueSlot>(index)));
}

std::vector<std::string> KeyListNames() {
    std::vector<std::string> names;
    for (int p = 0; p < kKeyListSize; ++p) names.push_back(KeyListName(p));
    return names;
}

std::vector<std::string> RemappableKeyNames() {
    std::vector<std::string> names;
    for (int p = 0; p < kKeyListSize; ++p) {
        if (IsKeyButton(KeyCodeAtListPosition(p))) names.push_back(KeyListName(p));
    }
    for (int n = 1; n <= 9; ++n) names.push_back("G" + std::to_string(n));
    return names;
}

std::optional<int> FindMediaByName(std::string_view typed) {
    return IndexOf(typed, kMediaCount, MediaScriptName, MediaShownName);
}

std::optional<int> FindFunctionByName(std::string_view typed) {
    return IndexOf(typed, kFunctionCount, FunctionScriptName, FunctionShownName);
}

const std::string& MediaScriptName(int index) {
    static const std::string none;
    return index >= 0 && index < kMediaCount ? kMediaScriptNames[static_cast<std::size_t>(index)] : none;
}

const std::string& FunctionScriptName(int index) {
    static const std::string none;
    return index >= 0 && index < kFunctionCount ? kFunctionScriptNames[static_cast<std::size_t>(index)] : none;
}

std::vector<std::string> MediaScriptNames() { return {kMediaScriptNames.begin(), kMediaScriptNames.end()}; }
std::vector<std::string> FunctionScriptNames() {
    return {kFunctionScriptNames.begin(), kFunctionScriptNames.end()};
}

std::vector<std::string> ClosestNames(std::string_view typed, const std::vector<std::string>& candidates,
                                      std::size_t count) {
    const std::string key = NameKey(typed);
    // A slip of a character or two, more for long names; a shared beginning counts as near too.
    const std::size_t limit = std::max<std::size_t>(2, key.size() / 3);
    std::vector<std::pair<std::size_t, const std::string*>> scored;
    for (const std::string& c : candidates) {
        const std::string ck = NameKey(c);
        std::size_t d = EditDistance(key, ck);
        if (key.size() >= 3 && ck.rfind(key, 0) == 0) d = std::min<std::size_t>(d, 1);
        if (d <= limit && d < std::max(key.size(), ck.size())) scored.emplace_back(d, &c);
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> out;
    for (const auto& [d, name] : scored) {
        if (out.size() == count) break;
        if (std::find(out.begin(), out.end(), *name) == out.end()) out.push_back(*name);
    }
    return out;
}

std::string UnknownNameMessage(std::string_view kind, std::string_view typed,
                               const std::vector<std::string>& candidates) {
    std::string text = "unknown " + std::string(kind) + " '" + std::string(typed) + "'";
    const auto near = ClosestNames(typed, candidates);
    if (near.empty()) return text;
    text += " (did you mean ";
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (i > 0) text += i + 1 == near.size() ? " or " : ", ";
        text += near[i];
    }
    return text + "?)";
}

}  // namespace qv
