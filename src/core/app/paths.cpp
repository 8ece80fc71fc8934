#include "core/app/paths.h"

#include <utility>

namespace qv {
namespace {

ProgramPaths& ProgramPathsSlot() {
    static ProgramPaths paths;
    return paths;
}

UserPaths& UserPathsSlot() {
    static UserPaths paths;
    return paths;
}

}  // namespace

std::filesystem::path JoinRelative(const std::filesystem::path& folder, std::string_view relative) {
    std::filesystem::path out = folder;
    std::string part;
    for (const char c : relative) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) out /= part;
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) out /= part;
    return out;
}

std::filesystem::path ProgramPaths::Resolve(std::string_view relative) const {
    return JoinRelative(programFolder, relative);
}

ProgramPaths BuildProgramPaths(const std::filesystem::path& executable) {
    ProgramPaths p;
    const std::filesystem::path exe = std::filesystem::absolute(executable).lexically_normal();
    p.programFileName = exe.filename().string();
    p.programFolder = exe.parent_path();
    p.helpFolder = p.programFolder / "Help";
    p.mainSkin = JoinRelative(p.programFolder, "Skins\\Main.ini");
    p.skinFolder = p.mainSkin.parent_path();
    p.profileSkin = JoinRelative(p.programFolder, "Skins\\Profile.ini");
    p.updateSkin = JoinRelative(p.programFolder, "Skins\\UpdateDlg.ini");
    p.compositeSkin = JoinRelative(p.programFolder, "Skins\\Composite.ini");
    p.textTable = JoinRelative(p.programFolder, "Skins\\language.ini");
    p.userLightingTemplatePrefix = JoinRelative(p.programFolder, "Skins\\UserDengColor_");
    p.packageFolder = p.programFolder / "Package";
    p.companionDaemon = p.programFolder / "KbDaemon";
    return p;
}

UserPaths BuildUserPaths(const std::filesystem::path& documentsFolder) {
    UserPaths u;
    u.userFolder = documentsFolder / "Quorvane";
    u.settingsFile = u.userFolder / "wskb.ini";
    u.userLightingPrefix = u.userFolder / "UserDengColor_";
    u.workingProfileFile = u.userFolder / "$Profile0";
    return u;
}

void SetProgramPaths(ProgramPaths paths) { ProgramPathsSlot() = std::move(paths); }
const ProgramPaths& Paths() { return ProgramPathsSlot(); }
void SetUserPaths(UserPaths paths) { UserPathsSlot() = std::move(paths); }
const UserPaths& UserFiles() { return UserPathsSlot(); }

}  // namespace qv
