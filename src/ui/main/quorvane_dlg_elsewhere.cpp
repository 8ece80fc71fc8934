// The main window when another program (quorvanectl) changed the keyboard's assignments.
#include "ui/main/quorvane_dlg.h"

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "core/profile/profile_file.h"

namespace qv::ui {

// quorvanectl has sent the change and rewritten the working file with it. Without edits of its
// own the window shows the working file as it does after an arrival. Edits not yet applied (in
// the window or an open editor) are never dropped silently: the user is asked, and No keeps
// them, Apply enabled, to be sent over the other change on the next Apply.
void CQuorvaneDlg::OnAssignmentsChangedElsewhere() {
    if (IsEditing() || CompositeEditorOpen()) {
        if (!Prompt().AskYesNo(Text(TextId::MAIN_PROMPT_CHANGED_ELSEWHERE))) return;
        if (services_.closeEditors) services_.closeEditors();
    }
    bool loaded = false;
    {
        auto lock = WorkingStore().Lock();
        ProfileStore incoming;
        if (ReadFileIntoStore(UserFiles().workingProfileFile, incoming)) {
            auto incomingLock = incoming.Lock();
            WorkingStore().Content() = std::move(incoming.Content());
            loaded = true;
        }
    }
    if (!loaded) {
        // No working file to show: read the keyboard itself, as on arrival.
        OnKeyboardArrival();
        return;
    }
    {
        auto lock = WorkingStore().Lock();
        RefreshKeyButtons();
    }
    SetEditing(false);
}

}  // namespace qv::ui
