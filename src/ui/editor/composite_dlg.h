#pragma once
// The key editor (dialog 134, skin Composite.ini): a thin skinned dialog over CompositeEditor.
// It shows the models' state and forwards what the user does; every rule lives in the models.

#include <QPixmap>
#include <QRect>

#include <array>
#include <filesystem>
#include <map>

#include "core/app/user_prompt.h"
#include "core/editor/composite_editor.h"
#include "core/editor/editor_placement.h"
#include "core/editor/editor_view.h"
#include "ui/skin/base_dialog.h"
#include "ui/skin/png_button.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace qv::ui {

class CNumberEdit;
class CReportList;
class CStyledComboBox;

class Quorvane_DlgComposite : public CBaseDialog, public EditorView {
    Q_OBJECT
public:
    struct Environment {
        std::filesystem::path skinIni;     // Skins/Composite.ini
        std::filesystem::path skinFolder;
        std::filesystem::path helpFolder;
        UserPrompt* prompt = nullptr;      // the on-screen keyboard's message
    };

    Quorvane_DlgComposite(CompositeEditor& editor, Environment env, QWidget* parent = nullptr);
    ~Quorvane_DlgComposite() override;

    // Opens the editor on a key and shows it next to `button` (screen coordinates) without
    // waiting; Run waits until OK or Cancel closes it.
    void Open(const EditorRequest& request, const QRect& button);
    int Run(const EditorRequest& request, const QRect& button);
    // The main window's cancel (keyboard removal, shutdown): as the Cancel button.
    void CancelEditor();

    bool OnInitDialog() override;

    // Controls by their ids (tests, and the user-level checks of the window).
    QWidget* Control(int id) const;
    CReportList* ActionList() const { return list_; }
    CompositeEditor& Editor() { return editor_; }

    // EditorView
    void EditorChanged(std::uint32_t what) override;
    void ActionRowsChanged(const RowChange& change) override;
    void ActionRowDataChanged(int row) override;
    void EndCellEdit() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void OnButtonClicked(int id) override;
    bool HelpAllowed() const override { return editor_.HelpAllowed(); }
    void ReloadPictures() override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    CPngButton* MakeButton(int id);
    template <typename W>
    W* Register(int id, W* widget);
    void LoadPictures();
    void PlaceControls();
    // Next to the key button, on the side where it fits on its screen.
    ScreenPoint EditorPosition(const QRect& button) const;
    void StyleControls();
    void ConnectControls();
    void ConnectMacroPage();
    void OnButton(int id);
    void OnOnScreenKeyboard();
    void CloseIfDone();
    void UpdateKeyHook();

    // Views of parts of the models' state.
    void ShowTexts();
    void ShowPage();
    void ShowSelector();
    void ShowMacroButtons();
    void ShowRecording();
    void ShowRows();
    void ShowRow(int row);
    void ShowSelectedRow();
    const FaceSet& Set(PictureSet set) const;

    CompositeEditor& editor_;
    Environment env_;
    std::map<int, QWidget*> controls_;

    // The five picture sets, loaded once: key, macro, macro-only, media, function.
    struct Pictures {
        QPixmap normal, over, down, disabled;
    };
    std::array<Pictures, 5> pictures_;
    std::array<FaceSet, 5> faces_;
    bool picturesLoaded_ = false;

    QLineEdit* keyEdit_ = nullptr;
    CStyledComboBox* media_ = nullptr;
    CStyledComboBox* function_ = nullptr;
    CStyledComboBox* selector_ = nullptr;
    CReportList* list_ = nullptr;
    CNumberEdit* repeat_ = nullptr;
    QCheckBox* recordDelay_ = nullptr;
    bool hookInstalled_ = false;
    bool showing_ = false;  // the view is writing into its controls
};

}  // namespace qv::ui
