#pragma once
// The program's only top-level window (dialog 102). It binds its widgets to the main window's
// model: the keyboard drawn as image buttons, the profile and report-rate buttons, Apply/OK/
// Cancel, the tray icon, and the messages through which the device threads reach the window.

#include <QIcon>
#include <QTimer>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "core/app/user_prompt.h"
#include "core/mainwin/main_window_model.h"
#include "ui/common/key_editor_runner.h"
#include "ui/main/busy_indicator.h"
#include "ui/main/instance_server.h"
#include "ui/main/on_screen_keyboard.h"
#include "ui/main/tray_icon.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/png_button.h"
#include "ui/main/window_dialogs.h"

class QLabel;
class QEventLoop;

namespace qv::platform {
class InstanceLock;
}

namespace qv::ui {

class CQuorvaneDlg;
class CLightingPanel;

// The keyboard link as the window starts it: the service library, its listeners and the
// presence worker, and what they know of the keyboard.
class DeviceConnector : public mainwin::KeyboardFacts {
public:
    // False when the library cannot be used (the process then ends quietly).
    virtual bool Start(CQuorvaneDlg& window) = 0;
    // The command set once started; none when the link has no keyboard side (tests).
    virtual device::CommandSet* Commands() = 0;
};

// The first-run setup of the user lighting files.
void SeedUserLighting();

class CQuorvaneDlg : public CBaseDialog, private mainwin::MainWindowView {
    Q_OBJECT
public:
    struct Services {
        DeviceConnector* device = nullptr;     // none: no keyboard link at all
        UserPrompt* prompt = nullptr;          // message boxes when null
        FileChooser* fileChooser = nullptr;    // file dialogs when null
        KeyEditorRunner* keyEditor = nullptr;  // key clicks edit nothing when null
        platform::InstanceLock* instanceLock = nullptr;
        std::filesystem::path runtimeFolder;   // instance sockets; none: not reachable
        int autoOpen = 0;                      // the start routine's flag (/Start)
    };

    explicit CQuorvaneDlg(Services services, QWidget* parent = nullptr);
    ~CQuorvaneDlg() override;

    // Runs the initialisation, then the window's loop until the dialog ends; the window itself
    // stays hidden until it is opened.
    int DoModal() override;
    bool OnInitDialog() override;
    void EndDialog(int code);

    // Window messages, from this thread or any other.
    int OnMessage(std::uint32_t message, std::uint32_t wParam);
    void PostMessage(std::uint32_t message, std::uint32_t wParam);
    // A command of a button or a menu.
    void OnCommand(int id);
    void StartTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool TimerRunning(int id) const;
    // Whether the timer wakes the program now: the preview timer stays armed without while a
    // tick would draw nothing.
    bool TimerWakes(int id) const;

    mainwin::MainWindowModel& Model() { return model_; }
    device::CommandSet* Commands() const { return model_.Commands(); }
    ProfileOperations* Profiles() { return model_.Profiles(); }

    void SetEditing(bool editing) { model_.SetEditing(editing); }
    bool IsEditing() const { return model_.IsEditing(); }
    void Apply() { model_.Apply(); }
    void RefreshKeyButtons() { model_.RefreshKeyButtons(); }
    bool ShutdownSession();
    void OpenWindow();
    // Shown whether or not a keyboard is counted yet (it is back from its firmware loader).
    void ShowWindow();
    void SetTrayState(int kind, int iconId);
    int CurrentTrayIcon() const { return currentTrayIcon_; }
    // What the device layer has to say: a keyboard that cannot be reached or read.
    void ShowUserMessage(const std::string& text) { Prompt().ShowWarning(text); }
    void ShowBank(int bank) { keyboard_.ShowBank(bank); }
    void ApplyFlip() { keyboard_.ApplyFlip(); }
    UserPrompt& Prompt() { return *prompt_; }
    FileChooser& Chooser() { return *chooser_; }

    // The lighting panel, once the initialisation has set it up over a keyboard link.
    CLightingPanel* Lighting() const { return lighting_.get(); }
    QLabel* BusyPicture() const { return busy_.Picture(); }
    CTrayIcon& Tray() { return tray_; }
    QString LinkAddress() const { return link_; }
    bool DialogEnded() const { return ended_; }
    int BusyShownCount() const { return busy_.ShownCount(); }

    // Entries other features add to the tray menu each time it is built (before Exit).
    void SetTrayMenuExtras(std::function<void(QMenu&)> extras) { trayExtras_ = std::move(extras); }

signals:
    void windowOpened();
    // The keyboard arrived (its lighting is read) or left.
    void keyboardChanged();
    // The tray icon exists (its tooltip can be changed from now).
    void trayReady();

protected:
    void OnButtonClicked(int id) override { OnCommand(id); }
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void ReloadPictures() override;

private:
    // MainWindowView
    void ShowEditing(bool editing) override;
    void LightProfileButton(int p) override;
    void LightReportButton(int k) override;
    void ShowBusy() override { busy_.Show(); }
    void HideBusy() override { busy_.Hide(); }
    void Minimise() override { showMinimized(); }
    void SetProfileCaption(const std::string& caption, const std::string& tooltip) override;

    void OnDeferredInit();
    void OnTimer(int id);
    // The preview timer stays armed for the life of the window, but it only wakes the program
    // while a tick would draw something: shown, not minimised, the lighting view on. These
    // start it again when that becomes true.
    bool PreviewWanted() const;
    void ResumePreview();
    void OnKeyClick(int id);
    void SetUpLighting();
    void RunProfileManager();
    void RunUpdateDialog();
    void ShowMainPopup();
    void ShowAbout();
    void ExitProgram();
    void SetTrayIcon(int iconId);
    QIcon IconOf(int id) const;

    Services services_;
    std::unique_ptr<UserPrompt> ownPrompt_;
    std::unique_ptr<FileChooser> ownChooser_;
    UserPrompt* prompt_;
    FileChooser* chooser_;
    std::unique_ptr<mainwin::KeyboardFacts> noDevice_;
    CWindowDialogs dialogs_{services_.keyEditor};
    MainFaces faces_;
    // Before the model, which refreshes the key buttons through it.
    COnScreenKeyboard keyboard_;
    mainwin::MainWindowModel model_;
    CBusyIndicator busy_{*this};
    QLabel* usbLabel_ = nullptr;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    bool previewArmed_ = false;
    // A second after the start has settled (the tray made, the window shown and painted), the
    // heap the picture decoding left behind is given back; once, not a recurring wake-up.
    QTimer heapRelease_;
    CTrayIcon tray_;
    int currentTrayIcon_ = 128;
    int normalTrayIcon_ = 128;
    QString link_;
    InstanceServer instanceServer_;
    std::unique_ptr<CLightingPanel> lighting_;
    std::unique_ptr<mainwin::LightingHost> lightingHost_;
    std::unique_ptr<QEventLoop> loop_;
    std::function<void(QMenu&)> trayExtras_;
    bool noKeyboardShown_ = false;
    bool reopenAfterUpdate_ = false;
    bool ended_ = false;
    int endCode_ = 0;
};

}  // namespace qv::ui
