// quorvane: the keyboard configuration program.
#include <QApplication>

#include <cstdio>

#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "platform/user_folders.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    qv::SetProgramPaths(qv::BuildProgramPaths(qv::platform::ExecutablePath(argv[0])));
    qv::SetUserPaths(qv::BuildUserPaths(qv::platform::DocumentsFolder()));
    qv::LoadTextTable(qv::Paths().textTable);

    const auto& p = qv::Paths();
    const auto& u = qv::UserFiles();
    const qv::SettingsStore store(qv::SettingsStore::DefaultFile());
    std::printf("%s\n", qv::Text(qv::TextId::MAIN_CAPTION).c_str());
    std::printf("program folder: %s\n", p.programFolder.c_str());
    std::printf("text table:     %s (%s)\n", p.textTable.c_str(),
                qv::LanguageSection(p.textTable).c_str());
    std::printf("main skin:      %s\n", p.mainSkin.c_str());
    std::printf("user folder:    %s\n", u.userFolder.c_str());
    std::printf("settings file:  %s\n", u.settingsFile.c_str());
    std::printf("settings store: %s (Flip=%d)\n", store.File().c_str(), store.ReadFlip());
    return 0;
}
