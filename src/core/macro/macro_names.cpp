#include "core/macro/macro_names.h"

#include <charconv>
#include <cstdio>
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

const MacroRecord* FindMacro(const MacroList& list, std::string_view nameOrId, bool byId, std::string* error) {
    const auto fail = [error](std::string text) -> const MacroRecord* {
        if (error != nullptr) *error = std::move(text);
        return nullptr;
    };
    unsigned id = 0;
    const auto [end, ec] = std::from_chars(nameOrId.data(), nameOrId.data() + nameOrId.size(), id);
    const bool digits = !nameOrId.empty() && ec == std::errc() && end == nameOrId.data() + nameOrId.size();
    const MacroRecord* ofId = nullptr;
    if (digits) {
        for (const MacroRecord& m : list) {
            if (m.id == id) ofId = &m;
        }
    }
    if (byId) {
        if (!digits) return fail("a macro id is a number, not '" + std::string(nameOrId) + "'");
        if (ofId == nullptr) return fail("no macro has the id " + std::to_string(id));
        return ofId;
    }
    const std::u16string wanted = Utf8ToUtf16(nameOrId);
    const MacroRecord* named = nullptr;
    for (const MacroRecord& m : list) {
        if (m.Name() == wanted) named = named != nullptr ? named : &m;
    }
    for (const MacroRecord& m : list) {
        if (named == nullptr && Folded(m.Name()) == Folded(wanted)) named = &m;
    }
    if (named != nullptr && ofId != nullptr && named != ofId) {
        return fail("'" + std::string(nameOrId) + "' is the name of macro " + std::to_string(named->id) +
                    " and the id of macro '" + ofId->NameUtf8() + "': say --id " + std::to_string(named->id) +
                    " or --id " + std::to_string(ofId->id));
    }
    if (named != nullptr) return named;
    if (ofId != nullptr) return ofId;
    if (list.empty()) return fail("no macro '" + std::string(nameOrId) + "': the keyboard holds no macros");
    std::vector<std::string> names;
    for (const MacroRecord& m : list) names.push_back(m.NameUtf8());
    return fail(UnknownNameMessage("macro", nameOrId, names));
}

MacroLookup FindMacro(MacroList& list, std::string_view nameOrId, bool byId) {
    MacroLookup out;
    out.macro = const_cast<MacroRecord*>(FindMacro(static_cast<const MacroList&>(list), nameOrId, byId, &out.error));
    return out;
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
    for (const char16_t c : name) {
        // A line break or an escape byte would break the one-line lists that show the name.
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return std::string("a macro name cannot hold control characters (") + code + ")";
        }
    }
    return {};
}

std::string CheckMacroName(std::string_view utf8) {
    if (!IsValidUtf8(utf8)) return "a macro name must be UTF-8 text; this one holds bytes that are not";
    return CheckMacroName(std::u16string_view(Utf8ToUtf16(utf8)));
}

}  // namespace qv
