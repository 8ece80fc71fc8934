#pragma once
// The firmware update dialog (resource 149): choose the updater, send the keyboard into its
// firmware loader and start the updater, or back up the settings first. Laid out from
// Skins/UpdateDlg.ini.

#include <QPixmap>

#include <optional>

#include <map>

#include "core/profile/firmware_update.h"
#include "ui/skin/base_dialog.h"

class QLabel;
class QLineEdit;

namespace qv::device {
class CommandSet;
}

namespace qv::ui {

class CPngButton;

class CQuorvane_DlgUpdate : public CBaseDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 149;
    static constexpr int kUpdate = 1147;
    static constexpr int kPath = 1178;
    static constexpr int kPrompt = 1179;
    static constexpr int kCancel = 1180;
    static constexpr int kChoose = 1181;
    static constexpr int kBackup = 1182;

    CQuorvane_DlgUpdate(device::CommandSet& commands, UserPrompt& prompt, FileChooser& chooser,
                        UpdaterLauncher& launcher, QWidget* parent = nullptr);
    ~CQuorvane_DlgUpdate() override;

    bool OnInitDialog() override;
    void OnCommand(int id);

    static CQuorvane_DlgUpdate* Current();
    // Closes the open one as Cancel does (shutdown).
    static void CloseCurrent();

    QString ShownPath() const;
    // What the last Update did; nothing before the first.
    std::optional<UpdateOutcome> LastOutcome() const { return lastOutcome_; }

protected:
    void OnButtonClicked(int id) override { OnCommand(id); }
    void ReloadPictures() override;

private:
    void ShowPath();

    FirmwareUpdate update_;
    std::optional<UpdateOutcome> lastOutcome_;
    QLabel* prompt_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPixmap normal_, over_;
};

// Command 32780 of the main window, reached from the About box. What the last Update did.
std::optional<UpdateOutcome> RunUpdateDialog(QWidget* parent, device::CommandSet& commands, UserPrompt& prompt,
                                             FileChooser& chooser);

}  // namespace qv::ui
