// The main window learns that quorvanectl changed the keyboard, and keeps unapplied edits unless
// the user lets them go.
#include <gtest/gtest.h>

#include "core/profile/profile_file.h"
#include "ui/main/main_window_fixture.h"
#include "ui/common/window_messages.h"

namespace qv::test {
namespace {

using ui::CQuorvaneDlg;

constexpr int kA = 0x1E, kF = 0x21;
constexpr int kAButton = 1058, kFButton = 1061;

class ChangedElsewhere : public MainWindowFixture {
protected:
    // What quorvanectl leaves behind: the working file with A sending B.
    void WriteWorkingFile() {
        ProfileStore store;
        auto lock = store.Lock();
        store.Content() = DefaultProfileContent();
        store.Content().Assign(0, kA, {AssignSingleKey, 0, 0x030, 0, 0});
        std::filesystem::create_directories(UserFiles().workingProfileFile.parent_path());
        ASSERT_TRUE(WriteStoreToFile(store, UserFiles().workingProfileFile));
    }
    void EditFInTheWindow(CQuorvaneDlg& w) {
        auto lock = WorkingStore().Lock();
        WorkingStore().Content().Assign(0, kF, {AssignDisabled, 0, 0, 0, 0});
        w.RefreshKeyButtons();
        w.SetEditing(true);
    }
    KeyRecord Working(int index) {
        auto lock = WorkingStore().Lock();
        return WorkingStore().Content().Record(0, index);
    }
};

TEST_F(ChangedElsewhere, WithoutEditsTheWindowShowsTheChange) {
    CQuorvaneDlg& w = MakeWindow();
    State().activeProfile = 0;
    WriteWorkingFile();
    w.OnMessage(ui::MSG_ASSIGNMENTS_CHANGED, 0);
    EXPECT_EQ(Working(kA).type, AssignDefault) << "only with its tag";
    w.OnMessage(ui::MSG_ASSIGNMENTS_CHANGED, ui::kAssignmentsChangedTag);
    EXPECT_EQ(Working(kA).type, AssignSingleKey);
    EXPECT_TRUE(w.Button(kAButton)->Assigned());
    EXPECT_TRUE(prompt_.questions.empty());
    EXPECT_FALSE(w.IsEditing());
}

TEST_F(ChangedElsewhere, UnappliedEditsStayUnlessTheUserLetsThemGo) {
    CQuorvaneDlg& w = MakeWindow();
    State().activeProfile = 0;
    WriteWorkingFile();
    EditFInTheWindow(w);

    prompt_.answers = {false};
    w.OnMessage(ui::MSG_ASSIGNMENTS_CHANGED, ui::kAssignmentsChangedTag);
    ASSERT_EQ(prompt_.questions, (std::vector<std::string>{Text(TextId::MAIN_PROMPT_CHANGED_ELSEWHERE)}));
    EXPECT_EQ(Working(kF).type, AssignDisabled) << "No keeps the edit";
    EXPECT_EQ(Working(kA).type, AssignDefault);
    EXPECT_TRUE(w.IsEditing());
    EXPECT_TRUE(w.Button(kFButton)->Assigned());

    prompt_.answers = {true};
    w.OnMessage(ui::MSG_ASSIGNMENTS_CHANGED, ui::kAssignmentsChangedTag);
    EXPECT_EQ(Working(kF).type, AssignDefault);
    EXPECT_EQ(Working(kA).type, AssignSingleKey);
    EXPECT_FALSE(w.IsEditing());
    EXPECT_FALSE(w.Button(kFButton)->Assigned());
}

}  // namespace
}  // namespace qv::test
