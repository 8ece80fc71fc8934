#pragma once
// The key editor as the main window uses it: one model and one dialog for the whole program,
// run on a key click and cancelled when the keyboard leaves or the program ends.

#include <QPointer>

#include <memory>

#include "core/editor/composite_editor.h"
#include "core/editor/editor_host.h"
#include "ui/editor/composite_dlg.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::ui {

class CompositeEditorService : public EditorHost {
public:
    // `prompt`: the editor's messages and questions; message boxes over the main window when null.
    explicit CompositeEditorService(UserPrompt* prompt = nullptr);
    ~CompositeEditorService() override;
    CompositeEditorService(const CompositeEditorService&) = delete;
    CompositeEditorService& operator=(const CompositeEditorService&) = delete;

    // Takes over runCompositeEditor and adds the editor's cancel to closeEditors.
    void Attach(CQuorvaneDlg::Services& services);

    // Runs the editor modally on the key of `request`, next to its button.
    void Run(const KeyEditRequest& request);
    // The editor's cancel when it is open.
    void Cancel();

    // Built on the first run.
    Quorvane_DlgComposite* Dialog() const { return dialog_; }
    CompositeEditor* Editor() const { return editor_.get(); }

    // EditorHost
    void SetEditing(bool editing) override;
    void RefreshKeyButton(int recordIndex) override;
    void RefreshKeyButtons() override;

private:
    void Build(CQuorvaneDlg& window);

    UserPrompt* prompt_;
    std::unique_ptr<UserPrompt> ownPrompt_;
    std::unique_ptr<CompositeEditor> editor_;
    QPointer<Quorvane_DlgComposite> dialog_;
};

}  // namespace qv::ui
