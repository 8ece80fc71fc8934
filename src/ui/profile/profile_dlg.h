#pragma once
// The profile manager (dialog 131): the list of profile files with the active one ticked, New,
// Load, Delete, Apply, OK and Cancel, laid out from Skins/Profile.ini.

#include <QPixmap>

#include <map>
#include <vector>

#include "core/app/settings.h"
#include "core/profile/profile_operations.h"
#include "ui/skin/base_dialog.h"

class QTableWidget;
class QTableWidgetItem;

namespace qv::ui {

class CPngButton;

class CQuorvane_DlgProfile : public CBaseDialog {
    Q_OBJECT
public:
    // Control ids of the dialog.
    static constexpr int kTemplate = 131;
    static constexpr int kOk = 1;
    static constexpr int kCancel = 2;
    static constexpr int kHelp = 9;
    static constexpr int kList = 1007;
    static constexpr int kLoad = 1008;
    static constexpr int kNew = 1010;
    static constexpr int kDelete = 1011;
    static constexpr int kApply = 1012;

    CQuorvane_DlgProfile(ProfileOperations& profiles, SettingsStore settings, QWidget* parent = nullptr);
    ~CQuorvane_DlgProfile() override;

    bool OnInitDialog() override;
    void OnCommand(int id);

    // The dialog on screen, if any: the switch routine ticks its row while it is open.
    static CQuorvane_DlgProfile* Current();
    static int OpenCount() { return Current() != nullptr ? 1 : 0; }
    // Closes the open one as Cancel does (keyboard removal, shutdown).
    static void CloseCurrent();

    // Ticks `row` (at most one row is ticked) and disables Apply.
    void TickRow(int row);
    bool ApplyEnabled() const;
    std::vector<ProfileListRow> Rows() const;
    QTableWidget* List() const { return list_; }

protected:
    void OnButtonClicked(int id) override { OnCommand(id); }
    void ReloadPictures() override;

private:
    void AddRow(const ProfileListRow& row);
    void OnItemChanged(QTableWidgetItem* item);
    void Apply();
    void SetApplyEnabled(bool enabled);

    ProfileOperations& profiles_;
    SettingsStore settings_;
    QTableWidget* list_ = nullptr;
    QPixmap normal_, over_, down_;
    bool filling_ = false;
};

// The main window's button 1005: runs the profile manager modally over `parent`.
void RunProfileManager(QWidget* parent, ProfileOperations& profiles);

}  // namespace qv::ui
