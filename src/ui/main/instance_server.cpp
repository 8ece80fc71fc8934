#include "ui/main/instance_server.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstring>

#include "core/app/trace.h"
#include "platform/instance_channel.h"

namespace qv::ui {

InstanceServer::InstanceServer(Handler handler) : handler_(std::move(handler)) {}

InstanceServer::~InstanceServer() { Close(); }

bool InstanceServer::Listen(const std::filesystem::path& socketFolder) {
    Close();
    // Instances that ended without cleaning up leave their sockets behind.
    platform::RemoveStaleInstanceSockets(socketFolder);
    path_ = platform::InstanceSocketPath(socketFolder, ::getpid());
    if (path_.empty()) return false;
    const QString name = QString::fromStdString(path_.string());
    // A socket left behind by a process that had this id before us.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &InstanceServer::Accept);
    if (!server_->listen(name)) {
        server_.reset();
        path_.clear();
        return false;
    }
    return true;
}

void InstanceServer::Close() {
    if (server_) {
        server_->close();
        server_.reset();
        std::error_code ec;
        std::filesystem::remove(path_, ec);
    }
    path_.clear();
}

void InstanceServer::Accept() {
    while (QLocalSocket* socket = server_ ? server_->nextPendingConnection() : nullptr) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (socket->bytesAvailable() < static_cast<qint64>(platform::kInstanceRequestBytes)) return;
            std::array<std::uint8_t, platform::kInstanceRequestBytes> bytes{};
            socket->read(reinterpret_cast<char*>(bytes.data()), bytes.size());
            const platform::InstanceRequest request = platform::DecodeInstanceRequest(bytes);
            // Both messages answer 0; the answer goes first so a message box raised by the
            // handler does not keep the starting process waiting.
            const auto answer = platform::EncodeInstanceAnswer(0);
            socket->write(reinterpret_cast<const char*>(answer.data()), answer.size());
            socket->flush();
            socket->disconnectFromServer();
            if (TraceEnabled()) {
                char line[64];
                std::snprintf(line, sizeof line, "instance message 0x%04X 0x%08X", request.message, request.wParam);
                Trace(line);
            }
            QTimer::singleShot(0, this, [this, request] {
                if (handler_) handler_(request.message, request.wParam);
            });
        });
    }
}

}  // namespace qv::ui
