#include "core/macro/macro_names.h"

#include <charconv>
#include <vector>

#include "core/keyboard/key_names.h"
#include "core/keyboard/utf16.h"

namespace qv {
namespace {

std::u16string Folded(std::u16string_view s) {
    std::u16string out(s);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

}  // namespace

const MacroRecord* FindMacro(const MacroList& list, std::string_view nameOrId) {
    const std::u16string wanted = Utf8ToUtf16(nameOrId);
    for (const MacroRecord& m : list) {
        if (m.Name() == wanted) return &m;
    }
    for (const MacroRecord& m : list) {
        if (Folded(m.Name()) == Folded(wanted)) return &m;
    }
    unsigned id = 0;
    const auto [end, ec] = std::from_chars(nameOrId.data(), nameOrId.data() + nameOrId.size(), id);
    if (ec == std::errc() && end == nameOrId.data() + nameOrId.size()) {
        for (const MacroRecord& m : list) {
            if (m.id == id) return &m;
        }
    }
    return nullptr;
}

MacroRecord* FindMacro(MacroList& list, std::string_view nameOrId) {
    return const_cast<MacroRecord*>(FindMacro(static_cast<const MacroList&>(list), nameOrId));
}

std::string UnknownMacroMessage(const MacroList& list, std::string_view nameOrId) {
    if (list.empty()) return "no macro '" + std::string(nameOrId) + "': the keyboard holds no macros";
    std::vector<std::string> names;
    for (const MacroRecord& m : list) names.push_back(m.NameUtf8());
    return UnknownNameMessage("macro", nameOrId, names);
}

MacroRecord* FindMacroByName(MacroList& list, std::u16string_view name) {
    for (MacroRecord& m : list) {
        if (Folded(m.Name()) == Folded(name)) return &m;
    }
    return nullptr;
}

bool MacroNameTaken(const MacroList& list, std::u16string_view name, const MacroRecord* except) {
    for (const MacroRecord& m : list) {
        if (&m != except && Folded(m.Name()) == Folded(name)) return true;
    }
    return false;
}

std::string CheckMacroName(std::u16string_view name) {
    if (name.empty()) return "a macro needs a name";
    if (name.size() >= static_cast<std::size_t>(kMacroNameUnits)) {
        return "macro names are at most " + std::to_string(kMacroNameUnits - 1) + " characters long";
    }
    if (name.find(u'\0') != std::u16string_view::npos) return "a macro name cannot hold a NUL character";
    return {};
}

}  // namespace qv
