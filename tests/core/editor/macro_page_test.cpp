#include "core/editor/macro_page.h"

#include "core/keyboard/key_record.h"
#include "editor_fixture.h"

namespace qv::test {
namespace {

constexpr int kSlotA = 0x01E;
constexpr int kSlotB = 0x030;

class MacroPageTest : public EditorTest {
protected:
    // Opens on a key without an assignment and shows the macro page.
    void OpenMacroPage() {
        OpenOn(kSlotB);
        editor.PressPageButton(EditorPage::Macro);
    }
    std::vector<std::string> Names() const {
        std::vector<std::string> out;
        for (int i = 0; i < editor.Macros().MacroCount(); ++i) out.push_back(editor.Macros().MacroName(i));
        return out;
    }
    // Rows with pauses 10, 20, 30, ... after keys A, B, C, ...
    void Rows(int n) {
        for (int i = 0; i < n; ++i) {
            page().AddAction((i + 1) * 10, KeyCodeAtListPosition(i), kPress, false);
        }
    }
    std::vector<std::string> Keys() const {
        std::vector<std::string> out;
        for (int i = 0; i < editor.Macros().RowCount(); ++i) out.push_back(editor.Macros().CellText(i, 0));
        return out;
    }
};

TEST_F(MacroPageTest, NewMacrosAreNumberedPastNamesThatBeginWithTheNextName) {
    // "Macro12" begins with "Macro1", so 1 is skipped; the search ignores case, so 2 is too.
    Change([](ProfileContent& c) { c.macros = {NamedMacro(1, "Macro12"), NamedMacro(2, "MACRO2")}; });
    OpenMacroPage();
    page().AddMacro();
    EXPECT_EQ(page().MacroName(2), "Macro3");
    EXPECT_EQ(page().CurrentMacro(), 2);
    EXPECT_EQ(page().Macro(2).id, 3);
    EXPECT_EQ(page().Macro(2).newFlag, 1);
    EXPECT_TRUE(editor.ApplyEnabled());
    editor.Cancel();

    // An empty selector starts the counter again.
    Change([](ProfileContent& c) { c.macros.clear(); });
    OpenMacroPage();
    page().AddMacro();
    page().AddMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Macro1", "Macro2"}));
    editor.Cancel();

    // Otherwise the counter carries over from the last opening.
    Change([](ProfileContent& c) { c.macros = {NamedMacro(1, "mine")}; });
    OpenMacroPage();
    page().AddMacro();
    EXPECT_EQ(page().MacroName(1), "Macro3");
}

TEST_F(MacroPageTest, TheHundredAndFirstMacroIsRefused) {
    Change([](ProfileContent& c) {
        for (int i = 1; i <= kMaxMacros; ++i) c.macros.push_back(NamedMacro(static_cast<std::uint16_t>(i), "m"));
    });
    OpenMacroPage();
    page().AddMacro();
    EXPECT_EQ(page().MacroCount(), kMaxMacros);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"The maximum number of macro: 100   "});
    // Typing into the field renames; it never makes a 101st macro.
    page().SelectMacro(99);
    page().TypeName("last");
    EXPECT_EQ(page().MacroCount(), kMaxMacros);
    EXPECT_EQ(page().MacroName(99), "last");
}

