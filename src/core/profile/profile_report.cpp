#include "core/profile/profile_report.h"

#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/media_function_tables.h"
#include "core/keyboard/utf16.h"

namespace qv {
namespace {

struct Line {
    std::string key;
    std::string type;
    std::string detail;
};

const char* TypeName(std::uint16_t type) {
    switch (type) {
        case AssignDisabled: return "disabled";
        case AssignSingleKey: return "key";
        case AssignLaunchProgram: return "program";
        case AssignMacro: return "macro";
        case AssignStopMacro: return "stop-macro";
        case AssignTextBlock: return "text";
        case AssignMedia: return "media";
        case AssignFunctionKey: return "function";
        default: return "unknown";
    }
}

std::string TextOf(const ProfileContent& c, int table, int index) {
    const auto& t = c.texts.At(TextSlotOf(table, index));
    return t ? Utf16ToUtf8(*t) : std::string();
}

std::string MacroNameOfId(const ProfileContent& c, std::uint32_t id) {
    for (const MacroRecord& m : c.macros) {
        if (m.id == id) return m.NameUtf8();
    }
    return {};
}

std::string Detail(const ProfileContent& c, int table, int index) {
    const KeyRecord& r = c.Record(table, index);
    switch (r.type) {
        case AssignSingleKey: return KeyName(static_cast<KeyCode>(r.value));
        case AssignLaunchProgram:
        case AssignTextBlock: return TextOf(c, table, index);
        case AssignMacro: return MacroNameOfId(c, r.value);
        case AssignMedia: return KeyName(MediaKeyCode(static_cast<int>(r.value)));
        case AssignFunctionKey: return FunctionName(static_cast<int>(r.value));
        default: return {};
    }
}

std::vector<Line> LinesOf(const ProfileContent& c, int table) {
    std::vector<Line> lines;
    for (int i = 0; i < kGKeyRecordFirst + kGKeyCount; ++i) {
        const KeyRecord& r = c.Record(table, i);
        if (r.type == AssignDefault) continue;
        lines.push_back({RecordName(i), TypeName(r.type), Detail(c, table, i)});
    }
    return lines;
}

std::string ActionText(const MacroAction& a) {
    return std::string(a.direction == kRelease ? "release " : "press ") + KeyName(a.key) + ", " +
           std::to_string(a.delay) + " ms";
}

}  // namespace

std::string RecordName(int recordIndex) {
    if (recordIndex >= kGKeyRecordFirst && recordIndex < kGKeyRecordFirst + kGKeyCount) {
        const int n = recordIndex - kGKeyRecordFirst;
        return std::string(n < 9 ? "A" : "B") + "-G" + std::to_string(n % 9 + 1);
    }
    return KeyName(SlotToKeyCode(static_cast<CatalogueSlot>(recordIndex & 0xFF)));
}

std::string DescribeAssignment(const ProfileContent& content, int table, int recordIndex) {
    const KeyRecord& r = content.Record(table, recordIndex);
    if (r.type == AssignDefault) return {};
    const std::string detail = Detail(content, table, recordIndex);
    std::string out = TypeName(r.type);
    if (r.type != AssignDisabled && r.type != AssignStopMacro) out += "(" + detail + ")";
    return out;
}

std::string ProfileReportText(const ProfileContent& content) {
    std::string out;
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        out += "profile " + std::to_string(t + 1) + ":\n";  // numbered as the window labels them
        const auto lines = LinesOf(content, t);
        if (lines.empty()) out += "  (factory layout)\n";
        for (int i = 0; i < kGKeyRecordFirst + kGKeyCount; ++i) {
            if (content.Record(t, i).type == AssignDefault) continue;
            out += "  " + RecordName(i) + ": " + DescribeAssignment(content, t, i) + "\n";
        }
    }
    out += "macros: " + std::to_string(content.macros.size()) + "\n";
    for (const MacroRecord& m : content.macros) {
        out += "  " + std::to_string(m.id) + " \"" + m.NameUtf8() + "\" repeat " +
               std::to_string(m.repeatCount) + ", " + std::to_string(m.UsedActions()) + " actions\n";
        for (std::size_t j = 0; j < m.UsedActions(); ++j) out += "    " + ActionText(m.actions[j]) + "\n";
    }
    return out;
}

}  // namespace qv
