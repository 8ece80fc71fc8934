#pragma once
// The notification-area icon. Without a system tray the icon is simply not created and the
// program runs on; the tray re-adds the icon by itself when it restarts. Two kinds of tray host
// exist: an XEmbed tray under X11 reports clicks and double-clicks, a StatusNotifierItem host
// (KDE Plasma, GNOME's AppIndicator, every Wayland session) sends only Activate and the menu
// request.

#include <QIcon>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QSystemTrayIcon;
class QMenu;

namespace qv::ui {

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    // kActivate: the StatusNotifierItem host's primary click, its only way to open the window.
    enum class Mouse { kRightButtonUp, kLeftDoubleClick, kActivate, kOther };
    using NotificationHandler = std::function<void(int iconId, Mouse what)>;

    CTrayIcon();
    ~CTrayIcon() override;

    // Refuses without an owner or without a system tray.
    bool Create(QObject* owner, unsigned callbackMessage, const QString& tooltip, const QIcon& icon, int iconId);
    void Remove();
    void Hide();
    void Show();
    void SetIcon(const QIcon& icon);
    void SetTooltip(const QString& text);
    // The tray's menu is built by the owner for every showing.
    void SetMenuBuilder(std::function<void(QMenu&)> builder) { menuBuilder_ = std::move(builder); }
    void SetNotificationHandler(NotificationHandler handler) { handler_ = std::move(handler); }

    bool Created() const { return created_; }
    // The icon was registered with a StatusNotifierItem host rather than embedded in an X11 tray.
    bool OnItemHost() const { return onItemHost_; }
    bool Hidden() const { return hidden_; }
    int IconId() const { return iconId_; }
    QString Tooltip() const { return tooltip_; }

private:
    std::unique_ptr<QSystemTrayIcon> icon_;
    std::unique_ptr<QMenu> menu_;
    std::function<void(QMenu&)> menuBuilder_;
    NotificationHandler handler_;
    QString tooltip_;
    int iconId_ = 0;
    unsigned callbackMessage_ = 0;
    bool created_ = false;
    bool hidden_ = false;
    bool onItemHost_ = false;
};

// The name of the program's icon in the desktop's icon theme.
inline constexpr const char* kThemeIconName = "quorvane";

// The icon a tray host is given for a picture: the theme's icon of the program when `themed` and
// the theme has one (an item host then names it instead of sending pixels), else the picture.
QIcon TrayIconPicture(const QIcon& picture, bool themed);

// Whether a QSystemTrayIcon made now talks to a StatusNotifierItem host: always off X11, and
// under X11 when a StatusNotifierWatcher runs on the session bus.
bool TrayUsesItemHost();

}  // namespace qv::ui