TEST_F(MacroPageTest, DeletedIdIsReusedAndKeysStillPlayingItAreResetOnApply) {
    Change([](ProfileContent& c) {
        c.macros = {NamedMacro(1, "one"), NamedMacro(2, "two"), NamedMacro(3, "three")};
        c.Assign(0, kSlotA, Assigned(AssignMacro, 2));
        c.Assign(2, kSlotA, Assigned(AssignMacro, 2));  // another profile plays it as well
        c.Assign(0, 0x02E, Assigned(AssignMacro, 3));
    });
    OpenMacroPage();
    page().SelectMacro(1);
    prompt.answers = {false};
    page().DeleteMacro();
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(page().MacroCount(), 3);

    prompt.answers = {true};
    page().DeleteMacro();
    EXPECT_EQ(Names(), (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(page().CurrentMacro(), 0);  // the previous item
    page().AddMacro();
    EXPECT_EQ(page().Macro(2).id, 2);

    editor.Apply();
    const ProfileContent c = Content();
    EXPECT_EQ(c.Record(0, kSlotA).type, AssignDefault);
    EXPECT_EQ(c.Record(2, kSlotA).type, AssignDefault);
    EXPECT_EQ(c.Record(0, 0x02E), Assigned(AssignMacro, 3));
    ASSERT_EQ(c.macros.size(), 3u);
    EXPECT_EQ(c.macros[2].id, 2);
    EXPECT_EQ(c.macros[2].newFlag, 0);

    // Applied, the macro is no longer new: a key playing it makes Delete ask.
    Change([](ProfileContent& pc) { pc.Assign(0, kSlotA, Assigned(AssignMacro, 2)); });
    page().SelectMacro(2);
    prompt.questions.clear();
    page().DeleteMacro();
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(page().MacroCount(), 3);
}

TEST_F(MacroPageTest, NewMacroIsDeletedWithoutAQuestion) {
    Change([](ProfileContent& c) { c.Assign(0, kSlotA, Assigned(AssignMacro, 1)); });
    OpenMacroPage();
    page().AddMacro();  // takes id 1, which the key still names
    page().DeleteMacro();
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_EQ(page().MacroCount(), 0);
    EXPECT_EQ(page().CurrentMacro(), -1);
    EXPECT_FALSE(page().ActionButtonsEnabled());
}

TEST_F(MacroPageTest, TypedPausesAreCappedAndRoundedDown) {
    OpenMacroPage();
    page().AddMacro();
    Rows(2);
    EXPECT_EQ(page().BeginCellEdit(0, 2), MacroPage::CellEditor::Pause);
    EXPECT_EQ(page().SetRowPause(0, "45000"), 40000);
    EXPECT_EQ(prompt.messages, std::vector<std::string>{"Maximum delay time is: 40000(ms) "});
    EXPECT_EQ(page().SetRowPause(1, "1234"), 1230);
    EXPECT_EQ(page().CellText(1, 2), "1230");
    EXPECT_EQ(page().SetRowPause(1, "99999999999999"), 40000);

    EXPECT_EQ(page().BeginCellEdit(0, 3), MacroPage::CellEditor::None);
    EXPECT_EQ(prompt.messages.back(), "You can not edit, use the macro record button. ");

    EXPECT_EQ(page().BeginCellEdit(0, 0), MacroPage::CellEditor::KeyList);
    EXPECT_EQ(page().KeyListPositionOfRow(0), 0);
    page().SetRowKey(0, 105);
    EXPECT_EQ(page().Row(0).key, 0x15C);
    page().SetRowDirection(0, kRelease);
    EXPECT_EQ(page().CellText(0, 1), "  \u2191");

    editor.Apply();
    const ProfileContent content = Content();
    const MacroRecord& m = content.macros.at(0);
    ASSERT_EQ(m.actionCount, 2);
    EXPECT_EQ(m.actions[0], (MacroAction{40000, 0x15C, kRelease}));
    EXPECT_EQ(m.actions[1].delay, 40000);
}

TEST_F(MacroPageTest, RepeatCountIsKeptWithinOneTo255) {
    OpenMacroPage();
    page().AddMacro();
    page().SetRepeatText("0");
    EXPECT_EQ(page().RepeatText(), "1");
    page().SetRepeatText("300");
    EXPECT_EQ(page().RepeatText(), "255");
    page().SetRepeatText("");
    EXPECT_EQ(page().RepeatText(), "");
    EXPECT_EQ(page().RepeatCount(), 1);
    page().SetRepeatText("42");
    editor.Apply();
    EXPECT_EQ(Content().macros.at(0).repeatCount, 42);
}

TEST_F(MacroPageTest, RowCommandsKeepEachPauseWithItsRow) {
    OpenMacroPage();
    page().AddMacro();
    Rows(5);  // A10 B20 C30 D40 E50
    page().SelectRow(2);
    page().DeleteRow();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"A", "B", "D", "E"}));
    EXPECT_EQ(Pauses(), (std::vector<int>{10, 20, 40, 50}));
    EXPECT_EQ(page().SelectedRow(), 2);

    page().MoveRowToTop();  // D
    EXPECT_EQ(Keys(), (std::vector<std::string>{"D", "A", "B", "E"}));
    EXPECT_EQ(Pauses(), (std::vector<int>{40, 10, 20, 50}));
    page().MoveRowDown();
    page().MoveRowDown();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"A", "B", "D", "E"}));
    EXPECT_EQ(page().SelectedRow(), 2);
    page().MoveRowToBottom();
    page().MoveRowDown();  // already last
    EXPECT_EQ(Keys(), (std::vector<std::string>{"A", "B", "E", "D"}));
    EXPECT_EQ(Pauses(), (std::vector<int>{10, 20, 50, 40}));
    page().MoveRowUp();
    EXPECT_EQ(Keys(), (std::vector<std::string>{"A", "B", "D", "E"}));

    prompt.answers = {false};
    page().ClearRows();
    EXPECT_EQ(page().RowCount(), 4);
    prompt.answers = {true};
    page().ClearRows();
    EXPECT_EQ(page().RowCount(), 0);
    EXPECT_EQ(prompt.questions.back(), "Really need to clear the macro action? ");
}

