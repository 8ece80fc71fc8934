#include "ui/skin/base_dialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWindow>

#include <cmath>

#include "core/app/paths.h"
#include "ui/common/help.h"
#include "ui/skin/mask_region.h"
#include "ui/skin/png_button.h"
#include "ui/skin/skin_pictures.h"
#include "ui/skin/window_system.h"

namespace qv::ui {
namespace {

std::map<int, QPointer<CBaseDialog>>& OpenDialogs() {
    static std::map<int, QPointer<CBaseDialog>> open;
    return open;
}

}  // namespace

CBaseDialog::CBaseDialog(int templateId, QWidget* parent, std::filesystem::path skinIni,
                         std::filesystem::path skinFolder)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      templateId_(templateId),
      skinIni_(std::move(skinIni)),
      skinFolder_(std::move(skinFolder)),
      helpFolder_(Paths().helpFolder) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CBaseDialog::~CBaseDialog() {
    auto it = OpenDialogs().find(templateId_);
    if (it != OpenDialogs().end() && it->second == this) OpenDialogs().erase(it);
}

CBaseDialog* CBaseDialog::OpenDialog(int templateId) {
    const auto it = OpenDialogs().find(templateId);
    return it == OpenDialogs().end() ? nullptr : it->second.data();
}

void CBaseDialog::showEvent(QShowEvent* event) {
    OpenDialogs()[templateId_] = this;
    // The native window exists from here on, before it is mapped.
    ShapeNativeWindow();
    QDialog::showEvent(event);
}

void CBaseDialog::SetShape(const QRegion& region) {
    shape_ = region;
    if (!isWindow()) {
        setMask(region);
        return;
    }
    // A window is shaped on its native window, not with QWidget::setMask: a widget mask is
    // intersected with every child's region on every repaint, which cost a preview tick more
    // than the keys' own painting. Clicks and the outline are the native window's either way.
    clearMask();
    ShapeNativeWindow();
}

void CBaseDialog::ShapeNativeWindow() {
    if (shape_.isEmpty() || !isWindow()) return;
    if (QWindow* window = windowHandle()) window->setMask(shape_);
}

void CBaseDialog::hideEvent(QHideEvent* event) {
    auto it = OpenDialogs().find(templateId_);
    if (it != OpenDialogs().end() && it->second == this) OpenDialogs().erase(it);
    QDialog::hideEvent(event);
}

void CBaseDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        if (!helpFolder_.empty() && HelpAllowed()) OpenHelp(helpFolder_);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

CPngButton* CBaseDialog::MakeButton(int id) {
    auto* b = new CPngButton(id, this);
    b->setObjectName(QString("button_%1").arg(id));
    buttons_[id] = b;
    connect(b, &QAbstractButton::clicked, this, [this, id] { OnButtonClicked(id); });
    return b;
}

CPngButton* CBaseDialog::Button(int id) const {
    const auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second;
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
    accept();
}

std::filesystem::path CBaseDialog::SkinPicture(std::string_view name) const {
    return skinFolder_ / std::filesystem::path(std::string(name));
}

QImage CBaseDialog::LoadPicture(std::string_view name) const {
    return LoadSkinPicture(SkinPicture(name), pictureRatio_);
}

void CBaseDialog::ApplySkin() {
    skinLoading_ = true;
    skin_.SetPath(skinIni_);
    pictureRatio_ = devicePixelRatioF();
    const std::string main = skin_.Read("SCREEN", "Main").value_or("");
    const std::string mask = skin_.Read("SCREEN", "Mask").value_or("");
    background_ = QPixmap::fromImage(LoadPicture(main));
    // The shape is logical: a finer screen draws finer pictures inside the same outline.
    // Only the region is kept: the picture is as large as the window.
    const QImage maskPicture = LoadSkinPicture(SkinPicture(mask));
    if (!background_.isNull()) setFixedSize(background_.deviceIndependentSize().toSize());
    const QRegion region = RegionFromMask(maskPicture);
    if (!region.isEmpty()) SetShape(region);
    // Under Wayland the mask only says where the window takes clicks: the corners outside it are
    // left transparent instead. The attribute must be set before the window is first shown.
    paintedShape_ = QRegion();
    if (!region.isEmpty() && isWindow() && !MasksShapeTopLevelWindows()) {
        if (!testAttribute(Qt::WA_TranslucentBackground) && windowHandle() == nullptr) {
            setAttribute(Qt::WA_TranslucentBackground);
        }
        if (testAttribute(Qt::WA_TranslucentBackground)) paintedShape_ = region;
    }
    update();
    skinLoading_ = false;
}

bool CBaseDialog::FollowPixelRatio(double ratio) {
    if (!initialised_ || std::abs(ratio - pictureRatio_) < 0.001) return false;
    pictureRatio_ = ratio;
    const std::string main = skin_.Read("SCREEN", "Main").value_or("");
    background_ = QPixmap::fromImage(LoadPicture(main));
    ReloadPictures();
    // The shape is logical; given again, the native window takes it at its new scale.
    ShapeNativeWindow();
    update();
    return true;
}

bool CBaseDialog::event(QEvent* event) {
    const bool handled = QDialog::event(event);
    // Qt tells a window of a new screen; the ratio is compared, not assumed to have changed.
    if (event->type() == QEvent::ScreenChangeInternal
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
        || event->type() == QEvent::DevicePixelRatioChange
#endif
    ) {
        FollowPixelRatio(devicePixelRatioF());
    }
    return handled;
}

void CBaseDialog::paintEvent(QPaintEvent*) {
    // A change of scale that came without a screen change event still shows before it is drawn.
    FollowPixelRatio(devicePixelRatioF());
    QPainter p(this);
    if (!paintedShape_.isEmpty()) p.setClipRegion(paintedShape_);
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
    // A compositor that refuses to move the window would ignore our moves as well.
    if (!CanPlaceTopLevelWindows()) return;
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
