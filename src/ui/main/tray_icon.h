#pragma once
// The notification-area icon. Without a system tray the icon is simply not created and the
// program runs on; the tray re-adds the icon by itself when it restarts.

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
    enum class Mouse { kRightButtonUp, kLeftDoubleClick, kOther };
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
};

}  // namespace qv::ui
