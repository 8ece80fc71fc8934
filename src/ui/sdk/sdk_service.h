#pragma once
// The SDK server as a feature of the tray program: the keyboard behind the window's lighting
// panel served as one controller, the tray menu's "Allow other programs to control the lighting",
// the lasting setting and the one-run command-line option, and what the user is told when the
// port cannot be had.

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

#include "core/app/settings.h"
#include "core/sdk/keyboard_controller.h"
#include "core/sdk/sdk_server_options.h"
#include "ui/sdk/sdk_server.h"

class QMenu;

namespace qv::ui {

class CQuorvaneDlg;

inline constexpr const char* kSdkMenuText = "Allow other programs to control the lighting";

// The stored options with the command line applied; a bad port on the command line is told on
// stderr and leaves the stored choice.
sdk::SdkServerOptions SdkOptionsForRun(const SettingsStore& store, const QStringList& arguments);

class SdkService : public QObject {
    Q_OBJECT
public:
    // Binds to the window; listens once the tray icon is there when the options say so.
    SdkService(CQuorvaneDlg& window, sdk::SdkServerOptions options, SettingsStore store);
    ~SdkService() override;

    // Listens when enabled (true when listening). A failure is told once: stderr and the tray
    // tooltip; the program goes on without the server.
    bool Start();
    void Stop();
    // The tray menu's entry: stored, then the server follows.
    void SetEnabled(bool enabled);
    bool Enabled() const { return options_.enabled; }
    void AddMenuEntry(QMenu& menu);

    SdkServer& Server() { return *server_; }
    sdk::KeyboardController& Controller() { return controller_; }
    const QString& LastError() const { return error_; }

private:
    void OnKeyboardChanged();
    void TellError();

    CQuorvaneDlg& window_;
    sdk::SdkServerOptions options_;
    SettingsStore store_;
    sdk::KeyboardController controller_;
    std::unique_ptr<SdkServer> server_;
    QString error_;
    bool trayReady_ = false;
};

}  // namespace qv::ui
