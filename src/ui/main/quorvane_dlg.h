#pragma once
// The program's only top-level window (dialog 102): the keyboard drawn as image buttons, the
// profile and report-rate buttons, Apply/OK/Cancel, the tray icon, and the handlers through which
// the device threads reach the window.

#include <QIcon>
#include <QPixmap>
#include <QPointer>
#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "core/app/user_prompt.h"
#include "core/profile/profile_host.h"
#include "core/profile/profile_operations.h"
#include "ui/main/instance_server.h"
#include "ui/main/tray_icon.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/png_button.h"

class QLabel;
class QEventLoop;

namespace qv::device {
class CommandSet;
}
namespace qv::lighting {
enum class LoadReason;
}
namespace qv::platform {
class InstanceLock;
}

namespace qv::ui {

// What a key click hands to the composite editor.
struct KeyEditRequest {
    int page = 0;
    int recordIndex = 0;
    int buttonId = 0;
    bool macroOnly = false;
};

class CLightingPanel;

class CQuorvaneDlg : public CBaseDialog, public ProfileHost {
    Q_OBJECT
public:
    struct Services {
        // Step 4 of the initialisation: the service library, the listeners and the presence
        // worker. Returns false when the library cannot be used (the process then ends quietly).
        std::function<bool(CQuorvaneDlg&)> startDeviceLink;
        device::CommandSet* commands = nullptr;   // may be set by startDeviceLink
        UserPrompt* prompt = nullptr;             // message boxes when null
        FileChooser* fileChooser = nullptr;       // file dialogs when null
        platform::InstanceLock* instanceLock = nullptr;
        std::filesystem::path runtimeFolder;      // instance sockets; none: not reachable
        // The G-key bank as the listener keeps it (0 = A, 1 = B).
        std::function<int()> currentBank;
        // The last keyboard count the presence worker saw, and the macro capacity it read.
        std::function<int()> keyboardCount;
        std::function<std::size_t()> macroCapacity;
        // Later parts of the window: the composite editor, the lighting panel and its preview.
        std::function<void(const KeyEditRequest&)> runCompositeEditor;
        std::function<bool()> lightingViewOn;
        std::function<void(int buttonId)> perKeyColourClick;
        // Arrival, a profile button and the reload timer load differently.
        std::function<void(lighting::LoadReason)> reloadLighting;
        std::function<void()> previewTick;
        // The lighting half of Default, run only while the lighting view is on.
        std::function<void()> restoreLightingDefaults;
        std::function<void()> closeEditors;
        // The profile manager (button 1005) and the firmware update dialog (command 32780),
        // both run modally over the window.
        std::function<void(CQuorvaneDlg&)> runProfileManager;
        std::function<void(CQuorvaneDlg&)> runUpdateDialog;
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
    int SendMessage(std::uint32_t message, std::uint32_t wParam);
    // A command of a button or a menu.
    void OnCommand(int id);
    void StartTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool TimerRunning(int id) const;

    void SetCommands(device::CommandSet* commands);
    device::CommandSet* Commands() const { return services_.commands; }
    ProfileOperations* Profiles() { return profiles_.get(); }

    // Operations other parts call.
    void SetEditing(bool editing);
    bool IsEditing() const;
    void Apply();
    void RefreshKeyButtons();
    bool ShutdownSession();
    void OpenWindow();
    void SetTrayIcon(int iconId);
    void SetTrayState(int kind, int iconId);
    void SetKeyboardPresent(int count);
    int CurrentTrayIcon() const { return currentTrayIcon_; }
    void ShowUserMessage(const std::string& text);
    int KeyboardCount() const;
    std::size_t MacroCapacity() const;
    void ShowBank(int bank);
    void ApplyFlip();
    // Lights the button of the keyboard's active profile and shows it (after the profile manager).
    void ShowActiveProfile();
    UserPrompt& Prompt();
    FileChooser& Chooser();

    CPngButton* Button(int id) const;
    // The lighting panel, once the initialisation has set it up over a keyboard link.
    CLightingPanel* Lighting() const { return lighting_.get(); }
    QLabel* BusyPicture() const { return busyPicture_; }
    CTrayIcon& Tray() { return tray_; }
    QString LinkAddress() const { return link_; }
    bool DialogEnded() const { return ended_; }
    int BusyShownCount() const { return busyShown_; }

    // ProfileHost
    bool CompositeEditorOpen() const override { return compositeOpen_; }
    bool ProfileManagerOpen() const override;
    bool HasUnappliedChanges() const override;
    void RunMainApply() override { OnCommand(1006); }
    void SetMainApplyEnabled(bool enabled) override { SetEditing(enabled); }
    void TickProfileManagerRow(int row) override;
    void SetProfileCaption(const std::string& caption, const std::string& tooltip) override;

signals:
    void windowOpened();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    CPngButton* MakeButton(int id);
    void LoadFacePictures();
    void PlaceButtons();
    void PlaceKeyButtons();
    void StyleOwnButtons();
    void LoadCaptions();
    void OnDeferredInit();
    void OnKeyboardArrival();
    void OnKeyboardRemoval();
    void OnAssignmentsChangedElsewhere();
    void OnTimer(int id);
    void OnKeyClick(int id);
    void RunKeyEditor(int id);
    void SetUpLighting();
    // The first-run setup of the user lighting files (guarded by "usermodeCheck").
    static void SeedUserLighting();
    void ReloadLighting(lighting::LoadReason reason);
    void OnProfileButton(int p);
    void OnReportRate(int k);
    void OnFlip();
    void OnDefault();
    void ShowMainPopup();
    void ShowAbout();
    void LightProfileButton(int p);
    void LightReportButton(int k);
    void ShowReportRateOfShownProfile();
    void ShowBusy();
    void HideBusy();
    void ExitProgram();
    void ArrowAfterPaint(CPngButton* flipButton, bool normalFace);
    int Bank() const;
    bool LightingViewOn() const;
    QIcon IconOf(int id) const;

    Services services_;
    std::map<int, CPngButton*> buttons_;
    // Face sources: the normal set of the key buttons, the second set, arrows, colour keys.
    QPixmap normal_, over_, down_, disable_;
    QPixmap normal2_, over2_, down2_, disable2_;
    QPixmap arrows_, colour0_, colour1_;
    std::array<QPixmap, 10> busyFrames_;
    int busyFrame_ = 0;
    int busyShown_ = 0;
    QLabel* busyPicture_ = nullptr;
    QLabel* usbLabel_ = nullptr;
    std::map<int, std::unique_ptr<QTimer>> timers_;
    CTrayIcon tray_;
    int currentTrayIcon_ = 128;
    int normalTrayIcon_ = 128;
    QString link_;
    InstanceServer instanceServer_;
    std::unique_ptr<UserPrompt> ownPrompt_;
    std::unique_ptr<FileChooser> ownChooser_;
    std::unique_ptr<ProfileOperations> profiles_;
    std::unique_ptr<CLightingPanel> lighting_;
    std::unique_ptr<QEventLoop> loop_;
    bool compositeOpen_ = false;
    bool ended_ = false;
    int endCode_ = 0;
};

}  // namespace qv::ui
