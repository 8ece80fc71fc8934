#include "core/profile/profile_report.h"

#include <cstdio>

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

std::string JsonString(std::string_view s) {
    std::string out = "\"";
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
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
        out += "profile " + std::to_string(t) + ":\n";  // numbered as quorvanectl numbers them
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

std::string ProfileReportJson(const ProfileContent& content) {
    std::string out = "{\n  \"profiles\": [";
    for (int t = 0; t < kOnBoardProfiles; ++t) {
        out += t == 0 ? "\n" : ",\n";
        out += "    {\"profile\": " + std::to_string(t) + ", \"keys\": [";
        const auto lines = LinesOf(content, t);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            out += i == 0 ? "\n" : ",\n";
            out += "      {\"key\": " + JsonString(lines[i].key) + ", \"type\": " +
                   JsonString(lines[i].type) + ", \"target\": " + JsonString(lines[i].detail) + "}";
        }
        out += lines.empty() ? "]}" : "\n    ]}";
    }
    out += "\n  ],\n  \"macros\": [";
    for (std::size_t i = 0; i < content.macros.size(); ++i) {
        const MacroRecord& m = content.macros[i];
        out += i == 0 ? "\n" : ",\n";
        out += "    {\"id\": " + std::to_string(m.id) + ", \"name\": " + JsonString(m.NameUtf8()) +
               ", \"repeat\": " + std::to_string(m.repeatCount) + ", \"actions\": [";
        for (std::size_t j = 0; j < m.UsedActions(); ++j) {
            const MacroAction& a = m.actions[j];
            out += j == 0 ? "" : ", ";
            out += "{\"key\": " + JsonString(KeyName(a.key)) + ", \"code\": " + std::to_string(a.key) +
                   ", \"press\": " + (a.direction == kRelease ? "false" : "true") +
                   ", \"delay\": " + std::to_string(a.delay) + "}";
        }
        out += "]}";
    }
    out += content.macros.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

}  // namespace qv
