#include "core/lighting/user_lighting_file.h"

#include <cstdio>

#include "core/app/settings.h"
#include "platform/atomic_file.h"

namespace qv::lighting {
namespace {

constexpr std::string_view kPresentSection = "PRESENTMODE";
constexpr std::string_view kNameSection = "MODENAME";

std::string ModeSection(int mode) { return "Mode" + std::to_string(mode); }

// Reads up to `count` numbers the way "%d,%d,..." does: each may follow blanks, a separator must
// match exactly, and the first failure ends the scan. Returns how many were read.
int ScanNumbers(std::string_view text, long* out, int count) {
    std::size_t i = 0;
    int read = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
    };
    while (read < count) {
        if (read > 0) {
            if (i >= text.size() || text[i] != ',') break;
            ++i;
        }
        skipBlanks();
        bool negative = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
        if (i >= text.size() || text[i] < '0' || text[i] > '9') break;
        long v = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            if (v < 100000000L) v = v * 10 + (text[i] - '0');  // saturate; only the low byte is kept
            ++i;
        }
        out[read++] = negative ? -v : v;
    }
    return read;
}

std::uint8_t LowByte(long v) { return static_cast<std::uint8_t>(static_cast<unsigned long>(v) & 0xFFu); }

}  // namespace

std::filesystem::path UserLightingFilePath(const std::filesystem::path& prefix, int number) {
    std::filesystem::path p = prefix;
    p += std::to_string(number) + ".userd";
    return p;
}

UserKeyEntry ParseKeyEntry(std::string_view text) {
    long v[4] = {255, 0, 0, 1};
    ScanNumbers(text, v, 4);
    return {MakeColour(LowByte(v[0]), LowByte(v[1]), LowByte(v[2])), v[3] != 0};
}

ColourRef ParseColourTriple(std::string_view text) {
    long v[3] = {0, 0, 0};
    ScanNumbers(text, v, 3);
    return MakeColour(LowByte(v[0]), LowByte(v[1]), LowByte(v[2]));
}

std::string FormatKeyEntry(const UserKeyEntry& e) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", RedOf(e.colour), GreenOf(e.colour), BlueOf(e.colour), e.set ? 1 : 0);
    return buf;
}

std::string FormatColourTriple(ColourRef c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%d,%d,%d", RedOf(c), GreenOf(c), BlueOf(c));
    return buf;
}

UserLightingFile UserLightingFile::Load(const std::filesystem::path& file) {
    UserLightingFile f;
    f.file_ = file;
    f.doc_ = ini::IniDocument::Load(file);
    return f;
}

UserLightingFile UserLightingFile::FromText(const std::filesystem::path& file, std::string_view text) {
    UserLightingFile f;
    f.file_ = file;
    f.doc_ = ini::IniDocument::Parse(text);
    return f;
}

int UserLightingFile::PresentMode() const {
    const int m = doc_.GetInt(kPresentSection, "mode", 0);
    return (m >= 0 && m < kUserModeCount) ? m : 0;
}

void UserLightingFile::SetPresentMode(int mode) { doc_.Set(kPresentSection, "mode", std::to_string(mode)); }

std::string UserLightingFile::ModeName(int mode) const {
    return doc_.Get(kNameSection, std::to_string(mode), "0");
}

void UserLightingFile::SetModeName(int mode, std::string_view name) {
    doc_.Set(kNameSection, std::to_string(mode), name);
}

UserModeSettings UserLightingFile::Settings(int mode) const {
    const std::string section = ModeSection(mode);
    UserModeSettings s;
    s.tool = doc_.GetInt(section, "tool", 0);
    s.base = ParseColourTriple(doc_.Get(section, "jcolor", "0,0,0"));
    s.erase = ParseColourTriple(doc_.Get(section, "color", "0,0,0"));
    return s;
}

void UserLightingFile::SetSettings(int mode, const UserModeSettings& s) {
    const std::string section = ModeSection(mode);
    doc_.Set(section, "tool", std::to_string(s.tool));
    doc_.Set(section, "jcolor", FormatColourTriple(s.base));
    doc_.Set(section, "color", FormatColourTriple(s.erase));
}

UserKeyEntry UserLightingFile::Key(int mode, int slot) const {
    return ParseKeyEntry(doc_.Get(ModeSection(mode), std::to_string(slot), "255,0,0,1"));
}

void UserLightingFile::SetKey(int mode, int slot, const UserKeyEntry& entry) {
    doc_.Set(ModeSection(mode), std::to_string(slot), FormatKeyEntry(entry));
}

bool UserLightingFile::Save() const { return doc_.Save(file_); }

bool CopyAsTextLines(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::string out;
    if (const auto bytes = ReadWholeFile(from)) {
        out.reserve(bytes->size() + bytes->size() / 16);
        for (std::size_t i = 0; i < bytes->size(); ++i) {
            const char c = static_cast<char>((*bytes)[i]);
            if (c == '\r' && i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') continue;  // CR LF reads as LF
            if (c == '\n') out += '\r';
            out += c;
        }
    }
    return WriteFileAtomically(to, std::string_view(out));
}

bool SeedUserLightingFiles(const UserLightingPaths& paths) {
    SettingsFile settings(paths.settingsFile);
    if (settings.UserModesSeeded()) return false;
    const auto source = UserLightingFilePath(paths.templatePrefix, kPristineFileNumber);
    for (int i = 0; i <= kPristineFileNumber; ++i) {
        CopyAsTextLines(source, UserLightingFilePath(paths.userPrefix, i));
    }
    settings.SetUserModesSeeded(true);
    return true;
}

}  // namespace qv::lighting
