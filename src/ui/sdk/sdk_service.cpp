#include "ui/sdk/sdk_service.h"

#include <QAction>
#include <QMenu>
#include <QTimer>

#include <cstdio>

#include "core/app/text_table.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/quorvane_dlg.h"

namespace qv::ui {

sdk::SdkServerOptions SdkOptionsForRun(const SettingsStore& store, const QStringList& arguments) {
    sdk::SdkServerOptions options = sdk::ReadSdkServerOptions(store);
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    std::string error;
    sdk::ApplySdkServerArguments(args, options, &error);
    if (!error.empty()) std::fprintf(stderr, "%s\n", error.c_str());
    return options;
}

SdkService::SdkService(CQuorvaneDlg& window, sdk::SdkServerOptions options, SettingsStore store)
    : window_(window),
      options_(std::move(options)),
      store_(std::move(store)),
      controller_({
          [this]() -> lighting::LightingPanel* { return window_.Lighting() ? &window_.Lighting()->Model() : nullptr; },
          [this] { return window_.Model().KeyboardCount() > 0; },
          [this] { QTimer::singleShot(0, this, [this] { controller_.Flush(); }); },
          [this] {
              if (window_.Lighting()) window_.Lighting()->Refresh();
          },
      }),
      server_(std::make_unique<SdkServer>(controller_)) {
    connect(&window_, &CQuorvaneDlg::keyboardChanged, this, &SdkService::OnKeyboardChanged);
    connect(&window_, &CQuorvaneDlg::trayReady, this, [this] {
        trayReady_ = true;
        Start();
    });
    window_.SetTrayMenuExtras([this](QMenu& menu) { AddMenuEntry(menu); });
    // Bound to a window that is already up: nothing more to wait for.
    if (window_.Model().State().ready.IsSet()) {
        trayReady_ = true;
        Start();
    }
}

SdkService::~SdkService() { window_.SetTrayMenuExtras({}); }

bool SdkService::Start() {
    if (!options_.enabled) return false;
    if (server_->Listening()) return true;
    QString error;
    if (server_->Listen(QString::fromStdString(options_.address), options_.port, &error)) {
        error_.clear();
        return true;
    }
    error_ = QStringLiteral("Other programs cannot control the lighting: %1").arg(error);
    TellError();
    return false;
}

void SdkService::TellError() {
    std::fprintf(stderr, "quorvane: %s\n", error_.toUtf8().constData());
    if (trayReady_) {
        window_.Tray().SetTooltip(QString::fromStdString(Text(TextId::KEYBOARD_TRAY_DESC)) + QStringLiteral("\n") + error_);
    }
}

void SdkService::Stop() {
    server_->Close();
    controller_.Forget();
}

void SdkService::SetEnabled(bool enabled) {
    options_.enabled = enabled;
    sdk::WriteSdkServerEnabled(store_, enabled);
    if (enabled) {
        Start();
    } else {
        Stop();
        if (!error_.isEmpty() && trayReady_) window_.Tray().SetTooltip(QString::fromStdString(Text(TextId::KEYBOARD_TRAY_DESC)));
        error_.clear();
    }
}

void SdkService::AddMenuEntry(QMenu& menu) {
    auto* action = new QAction(QString::fromUtf8(kSdkMenuText), &menu);
    action->setCheckable(true);
    action->setChecked(options_.enabled);
    connect(action, &QAction::toggled, this, [this](bool on) {
        // The tray menu is still inside its action: the change waits for it to close.
        QMetaObject::invokeMethod(this, [this, on] { SetEnabled(on); }, Qt::QueuedConnection);
    });
    const QList<QAction*> actions = menu.actions();
    QAction* before = actions.isEmpty() ? nullptr : actions.back();  // Exit stays last
    menu.insertAction(before, action);
    menu.insertSeparator(before);
}

void SdkService::OnKeyboardChanged() {
    if (window_.Model().KeyboardCount() <= 0) controller_.Forget();
    server_->NotifyDeviceListChanged();
}

}  // namespace qv::ui
