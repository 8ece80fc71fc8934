// quorvane: the keyboard configuration program. The start routine builds the paths and the text
// table, enforces the single instance, starts the companion and runs the main window until it
// ends.
#include <QApplication>
#include <QStringList>

#include <unistd.h>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "platform/instance_lock.h"
#include "platform/user_folders.h"
#include "ui/app/command_line.h"
#include "ui/app/device_session.h"
#include "ui/controls/control_style.h"
#include "ui/input/key_event_filter.h"
#include "ui/editor/composite_editor_service.h"
#include "ui/main/instance_control.h"
#include "ui/main/quorvane_dlg.h"
#include "ui/sdk/sdk_service.h"

int main(int argc, char* argv[]) {
    if (const auto exitCode = qv::ui::AnswerInformationOptions(argc, argv, stdout)) return *exitCode;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Quorvane");
    QApplication::setOrganizationName("Quorvane_Ostrel");
    // The window hides itself into the tray; that is no reason to end.
    QApplication::setQuitOnLastWindowClosed(false);
    // Message boxes, menus and the standard dialogs in the skin's dark look.
    qv::ui::ApplySkinLook(app);
    // A Wayland compositor finds the program's icon and name through its desktop entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvane"));
    // The editor's key capture and the macro recorder listen through this one filter.
    qv::ui::InstallKeyEventFilter(app);

    qv::SetProgramPaths(qv::BuildProgramPaths(qv::platform::ExecutablePath(argv[0])));
    qv::SetUserPaths(qv::BuildUserPaths(qv::platform::DocumentsFolder()));
    qv::LoadTextTable(qv::Paths().textTable);

    qv::ui::InstanceEnvironment env;
    env.programFileName = qv::Paths().programFileName;
    env.runtimeFolder = qv::platform::RuntimeFolder();
    env.self = ::getpid();
    qv::platform::InstanceLock lock;
    int autoOpen = 0;
    if (const auto exitCode = qv::ui::EnforceSingleInstance(QApplication::arguments(), env, lock, autoOpen)) {
        return *exitCode;
    }
    qv::ui::StartCompanion(qv::Paths().companionDaemon);

    qv::ui::DeviceSession device;
    qv::ui::CompositeEditorService keyEditor;
    qv::ui::CQuorvaneDlg::Services services;
    services.device = &device;
    services.keyEditor = &keyEditor;
    services.instanceLock = &lock;
    services.runtimeFolder = env.runtimeFolder;
    services.autoOpen = autoOpen;
    {
        qv::ui::CQuorvaneDlg dialog(std::move(services));
        // Other programs drive the lighting through it when the user allows it (or for this run).
        const qv::SettingsStore store(qv::SettingsStore::DefaultFile());
        qv::ui::SdkService sdk(dialog, qv::ui::SdkOptionsForRun(store, QApplication::arguments()), store);
        dialog.DoModal();
        // The device threads stop asking the window before it goes.
        device.Close();
    }
    lock.Close();
    // However the window ended, the program ends normally.
    return 0;
}
