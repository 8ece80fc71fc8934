#include "support/sample_profile_content.h"

#include <cstdio>

namespace qv::test {

ProfileContent KeyboardHeldContent() {
    ProfileContent c = DefaultProfileContent();
    for (int t = 0; t < 3; ++t) {
        const auto u = static_cast<std::uint32_t>(t);
        c.Record(t, 0x1E) = {AssignSingleKey, 0, 0x030 + u, 0, 0};
        c.Record(t, 0x01D) = {AssignSingleKey, 0, 0x15C, 0, 0};  // Ctrl sends Right Win
        c.Record(t, 0x02A) = {AssignSingleKey, 0, 0x01E, 0, 0};  // Shift sends A
        c.Record(t, 0x3B) = {AssignDisabled, 0, 0, 0, 0};
        c.Record(t, 0x3C) = {AssignMedia, 0, u * 5 + 2, 0, 0};
        c.Record(t, 0x3D) = {AssignFunctionKey, 0, u + 1, 0, 0};
        c.Record(t, 0x3E) = {AssignMacro, 0, u + 1, 0, 0};
        c.Record(t, 0x3F) = {AssignStopMacro, 0, 0, 0, 0};
        c.Record(t, KeyCodeToSlot(0x110)) = {AssignSingleKey, 0, 0x039, 0, 0};  // the media key sends Space
    }
    for (int i = 0; i < 3; ++i) {
        MacroRecord& m = c.macros.emplace_back();
        if (i != 1) m.SetName(u"macro \u00e9" + std::u16string(1, static_cast<char16_t>(u'a' + i)));
        m.id = static_cast<std::uint16_t>(i + 1);
        m.repeatCount = static_cast<std::uint8_t>(i + 2);
        m.actionCount = 4;
        m.actions[0] = {100, 0x02A, kPress};
        m.actions[1] = {20, 0x01E, kPress};
        m.actions[2] = {0, 0x130, kRelease};
        m.actions[3] = {40000, 0x15F, kRelease};
    }
    return c;
}

ProfileContent KeyboardHeldContentAsReadBack() {
    ProfileContent c = KeyboardHeldContent();
    c.macros[1].SetName(u"Macro2");
    return c;
}

std::string TableDifferences(const KeyTable& actual, const KeyTable& expected) {
    std::string out;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const KeyRecord& a = actual[i];
        const KeyRecord& e = expected[i];
        if (a == e) continue;
        char line[160];
        std::snprintf(line, sizeof line, "record 0x%03zx: %u/%04x/%x, expected %u/%04x/%x\n", i, a.type,
                      a.aux, a.value, e.type, e.aux, e.value);
        out += line;
    }
    return out;
}

}  // namespace qv::test
