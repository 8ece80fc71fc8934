#pragma once
// What the main window's model asks of the screen and of the parts around it. The Qt window
// implements these; tests fake them.

#include <cstddef>
#include <string>

namespace qv::lighting {
class LightingSettings;
enum class LoadReason;
}  // namespace qv::lighting

namespace qv::mainwin {

// The window's own buttons and pictures.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;
    virtual void ShowEditing(bool editing) = 0;  // Apply enabled
    virtual void LightProfileButton(int profile) = 0;
    virtual void LightReportButton(int index) = 0;
    virtual void ShowBusy() = 0;
    virtual void HideBusy() = 0;
    virtual void Minimise() = 0;
    virtual void SetProfileCaption(const std::string& caption, const std::string& tooltip) = 0;
};

// The key, G and Fn buttons: assigned flags and tooltips from the working store.
class KeyButtonsView {
public:
    virtual ~KeyButtonsView() = default;
    virtual void RefreshKeyButtons() = 0;
};

// The dialogs that run over the window: the composite editor, the profile manager, the about box.
class OpenDialogs {
public:
    virtual ~OpenDialogs() = default;
    virtual bool CompositeEditorOpen() const = 0;
    virtual bool ProfileManagerOpen() const = 0;
    // The profile manager's own Apply is enabled.
    virtual bool ProfileManagerHasChanges() const = 0;
    virtual void TickProfileManagerRow(int row) = 0;
    // The firmware update dialog sends the keyboard away and stays up; the window stays with it.
    virtual bool UpdateDialogOpen() const = 0;
    // Each through its cancel operation.
    virtual void CloseAll() = 0;
};

// What the presence worker and the input listener know of the keyboard.
class KeyboardFacts {
public:
    virtual ~KeyboardFacts() = default;
    virtual int KeyboardCount() const = 0;
    virtual std::size_t MacroCapacity() const = 0;
    // 0 = bank A, 1 = bank B.
    virtual int Bank() const = 0;
};

// The lighting panel, once the window has one.
class LightingHost {
public:
    virtual ~LightingHost() = default;
    virtual bool ViewOn() const = 0;
    virtual void Reload(lighting::LoadReason reason, int shownProfile) = 0;
    // The lighting half of Default.
    virtual void RestoreDefaults() = 0;
    // The report rate is a byte of the same record the panel writes.
    virtual lighting::LightingSettings& Settings() = 0;
};

}  // namespace qv::mainwin
