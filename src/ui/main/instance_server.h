#pragma once
// The receiving end of the instance channel: once the main window is tagged it listens on its
// process's socket and hands every request to the window's message handler.

#include <QObject>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

class QLocalServer;

namespace qv::ui {

class InstanceServer : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(std::uint32_t message, std::uint32_t wParam)>;

    explicit InstanceServer(Handler handler);
    ~InstanceServer() override;

    // Listens on the socket of this process in `socketFolder`; false when the folder was refused
    // or the socket cannot be created (other instances then cannot reach this one).
    bool Listen(const std::filesystem::path& socketFolder);
    void Close();
    const std::filesystem::path& SocketPath() const { return path_; }

private:
    void Accept();

    Handler handler_;
    std::unique_ptr<QLocalServer> server_;
    std::filesystem::path path_;
};

}  // namespace qv::ui
