#include "ui/skin/base_dialog.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "ui/skin/mask_region.h"
#include "ui/skin/skin_pictures.h"

namespace qv::ui {

CBaseDialog::CBaseDialog(int templateId, QWidget* parent, std::filesystem::path skinIni,
                         std::filesystem::path skinFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      templateId_(templateId),
      skinIni_(std::move(skinIni)),
      skinFolder_(std::move(skinFolder)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int CBaseDialog::DoModal() {
    if (!initialised_) OnInitDialog();
    return exec();
}

bool CBaseDialog::OnInitDialog() {
    initialised_ = true;
    ApplySkin();
    return true;
}

void CBaseDialog::OnOK() {
    background_ = QPixmap();
    mask_ = QImage();
    accept();
}

std::filesystem::path CBaseDialog::SkinPicture(std::string_view name) const {
    return skinFolder_ / std::filesystem::path(std::string(name));
}

void CBaseDialog::ApplySkin() {
    skinLoading_ = true;
    skin_.SetPath(skinIni_);
    const std::string main = skin_.Read("SCREEN", "Main").value_or("");
    const std::string mask = skin_.Read("SCREEN", "Mask").value_or("");
    const QImage background = LoadSkinPicture(SkinPicture(main));
    mask_ = LoadSkinPicture(SkinPicture(mask));
    background_ = QPixmap::fromImage(background);
    if (!background_.isNull()) setFixedSize(background_.size());
    const QRegion region = RegionFromMask(mask_);
    if (!region.isEmpty()) setMask(region);
    update();
    skinLoading_ = false;
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (background_.isNull()) {
        p.fillRect(rect(), QColor(0x15, 0x17, 0x1b));
        return;
    }
    p.drawPixmap(0, 0, background_);
}

void CBaseDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QDialog::mousePressEvent(event);
    // Let the window manager move the window when it can; otherwise follow the mouse ourselves.
    if (windowHandle() != nullptr && windowHandle()->startSystemMove()) return;
    dragOffset_ = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void CBaseDialog::mouseMoveEvent(QMouseEvent* event) {
    if (dragOffset_ && (event->buttons() & Qt::LeftButton)) {
        move(event->globalPosition().toPoint() - *dragOffset_);
        return;
    }
    QDialog::mouseMoveEvent(event);
}

void CBaseDialog::mouseReleaseEvent(QMouseEvent* event) {
    dragOffset_.reset();
    QDialog::mouseReleaseEvent(event);
}

}  // namespace qv::ui
