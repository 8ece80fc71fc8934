#include "ui/sdk/sdk_server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

#include <algorithm>
#include <span>

namespace qv::ui {

struct SdkServer::Client {
    Client(QTcpSocket* s, sdk::SdkDevice& device) : socket(s), session(device) {}
    QTcpSocket* socket;
    sdk::SdkSession session;
    QTimer unfinished;
    bool dropping = false;
};

SdkServer::SdkServer(sdk::SdkDevice& device, QObject* parent) : QObject(parent), device_(device) {}

SdkServer::~SdkServer() { Close(); }

bool SdkServer::Listen(const QString& address, quint16 port, QString* error) {
    Close();
    QHostAddress host;
    if (!host.setAddress(address)) {
        if (error) *error = QStringLiteral("%1 is not an address to listen on").arg(address);
        return false;
    }
    server_ = std::make_unique<QTcpServer>();
    server_->setMaxPendingConnections(limits.maxClients);
    if (!server_->listen(host, port)) {
        if (error) *error = QStringLiteral("%1:%2: %3").arg(address).arg(port).arg(server_->errorString());
        server_.reset();
        return false;
    }
    connect(server_.get(), &QTcpServer::newConnection, this, &SdkServer::OnNewConnection);
    return true;
}

void SdkServer::Close() {
    for (auto& c : clients_) {
        c->socket->disconnect(this);
        c->socket->abort();
        c->socket->deleteLater();
    }
    clients_.clear();
    server_.reset();
}

bool SdkServer::Listening() const { return server_ && server_->isListening(); }

quint16 SdkServer::Port() const { return server_ ? server_->serverPort() : 0; }

void SdkServer::OnNewConnection() {
    while (server_ && server_->hasPendingConnections()) {
        QTcpSocket* socket = server_->nextPendingConnection();
        if (static_cast<int>(clients_.size()) >= limits.maxClients) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        // Qt buffers no more than this per socket; the rest waits in the kernel, and the client
        // waits with it.
        socket->setReadBufferSize(limits.readChunk);
        auto client = std::make_unique<Client>(socket, device_);
        Client* c = client.get();
        c->unfinished.setSingleShot(true);
        connect(&c->unfinished, &QTimer::timeout, this, [this, c] { Drop(c, QStringLiteral("unfinished packet")); });
        connect(socket, &QTcpSocket::readyRead, this, [this, c] { OnReadyRead(c); });
        connect(socket, &QTcpSocket::disconnected, this, [this, c] { Forget(c); });
        clients_.push_back(std::move(client));
        if (socket->bytesAvailable() > 0) OnReadyRead(c);
    }
}

void SdkServer::OnReadyRead(Client* c) {
    if (c->dropping) return;
    std::vector<std::uint8_t> in(static_cast<std::size_t>(limits.readChunk));
    std::vector<std::uint8_t> out;
    // One chunk a turn: a client that floods shares the thread with everything else.
    const qint64 n = c->socket->read(reinterpret_cast<char*>(in.data()), limits.readChunk);
    // The chunk goes to the session a slice at a time: 16 bytes of requests can ask for kilobytes
    // of answers, so the answers are counted as they grow, not after the whole chunk.
    std::span<const std::uint8_t> rest(in.data(), n > 0 ? static_cast<std::size_t>(n) : 0);
    while (!rest.empty()) {
        const auto slice = rest.first(std::min<std::size_t>(rest.size(), static_cast<std::size_t>(limits.answerCheckBytes)));
        rest = rest.subspan(slice.size());
        if (!c->session.Receive(slice, out)) {
            Drop(c, QString::fromUtf8(sdk::CloseReasonText(c->session.Reason())));
            return;
        }
        if (c->socket->bytesToWrite() + static_cast<qint64>(out.size()) > limits.maxUnsentAnswers) {
            Drop(c, QStringLiteral("answers not read"));
            return;
        }
    }
    if (!out.empty()) c->socket->write(reinterpret_cast<const char*>(out.data()), static_cast<qint64>(out.size()));
    if (c->session.MidPacket()) {
        if (!c->unfinished.isActive()) c->unfinished.start(limits.unfinishedPacketMs);
    } else {
        c->unfinished.stop();
    }
    if (c->socket->bytesAvailable() > 0) {
        QMetaObject::invokeMethod(this, [this, socket = c->socket] {
            const auto it = std::find_if(clients_.begin(), clients_.end(), [socket](const auto& k) { return k->socket == socket; });
            if (it != clients_.end()) OnReadyRead(it->get());
        }, Qt::QueuedConnection);
    }
}

void SdkServer::Drop(Client* c, const QString& reason) {
    if (c->dropping) return;
    c->dropping = true;
    c->socket->disconnect(this);
    c->socket->abort();
    Forget(c);
    emit clientDropped(reason);
}

void SdkServer::Forget(Client* c) {
    const auto it = std::find_if(clients_.begin(), clients_.end(), [c](const auto& k) { return k.get() == c; });
    if (it == clients_.end()) return;
    std::shared_ptr<Client> gone(std::move(*it));
    clients_.erase(it);
    gone->unfinished.stop();
    gone->socket->disconnect(this);
    gone->socket->deleteLater();
    // Its timer may be the one calling: the client goes once that call has returned.
    QMetaObject::invokeMethod(this, [gone] {}, Qt::QueuedConnection);
}

void SdkServer::NotifyDeviceListChanged() {
    const auto packet = sdk::EncodePacket(0, sdk::packet::kDeviceListUpdated);
    for (auto& c : clients_) {
        if (c->session.WantsListUpdates()) {
            c->socket->write(reinterpret_cast<const char*>(packet.data()), static_cast<qint64>(packet.size()));
        }
    }
}

}  // namespace qv::ui
