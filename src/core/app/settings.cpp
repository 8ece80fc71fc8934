#include "core/app/settings.h"

#include <cstdlib>

#include "core/app/ini_file.h"
#include "core/app/text_table.h"

namespace qv {
namespace {
constexpr std::string_view kKeyColour = "KEYCOLOR";
}

// Both flags are numbers like every other value of the file: "01" and " 1" are on.
bool SettingsFile::LightingViewOn() const {
    return ini::ParseLong(ini::GetString(file_, kKeyColour, "DengCheck", "0")) == 1;
}

bool SettingsFile::SetLightingView(bool on) const {
    return ini::WriteString(file_, kKeyColour, "DengCheck", on ? "1" : "0");
}

bool SettingsFile::UserModesSeeded() const {
    return ini::ParseLong(ini::GetString(file_, kKeyColour, "usermodeCheck", "0")) == 1;
}

bool SettingsFile::SetUserModesSeeded(bool seeded) const {
    return ini::WriteString(file_, kKeyColour, "usermodeCheck", seeded ? "1" : "0");
}

std::filesystem::path SettingsStore::DefaultFile(std::string_view application) {
    std::filesystem::path base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = std::filesystem::path(home) / ".config";
    } else {
        base = std::filesystem::temp_directory_path();
    }
    return base / std::string(kRoot) / (std::string(application) + ".ini");
}

std::optional<std::string> SettingsStore::ReadValue(std::string_view name) const {
    return ini::IniDocument::Load(file_).Find(kSection, name);
}

bool SettingsStore::WriteValue(std::string_view name, std::string_view value) const {
    std::error_code ec;
    std::filesystem::create_directories(file_.parent_path(), ec);
    return ini::WriteString(file_, kSection, name, value);
}

bool SettingsStore::RemoveValue(std::string_view name) const {
    auto doc = ini::IniDocument::Load(file_);
    if (!doc.Find(kSection, name)) return true;
    doc.Remove(kSection, name);
    return doc.Save(file_);
}

int SettingsStore::ReadSwitch(std::string_view name) const {
    const auto v = ReadValue(name);
    if (!v) return 0;
    return ini::ParseLong(*v) == 1 ? 1 : 0;
}

int SettingsStore::WriteSwitch(std::string_view name, int v) const {
    const int stored = (v == 0 || v == 1) ? v : 0;
    WriteValue(name, stored == 1 ? "1" : "0");
    return stored;
}

int SettingsStore::ReadFlip() const { return ReadSwitch("Flip"); }
int SettingsStore::WriteFlip(int v) const { return WriteSwitch("Flip", v); }
int SettingsStore::ReadRecordDelay() const {
    return ReadSwitch(Text(TextId::MACRO_ACTION_RECORD_DELAY));
}
int SettingsStore::WriteRecordDelay(int v) const {
    return WriteSwitch(Text(TextId::MACRO_ACTION_RECORD_DELAY), v);
}

}  // namespace qv
