#pragma once
// The dialogs that run over the main window, as its model sees them: the key editor, the profile
// manager, the about box and the firmware update dialog.

#include "core/mainwin/main_window_view.h"

namespace qv::ui {

class KeyEditorRunner;

class CWindowDialogs : public mainwin::OpenDialogs {
public:
    explicit CWindowDialogs(KeyEditorRunner* keyEditor) : keyEditor_(keyEditor) {}

    bool CompositeEditorOpen() const override { return compositeOpen; }
    bool ProfileManagerOpen() const override;
    bool ProfileManagerHasChanges() const override;
    void TickProfileManagerRow(int row) override;
    bool UpdateDialogOpen() const override;
    void CloseAll() override;

    // Set by the window while it runs the key editor.
    bool compositeOpen = false;

private:
    KeyEditorRunner* keyEditor_;
};

}  // namespace qv::ui
