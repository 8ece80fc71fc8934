#pragma once
// A key editor over a private working store, a recording main window and prompt, a settings
// file in a temporary folder and a clock the test moves by hand.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/profile_store.h"
#include "core/keyboard/utf16.h"
#include "core/editor/composite_editor.h"
#include "support/recording_prompt.h"
#include "support/temp_dir.h"
#include "support/windows_key_event.h"

namespace qv::test {

class RecordingHost : public EditorHost {
public:
    void SetEditing(bool editing) override { editingCalls.push_back(editing); }
    void RefreshKeyButton(int recordIndex) override { refreshedButtons.push_back(recordIndex); }
    void RefreshKeyButtons() override { ++fullRefreshes; }

    std::vector<bool> editingCalls;
    std::vector<int> refreshedButtons;
    int fullRefreshes = 0;
};

inline MacroRecord NamedMacro(std::uint16_t id, const std::string& name, std::vector<MacroAction> actions = {}) {
    MacroRecord m;
    m.id = id;
    m.SetName(Utf8ToUtf16(name));
    m.actionCount = static_cast<std::uint16_t>(actions.size());
    for (std::size_t i = 0; i < actions.size(); ++i) m.actions[i] = actions[i];
    return m;
}

inline KeyRecord Assigned(std::uint16_t type, std::uint32_t value, std::uint16_t aux = 0) {
    KeyRecord r;
    r.type = type;
    r.aux = aux;
    r.value = value;
    return r;
}

class EditorTest : public ::testing::Test {
protected:
    EditorTest() {
        ResetTextTable();
        auto lock = store.Lock();
        store.Content() = DefaultProfileContent();
    }

    ProfileContent Content() {
        auto lock = store.Lock();
        return store.Content();
    }
    template <typename F>
    void Change(F f) {
        auto lock = store.Lock();
        f(store.Content());
    }

    void OpenOn(int recordIndex, bool macroOnly = false, int activeProfile = 0) {
        EditorRequest r;
        r.recordIndex = recordIndex;
        r.macroOnly = macroOnly;
        r.activeProfile = activeProfile;
        editor.Open(r);
    }
    bool Send(KeyEvent e) { return editor.OnKeyEvent(e.vk, e.lParam); }
    // Press and release after `ms` each, as the recorder's clock sees them.
    void Tap(std::uint8_t vk, std::uint16_t scan, std::uint32_t pressAfter, std::uint32_t releaseAfter) {
        now += pressAfter;
        Send(Press(vk, scan));
        now += releaseAfter;
        Send(Release(vk, scan));
    }
    MacroPage& page() { return editor.Macros(); }
    std::vector<int> Pauses() const {
        std::vector<int> out;
        for (int i = 0; i < editor.Macros().RowCount(); ++i) out.push_back(editor.Macros().Row(i).delay);
        return out;
    }

    TempDir dir;
    ProfileStore store;
    RecordingHost host;
    RecordingPrompt prompt;
    std::uint32_t now = 1000;
    SettingsStore settings{dir.path() / "settings.ini"};
    CompositeEditor editor{store, host, prompt, settings, dir.path() / "language.ini", [this] { return now; }};
};

}  // namespace qv::test
