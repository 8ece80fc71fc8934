#include "ui/main/tray_icon.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace qv::ui {

QIcon TrayIconPicture(const QIcon& picture, bool themed) {
    if (!themed || !QIcon::hasThemeIcon(kThemeIconName)) return picture;
    return QIcon::fromTheme(kThemeIconName, picture);
}

bool TrayUsesItemHost() {
    // The same choice the toolkit makes when it creates its tray icon.
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return true;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() != nullptr &&
           bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

CTrayIcon::CTrayIcon() = default;
CTrayIcon::~CTrayIcon() { Remove(); }

bool CTrayIcon::Create(QObject* owner, unsigned callbackMessage, const QString& tooltip, const QIcon& icon,
                       int iconId) {
    created_ = false;
    if (owner == nullptr || !QSystemTrayIcon::isSystemTrayAvailable()) return false;
    callbackMessage_ = callbackMessage;
    iconId_ = iconId;
    tooltip_ = tooltip;
    // Decided before the icon exists, as the toolkit decides once when it makes it.
    onItemHost_ = TrayUsesItemHost();
    icon_ = std::make_unique<QSystemTrayIcon>(icon);
    icon_->setToolTip(tooltip);
    // Some trays never report a right click; a context menu rebuilt on every showing serves both.
    menu_ = std::make_unique<QMenu>();
    connect(menu_.get(), &QMenu::aboutToShow, this, [this] {
        menu_->clear();
        if (menuBuilder_) menuBuilder_(*menu_);
    });
    icon_->setContextMenu(menu_.get());
    connect(icon_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (!handler_) return;
        Mouse what = Mouse::kOther;
        if (reason == QSystemTrayIcon::DoubleClick) what = Mouse::kLeftDoubleClick;
        if (reason == QSystemTrayIcon::Context) what = Mouse::kRightButtonUp;
        // An item host's Activate arrives as Trigger, which in an X11 tray is a single click.
        if (reason == QSystemTrayIcon::Trigger && onItemHost_) what = Mouse::kActivate;
        handler_(iconId_, what);
    });
    icon_->show();
    created_ = true;
    hidden_ = false;
    return true;
}

void CTrayIcon::Remove() {
    if (!created_) return;
    icon_->hide();
    icon_.reset();
    menu_.reset();
    created_ = false;
}

void CTrayIcon::Hide() {
    if (!created_) return;
    icon_->hide();
    hidden_ = true;
}

void CTrayIcon::Show() {
    if (!created_) return;
    icon_->show();
    hidden_ = false;
}

void CTrayIcon::SetIcon(const QIcon& icon) {
    if (created_) icon_->setIcon(icon);
}

void CTrayIcon::SetTooltip(const QString& text) {
    tooltip_ = text;
    if (created_) icon_->setToolTip(text);
}

}  // namespace qv::ui
