#pragma once
// A user lighting file: the ten named per-key layouts (user modes) of one on-board profile, kept
// as an INI file in the per-user folder. Reads give the documented defaults for anything absent
// or unreadable; writes replace the file atomically.

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app/ini_file.h"
#include "core/lighting/colour.h"

namespace qv::lighting {

inline constexpr int kUserModeCount = 10;
inline constexpr int kPristineFileNumber = 3;  // the copy a profile is restored from

enum UserTool : int {
    kEraseTool = 0,
    kPaintTool = 1,
};

struct UserKeyEntry {
    ColourRef colour = kRed;
    bool set = true;  // last painted (true) or erased (false)
    bool operator==(const UserKeyEntry&) const = default;
};

struct UserModeSettings {
    int tool = kEraseTool;
    ColourRef base = kBlack;   // "jcolor": what the paint tool lays down
    ColourRef erase = kBlack;  // "color": what the erase tool lays down
    bool operator==(const UserModeSettings&) const = default;
};

// prefix + number + ".userd" ("%s%d%s").
std::filesystem::path UserLightingFilePath(const std::filesystem::path& prefix, int number);

// "r,g,b,F" and "r,g,b" values; numbers read like "%d" (unread ones keep the default), colour
// components keep their low 8 bits, any non-zero F counts as set.
UserKeyEntry ParseKeyEntry(std::string_view text);
ColourRef ParseColourTriple(std::string_view text);
std::string FormatKeyEntry(const UserKeyEntry& entry);
std::string FormatColourTriple(ColourRef colour);

class UserLightingFile {
public:
    UserLightingFile() = default;
    // A missing or unreadable file reads as all defaults.
    static UserLightingFile Load(const std::filesystem::path& file);
    // The file's content already in memory; Save writes it to `file`.
    static UserLightingFile FromText(const std::filesystem::path& file, std::string_view text);

    // 0..9; a value outside reads as 0.
    int PresentMode() const;
    void SetPresentMode(int mode);
    std::string ModeName(int mode) const;
    void SetModeName(int mode, std::string_view name);
    UserModeSettings Settings(int mode) const;
    void SetSettings(int mode, const UserModeSettings& settings);
    UserKeyEntry Key(int mode, int slot) const;
    void SetKey(int mode, int slot, const UserKeyEntry& entry);

    bool Save() const;
    const std::filesystem::path& File() const { return file_; }
    const ini::IniDocument& Document() const { return doc_; }

private:
    std::filesystem::path file_;
    ini::IniDocument doc_;
};

// The template and the pristine copy are copied line by line, every line end written as CR LF.
// A missing source gives an empty destination. False when the destination cannot be written.
bool CopyAsTextLines(const std::filesystem::path& from, const std::filesystem::path& to);

struct UserLightingPaths {
    std::filesystem::path userPrefix;      // per-user folder + "UserDengColor_"
    std::filesystem::path templatePrefix;  // program folder + "Skins/UserDengColor_"
    std::filesystem::path settingsFile;    // wskb.ini
};

// Seeds the four user lighting files from the template, once per user ("usermodeCheck").
// True when the files were seeded now.
bool SeedUserLightingFiles(const UserLightingPaths& paths);

}  // namespace qv::lighting
