#pragma once
// The key editor as the main window uses it: one model and one dialog for the whole program,
// run on a key click and cancelled when the keyboard leaves or the program ends.

#include <QPointer>

#include <memory>

#include "core/editor/composite_editor.h"
#include "core/editor/editor_host.h"
#include "ui/common/key_editor_runner.h"
#include "ui/editor/composite_dlg.h"

namespace qv::ui {

class CompositeEditorService : public KeyEditorRunner, public EditorHost {
public:
    // `prompt`: the editor's messages and questions; message boxes over the window when null.
    explicit CompositeEditorService(UserPrompt* prompt = nullptr);
    ~CompositeEditorService() override;
    CompositeEditorService(const CompositeEditorService&) = delete;
    CompositeEditorService& operator=(const CompositeEditorService&) = delete;

    void Run(const EditorRequest& request, QWidget* parent, const QRect& button, EditorHost& host) override;
    void Cancel() override;

    // Built on the first run.
    Quorvane_DlgComposite* Dialog() const { return dialog_; }
    CompositeEditor* Editor() const { return editor_.get(); }

private:
    // EditorHost: passed on to the host of the running edit.
    void SetEditing(bool editing) override;
    void RefreshKeyButton(int recordIndex) override;
    void RefreshKeyButtons() override;

private:
    void Build(QWidget* parent);

    UserPrompt* prompt_;
    std::unique_ptr<UserPrompt> ownPrompt_;
    std::unique_ptr<CompositeEditor> editor_;
    QPointer<Quorvane_DlgComposite> dialog_;
    EditorHost* host_ = nullptr;
};

}  // namespace qv::ui
