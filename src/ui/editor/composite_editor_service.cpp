#include "ui/editor/composite_editor_service.h"

#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/keyboard/profile_store.h"
#include "ui/editor/composite_dlg.h"
#include "ui/main/main_window_state.h"
#include "ui/common/message_box_prompt.h"
#include "ui/common/window_messages.h"

namespace qv::ui {

CompositeEditorService::CompositeEditorService(UserPrompt* prompt) : prompt_(prompt) {}

CompositeEditorService::~CompositeEditorService() {
    // The dialog is a child of the main window; when the window went first, so did the dialog.
    delete dialog_.data();
}

void CompositeEditorService::Attach(CQuorvaneDlg::Services& services) {
    services.runCompositeEditor = [this](const KeyEditRequest& request) { Run(request); };
    services.closeEditors = [this, previous = std::move(services.closeEditors)] {
        if (previous) previous();
        Cancel();
    };
}

void CompositeEditorService::Build(CQuorvaneDlg& window) {
    if (prompt_ == nullptr) {
        ownPrompt_ = std::make_unique<MessageBoxPrompt>(&window);
        prompt_ = ownPrompt_.get();
    }
    editor_ = std::make_unique<CompositeEditor>(WorkingStore(), *this, *prompt_,
                                                SettingsStore(SettingsStore::DefaultFile()), Paths().textTable);
    Quorvane_DlgComposite::Environment env;
    env.skinIni = Paths().compositeSkin;
    env.skinFolder = Paths().skinFolder;
    env.helpFolder = Paths().helpFolder;
    env.prompt = prompt_;
    dialog_ = new Quorvane_DlgComposite(*editor_, std::move(env), &window);
}

void CompositeEditorService::Run(const KeyEditRequest& request) {
    CQuorvaneDlg* window = MainState().window;
    if (window == nullptr) return;
    if (!dialog_) Build(*window);
    EditorRequest r;
    r.page = request.page;
    r.recordIndex = request.recordIndex;
    r.buttonId = request.buttonId;
    r.macroOnly = request.macroOnly;
    r.activeProfile = MainState().activeProfile;
    r.bankB = request.recordIndex >= kGKeyRecordFirst + 9;
    // The Macro button arrives as a click on G9; when G9 has no place of its own on the skin,
    // the editor opens next to the Macro button the user clicked.
    const CPngButton* b = window->Button(request.buttonId);
    if ((b == nullptr || !b->isVisible() || b->width() <= 1) && request.macroOnly) b = window->Button(id::kMacro);
    QRect button;
    if (b != nullptr) button = QRect(b->mapToGlobal(QPoint(0, 0)), b->size());
    dialog_->Run(r, button);
}

void CompositeEditorService::Cancel() {
    if (dialog_) dialog_->CancelEditor();
}

void CompositeEditorService::SetEditing(bool editing) {
    if (CQuorvaneDlg* window = MainState().window) window->SetEditing(editing);
}

void CompositeEditorService::RefreshKeyButton(int) {
    // One button's tooltip follows from the same table as all of them.
    RefreshKeyButtons();
}

void CompositeEditorService::RefreshKeyButtons() {
    if (CQuorvaneDlg* window = MainState().window) window->RefreshKeyButtons();
}

}  // namespace qv::ui
