#pragma once
// The key editor as the main window runs it on a key click; the composite editor implements it,
// tests fake it.

#include <QRect>

#include "core/editor/composite_editor.h"
#include "core/editor/editor_host.h"

class QWidget;

namespace qv::ui {

class KeyEditorRunner {
public:
    virtual ~KeyEditorRunner() = default;
    // Runs the editor modally over `parent` on the key of `request`, next to `button` (global
    // coordinates; empty when the key has no place). `host` hears of every change.
    virtual void Run(const EditorRequest& request, QWidget* parent, const QRect& button, EditorHost& host) = 0;
    // Cancels the editor when it is open (keyboard removal, shutdown).
    virtual void Cancel() = 0;
};

}  // namespace qv::ui
