#pragma once
// The SDK server's sockets: it listens on one address and port, keeps a bounded buffer per client
// and hands the bytes to that client's session. Everything runs on the window's thread without
// ever waiting for a client: a client that breaks the protocol, stops in the middle of a packet
// or does not read its answers loses its own connection and nothing else.

#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

#include "core/sdk/sdk_session.h"

class QTcpServer;
class QTcpSocket;

namespace qv::ui {

class SdkServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxClients = 16;
        qint64 readChunk = 16 * 1024;         // bytes taken from a socket per turn
        qint64 maxUnsentAnswers = 1 << 20;    // answers a client leaves unread before it is dropped
        qint64 answerCheckBytes = 1024;       // requests handled between two checks of that bound
        int unfinishedPacketMs = 5000;        // how long a started packet may wait for its rest
    };

    explicit SdkServer(sdk::SdkDevice& device, QObject* parent = nullptr);
    ~SdkServer() override;

    // False, with the reason in `error`, when the address does not read or the port is taken.
    bool Listen(const QString& address, quint16 port, QString* error);
    void Close();
    bool Listening() const;
    quint16 Port() const;

    // Tells every client that speaks version 1 or later that the device list changed.
    void NotifyDeviceListChanged();

    int ClientCount() const { return static_cast<int>(clients_.size()); }
    Limits limits;

signals:
    // A client's connection was ended by the server (bad input, too slow) with why.
    void clientDropped(const QString& reason);

private:
    struct Client;
    void OnNewConnection();
    void OnReadyRead(Client* client);
    void Drop(Client* client, const QString& reason);
    void Forget(Client* client);

    sdk::SdkDevice& device_;
    std::unique_ptr<QTcpServer> server_;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace qv::ui
