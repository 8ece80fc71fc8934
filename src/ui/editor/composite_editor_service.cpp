#include "ui/editor/composite_editor_service.h"

#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/keyboard/profile_store.h"
#include "ui/common/message_box_prompt.h"
#include "ui/editor/composite_dlg.h"

namespace qv::ui {

CompositeEditorService::CompositeEditorService(UserPrompt* prompt) : prompt_(prompt) {}

CompositeEditorService::~CompositeEditorService() {
    // The dialog is a child of the main window; when the window went first, so did the dialog.
    delete dialog_.data();
}

void CompositeEditorService::Build(QWidget* parent) {
    if (prompt_ == nullptr) {
        ownPrompt_ = std::make_unique<MessageBoxPrompt>(parent);
        prompt_ = ownPrompt_.get();
    }
    editor_ = std::make_unique<CompositeEditor>(WorkingStore(), *this, *prompt_,
                                                SettingsStore(SettingsStore::DefaultFile()), Paths().textTable);
    Quorvane_DlgComposite::Environment env;
    env.skinIni = Paths().compositeSkin;
    env.skinFolder = Paths().skinFolder;
    env.helpFolder = Paths().helpFolder;
    env.prompt = prompt_;
    dialog_ = new Quorvane_DlgComposite(*editor_, std::move(env), parent);
}

void CompositeEditorService::Run(const EditorRequest& request, QWidget* parent, const QRect& button,
                                 EditorHost& host) {
    if (!dialog_) Build(parent);
    host_ = &host;
    dialog_->Run(request, button);
    host_ = nullptr;
}

void CompositeEditorService::Cancel() {
    if (dialog_) dialog_->CancelEditor();
}

void CompositeEditorService::SetEditing(bool editing) {
    if (host_ != nullptr) host_->SetEditing(editing);
}

void CompositeEditorService::RefreshKeyButton(int recordIndex) {
    if (host_ != nullptr) host_->RefreshKeyButton(recordIndex);
}

void CompositeEditorService::RefreshKeyButtons() {
    if (host_ != nullptr) host_->RefreshKeyButtons();
}

}  // namespace qv::ui