TEST_F(MacroPageTest, RowsGoBackIntoTheirMacroWhenAnotherIsSelected) {
    Change([](ProfileContent& c) {
        c.macros = {NamedMacro(1, "one", {{0, 0x01E, kPress}}), NamedMacro(2, "two", {{5, 0x030, 7}})};
    });
    OpenMacroPage();
    EXPECT_EQ(page().CurrentMacro(), 0);  // first visit with no macro of its own
    Rows(1);
    page().SelectMacro(1);
    EXPECT_EQ(page().Row(0).direction, kPress);  // a direction above 1 reads as press
    page().SelectMacro(0);
    EXPECT_EQ(page().RowCount(), 2);
    editor.PressPageButton(EditorPage::Media);
    editor.PressPageButton(EditorPage::Macro);  // not the first visit: nothing reloaded
    EXPECT_EQ(page().RowCount(), 2);
}

TEST_F(MacroPageTest, NamesAreKeptWithinTheRecordAndTheFirstNameMakesAMacro) {
    OpenMacroPage();
    EXPECT_EQ(page().TypeName("first"), "first");
    ASSERT_EQ(page().MacroCount(), 1);
    EXPECT_EQ(page().Macro(0).id, 1);
    EXPECT_EQ(page().Macro(0).newFlag, 1);
    EXPECT_EQ(page().CurrentMacro(), 0);

    const std::string typed(300, 'x');
    EXPECT_EQ(page().TypeName(typed), std::string(249, 'x'));
    EXPECT_EQ(page().Macro(0).Name().size(), 249u);
    // A character outside the basic plane is not cut in half at the limit.
    const std::string emoji = std::string(248, 'y') + "\U0001F600";
    EXPECT_EQ(page().TypeName(emoji), std::string(248, 'y'));

    editor.Apply();
    EXPECT_EQ(Content().macros.at(0).NameUtf8(), std::string(248, 'y'));
}

TEST_F(MacroPageTest, TypingWithMacrosButNoneCurrentChangesNothing) {
    Change([](ProfileContent& c) { c.macros = {NamedMacro(3, "three")}; });
    OpenOn(kSlotB);  // the macro page is not shown yet: none current
    page().TypeName("other");
    EXPECT_EQ(page().MacroCount(), 1);
    EXPECT_EQ(page().MacroName(0), "three");
    EXPECT_FALSE(editor.ApplyEnabled());
}

// Mirrors the rows the way a table model does: only through the announced changes.
class MirrorView : public EditorView {
public:
    explicit MirrorView(const MacroPage& page) : page_(page) {}
    void EditorChanged(std::uint32_t) override {}
    void ActionRowsChanging(const RowChange& c) override {
        EXPECT_FALSE(pending_);
        pending_ = true;
        if (c.kind != RowChange::Reset) {
            EXPECT_EQ(static_cast<int>(mirror.size()), page_.RowCount());
        }
    }
    void ActionRowsChanged(const RowChange& c) override {
        EXPECT_TRUE(pending_);
        pending_ = false;
        switch (c.kind) {
        case RowChange::Insert: mirror.insert(mirror.begin() + c.first, page_.Row(c.first)); break;
        case RowChange::Remove: mirror.erase(mirror.begin() + c.first); break;
        case RowChange::Move: {
            const MacroAction moving = mirror[static_cast<std::size_t>(c.first)];
            mirror.erase(mirror.begin() + c.first);
            mirror.insert(mirror.begin() + c.to, moving);
            break;
        }
        case RowChange::Reset:
            mirror.clear();
            for (int i = 0; i < page_.RowCount(); ++i) mirror.push_back(page_.Row(i));
            break;
        }
    }
    void ActionRowDataChanged(int row) override { mirror.at(static_cast<std::size_t>(row)) = page_.Row(row); }

    std::vector<MacroAction> mirror;

private:
    const MacroPage& page_;
    bool pending_ = false;
};

TEST_F(MacroPageTest, AnnouncedRowChangesKeepATableModelInStep) {
    MirrorView view(page());
    editor.SetView(&view);
    OpenMacroPage();
    page().AddMacro();
    Rows(4);
    page().SelectRow(1);
    page().AddAction(70, 0x01E, kRelease, true);
    page().MoveRowToBottom();
    page().MoveRowToTop();
    page().SetRowPause(0, "500");
    page().DeleteRow();
    const std::vector<MacroAction> rows = [&] {
        std::vector<MacroAction> r;
        for (int i = 0; i < page().RowCount(); ++i) r.push_back(page().Row(i));
        return r;
    }();
    EXPECT_EQ(view.mirror, rows);
    EXPECT_EQ(RowChange({RowChange::Move, 1, 1, 3}).MoveDestination(), 4);
    EXPECT_EQ(RowChange({RowChange::Move, 3, 3, 0}).MoveDestination(), 0);
    editor.SetView(nullptr);
}

}  // namespace
}  // namespace qv::test
