#pragma once
// The skinned dialog every window of the program derives from: frameless, painted from its
// background picture, shaped by its mask picture, and dragged by any point of its surface.

#include <QDialog>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QRegion>

#include <filesystem>
#include <map>
#include <optional>

#include "core/app/ini_file.h"

namespace qv::ui {

class CPngButton;

class CBaseDialog : public QDialog {
    Q_OBJECT
public:
    CBaseDialog(int templateId, QWidget* parent, std::filesystem::path skinIni,
                std::filesystem::path skinFolder);
    ~CBaseDialog() override;

    int TemplateId() const { return templateId_; }
    const std::filesystem::path& SkinIni() const { return skinIni_; }
    const std::filesystem::path& SkinFolder() const { return skinFolder_; }
    bool SkinLoading() const { return skinLoading_; }
    const QPixmap& Background() const { return background_; }
    // The device pixel ratio the dialog's pictures were loaded at; every picture a dialog or its
    // parts load goes through LoadPicture or takes this ratio, so all of them agree.
    double PictureRatio() const { return pictureRatio_; }
    // A picture of the skin folder at the dialog's ratio; a missing one ends the process.
    QImage LoadPicture(std::string_view name) const;
    // Loads the pictures again when the window's device pixel ratio is no longer the one they
    // were loaded at (moved to another screen, the screen's scale changed) and redraws; the
    // layout, the mask and every button's place stay as they are. Returns whether it reloaded.
    bool FollowPixelRatio(double ratio);

    // Runs the dialog's initialisation once (skin first), then the modal loop.
    virtual int DoModal();
    // The dialog's initialisation: applies the skin. Derived dialogs call it first.
    virtual bool OnInitDialog();
    bool Initialised() const { return initialised_; }
    // Releases the pictures and ends the dialog with "OK".
    virtual void OnOK();

    // The outline the mask picture gives, in logical pixels; clicks outside it do not reach the
    // dialog. Empty when the skin has no mask.
    const QRegion& Shape() const { return shape_; }

    // The dialog's image buttons by control id; null for an id it does not have.
    CPngButton* Button(int id) const;
    // The dialog of this template that is on screen, if any: each kind is open once at a time.
    static CBaseDialog* OpenDialog(int templateId);

    // F1 opens this help folder's page; an empty folder turns F1 off.
    void SetHelpFolder(std::filesystem::path folder) { helpFolder_ = std::move(folder); }

protected:
    // A button with the object name "button_<id>" whose clicks reach OnButtonClicked.
    CPngButton* MakeButton(int id);
    const std::map<int, CPngButton*>& Buttons() const { return buttons_; }
    virtual void OnButtonClicked(int) {}
    // F1 is taken unless this says no (an editor busy recording, say).
    virtual bool HelpAllowed() const { return true; }

    // Loads SCREEN/Main and SCREEN/Mask, sizes the window to the background and shapes it. A
    // missing picture ends the process.
    void ApplySkin();
    std::filesystem::path SkinPicture(std::string_view name) const;
    // The dialog's own pictures (faces, panels) again at PictureRatio(); the background is
    // already reloaded when this runs.
    virtual void ReloadPictures() {}

    bool event(QEvent* event) override;

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

    CIniFile skin_;
    bool initialised_ = false;

private:
    void SetShape(const QRegion& region);
    void ShapeNativeWindow();

    int templateId_;
    std::filesystem::path skinIni_;
    std::filesystem::path skinFolder_;
    std::filesystem::path helpFolder_;
    std::map<int, CPngButton*> buttons_;
    QPixmap background_;
    QRegion shape_;
    // Where a mask does not cut the window's shape the picture is painted only inside it.
    QRegion paintedShape_;
    double pictureRatio_ = 1;
    bool skinLoading_ = false;
    std::optional<QPoint> dragOffset_;
};

}  // namespace qv::ui
