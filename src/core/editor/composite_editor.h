#pragma once
// The key editor that a click on a key button opens: it edits that key's record of the active
// profile on four pages (single key, macro, multimedia, function key) plus Clear, and writes it
// into the working store only on Apply. One object lives for the whole process, so the macro
// name counter carries over from one opening to the next.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/app/settings.h"
#include "core/app/user_prompt.h"
#include "core/keyboard/key_code.h"
#include "core/keyboard/key_hook.h"
#include "core/keyboard/profile_store.h"
#include "core/editor/editor_host.h"
#include "core/editor/editor_texts.h"
#include "core/editor/editor_view.h"
#include "core/editor/macro_page.h"
#include "core/editor/macro_recorder.h"

namespace qv {

// What a key click hands to the editor.
struct EditorRequest {
    int page = 0;           // always 0
    int recordIndex = 0;    // the key's slot, or 256 + n for G key n of the selected bank
    int buttonId = 0;       // the clicked button
    bool macroOnly = false; // G9 and the main window's Macro button
    int activeProfile = 0;  // the table edited (0..2; anything else edits table 0)
    bool bankB = false;     // the G-key bank shown
};

enum class EditorPage { SingleKey, Macro, Media, Function };

// The picture sets of the editor's buttons.
enum class PictureSet { Key, Macro, MacroOnly, Media, Function };

class CompositeEditor : public KeyHook {
public:
    CompositeEditor(ProfileStore& working, EditorHost& host, UserPrompt& prompt, SettingsStore settings,
                    std::filesystem::path languageFile, TickClock clock = SystemTickClock());
    CompositeEditor(const CompositeEditor&) = delete;
    CompositeEditor& operator=(const CompositeEditor&) = delete;

    void SetView(EditorView* view) { context_.SetView(view); }

    // --- Life cycle
    // Reads the key's record and shows its page; the view then places itself (PlaceEditor).
    void Open(const EditorRequest& request);
    // 1015: writes the record and the macro list into the working store.
    void Apply();
    // 1: Apply, then close.
    void Ok();
    // 2, and the main window's cancel of an open editor: closes without writing anything.
    void Cancel();
    bool IsOpen() const { return openCount_ > 0; }
    int OpenCount() const { return openCount_; }

    // --- User actions
    // 1028-1031. A button acts only when its page is not already the page type.
    void PressPageButton(EditorPage page);
    // 1032: the key's factory function.
    void Clear();
    void SelectMedia(int index);     // 1128
    void SelectFunction(int index);  // 1129
    // Single-key capture while the single-key page is shown; the recorder while it records.
    bool OnKeyEvent(std::uint8_t vk, std::uint32_t lParam) override;

    // --- State the view shows
    const EditorRequest& Request() const { return request_; }
    // 2, 4, 7 or 8; 0 after Clear; on open the record's type, whatever it is, except that a
    // disabled or stop-macro key opens as type 8 on its entry of the function list.
    std::uint16_t PageType() const { return pageType_; }
    EditorPage PageShown() const;
    bool MacroOnly() const { return request_.macroOnly; }
    bool PageButtonEnabled(EditorPage page) const;
    bool PageButtonPressed(EditorPage page) const { return PageShown() == page; }
    bool ClearEnabled() const { return !request_.macroOnly; }
    bool ApplyEnabled() const { return context_.ApplyEnabled(); }
    // Whether a control of the pages is shown on the page on view (other controls: always).
    bool ControlShown(int controlId) const;
    // The page picture (1033): the set of the page on view.
    PictureSet PagePicture() const;
    // The set a button's faces come from (the page picture included).
    PictureSet ButtonPictures(int controlId) const;

    KeyCode CapturedKey() const { return capturedKey_; }
    // 1127: the captured key's name on the single-key page with type 2, else empty.
    const std::string& KeyText() const { return keyText_; }
    static std::vector<std::string> MediaItems();     // 18
    // The 11 application functions, then "Disabled" and "Stop macro" (key_choices.h).
    static std::vector<std::string> FunctionItems();
    int MediaSelection() const { return mediaSelection_; }
    int FunctionSelection() const { return functionSelection_; }
    const EditorTexts& Texts() const { return texts_; }
    // F1 opens the help page unless a recording runs.
    bool HelpAllowed() const { return !recorder_.Recording(); }
    bool CaptureActive() const { return captureActive_; }

    MacroPage& Macros() { return page_; }
    const MacroPage& Macros() const { return page_; }
    MacroRecorder& Recorder() { return recorder_; }
    const MacroRecorder& Recorder() const { return recorder_; }

private:
    void ShowPage(bool initialising);
    void Close();
    bool Capture(std::uint8_t vk, std::uint32_t lParam);
    void CaptureKey(KeyCode key);
    void SetKeyText(std::string text);
    int Table() const;
    int RecordIndex() const;  // within the table: page offset x 512 + record index
    bool RecordInRange() const;
    // Whether a main-window button shows this record of the active profile.
    bool HasButton(int recordIndex) const;

    ProfileStore& working_;
    EditorHost& host_;
    UserPrompt& prompt_;
    std::filesystem::path languageFile_;
    EditorContext context_;
    MacroPage page_;
    MacroRecorder recorder_;

    EditorRequest request_;
    int openCount_ = 0;
    std::uint16_t pageType_ = 0;
    std::uint32_t initialValue_ = 0;
    KeyCode capturedKey_ = kNoKey;
    bool captureActive_ = false;  // the single-key hooks
    bool prompting_ = false;      // a message of the capture is on screen
    std::string keyText_;
    int mediaSelection_ = 0;
    int functionSelection_ = 0;
    EditorTexts texts_;
};

}  // namespace qv
