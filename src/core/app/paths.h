#pragma once
// Every path the tool builds. Program paths come from the executable's own location (never the
// current folder); per-user paths from the documents folder.

#include <filesystem>
#include <string>

namespace qv {

struct ProgramPaths {
    std::string programFileName;             // instance search
    std::filesystem::path programFolder;
    std::filesystem::path helpFolder;         // "Help"
    std::filesystem::path mainSkin;           // "Skins/Main.ini"
    std::filesystem::path skinFolder;
    std::filesystem::path profileSkin;        // "Skins/Profile.ini"
    std::filesystem::path updateSkin;         // "Skins/UpdateDlg.ini"
    std::filesystem::path compositeSkin;      // "Skins/Composite.ini"
    std::filesystem::path textTable;          // "Skins/language.ini"
    std::filesystem::path userLightingTemplatePrefix;  // "Skins/UserDengColor_"
    std::filesystem::path packageFolder;      // "Package"
    std::filesystem::path companionDaemon;    // "KbDaemon"

    // A skin picture named relative to the program folder ("Skins\main_normal.jpg").
    std::filesystem::path Resolve(std::string_view relative) const;
};

struct UserPaths {
    std::filesystem::path userFolder;         // documents + "Quorvane"
    std::filesystem::path settingsFile;       // wskb.ini
    std::filesystem::path userLightingPrefix; // "UserDengColor_"
    std::filesystem::path workingProfileFile; // "$Profile0"
};

ProgramPaths BuildProgramPaths(const std::filesystem::path& executable);
UserPaths BuildUserPaths(const std::filesystem::path& documentsFolder);

// Joins a Windows-style relative name ("Skins\\Main.ini") to a folder.
std::filesystem::path JoinRelative(const std::filesystem::path& folder, std::string_view relative);

// Process-wide values, set once by the start routine.
void SetProgramPaths(ProgramPaths paths);
const ProgramPaths& Paths();
void SetUserPaths(UserPaths paths);
const UserPaths& UserFiles();

}  // namespace qv
