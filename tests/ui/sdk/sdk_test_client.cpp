#include "ui/sdk/sdk_test_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace qv::test {
namespace {

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> d) : d_(d) {}
    bool U16(std::uint16_t& v) {
        if (!Have(2)) return false;
        v = static_cast<std::uint16_t>(d_[p_] | d_[p_ + 1] << 8);
        p_ += 2;
        return true;
    }
    bool U32(std::uint32_t& v) {
        if (!Have(4)) return false;
        v = static_cast<std::uint32_t>(d_[p_]) | static_cast<std::uint32_t>(d_[p_ + 1]) << 8 |
            static_cast<std::uint32_t>(d_[p_ + 2]) << 16 | static_cast<std::uint32_t>(d_[p_ + 3]) << 24;
        p_ += 4;
        return true;
    }
    bool I32(std::int32_t& v) {
        std::uint32_t u = 0;
        if (!U32(u)) return false;
        v = static_cast<std::int32_t>(u);
        return true;
    }
    // The documented form: the length counts a terminating zero that must be there.
    bool String(std::string& s) {
        std::uint16_t n = 0;
        if (!U16(n) || n == 0 || !Have(n) || d_[p_ + n - 1] != 0) return false;
        s.assign(reinterpret_cast<const char*>(d_.data() + p_), n - 1u);
        p_ += n;
        return true;
    }
    std::size_t Left() const { return d_.size() - p_; }

private:
    bool Have(std::size_t n) const { return d_.size() - p_ >= n; }
    std::span<const std::uint8_t> d_;
    std::size_t p_ = 0;
};

bool ParseModeInto(Reader& r, ParsedMode& m, std::uint32_t version) {
    if (!r.String(m.name) || !r.I32(m.value) || !r.U32(m.flags) || !r.U32(m.speedMin) || !r.U32(m.speedMax)) return false;
    if (version >= 3 && (!r.U32(m.brightnessMin) || !r.U32(m.brightnessMax))) return false;
    if (!r.U32(m.coloursMin) || !r.U32(m.coloursMax) || !r.U32(m.speed)) return false;
    if (version >= 3 && !r.U32(m.brightness)) return false;
    std::uint16_t n = 0;
    if (!r.U32(m.direction) || !r.U32(m.colourMode) || !r.U16(n)) return false;
    m.colours.resize(n);
    for (auto& c : m.colours) {
        if (!r.U32(c)) return false;
    }
    return true;
}

}  // namespace

SdkBody& SdkBody::U16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
}

SdkBody& SdkBody::U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
}

SdkBody& SdkBody::String(const std::string& s) {
    U16(static_cast<std::uint16_t>(s.size() + 1));
    bytes.insert(bytes.end(), s.begin(), s.end());
    bytes.push_back(0);
    return *this;
}

std::vector<std::uint8_t> SdkPacket(std::uint32_t deviceId, std::uint32_t id, const std::vector<std::uint8_t>& body) {
    SdkBody p;
    p.bytes = {'O', 'R', 'G', 'B'};
    p.U32(deviceId).U32(id).U32(static_cast<std::uint32_t>(body.size()));
    p.bytes.insert(p.bytes.end(), body.begin(), body.end());
    return p.bytes;
}

std::optional<ParsedController> ParseController(std::span<const std::uint8_t> body, std::uint32_t version) {
    Reader r(body);
    ParsedController c;
    std::uint16_t modeCount = 0;
    if (!r.U32(c.dataSize) || !r.I32(c.type) || !r.String(c.name)) return std::nullopt;
    if (version >= 1 && !r.String(c.vendor)) return std::nullopt;
    if (!r.String(c.description) || !r.String(c.version) || !r.String(c.serial) || !r.String(c.location) ||
        !r.U16(modeCount) || !r.I32(c.activeMode)) {
        return std::nullopt;
    }
    c.modes.resize(modeCount);
    for (auto& m : c.modes) {
        if (!ParseModeInto(r, m, version)) return std::nullopt;
    }
    std::uint16_t matrixLength = 0;
    if (!r.U16(c.zoneCount) || c.zoneCount != 1) return std::nullopt;
    if (!r.String(c.zoneName) || !r.I32(c.zoneType) || !r.U32(c.zoneLedsMin) || !r.U32(c.zoneLedsMax) ||
        !r.U32(c.zoneLedsCount) || !r.U16(matrixLength)) {
        return std::nullopt;
    }
    if (matrixLength > 0) {
        if (!r.U32(c.matrixHeight) || !r.U32(c.matrixWidth)) return std::nullopt;
        if (matrixLength != 8 + 4 * c.matrixHeight * c.matrixWidth) return std::nullopt;
        c.matrix.resize(std::size_t{c.matrixHeight} * c.matrixWidth);
        for (auto& i : c.matrix) {
            if (!r.U32(i)) return std::nullopt;
        }
    }
    if (version >= 4 && !r.U16(c.segmentCount)) return std::nullopt;
    if (version >= 5 && !r.U32(c.zoneFlags)) return std::nullopt;
    std::uint16_t ledCount = 0;
    if (!r.U16(ledCount)) return std::nullopt;
    c.ledNames.resize(ledCount);
    c.ledValues.resize(ledCount);
    for (std::size_t i = 0; i < ledCount; ++i) {
        if (!r.String(c.ledNames[i]) || !r.U32(c.ledValues[i])) return std::nullopt;
    }
    std::uint16_t colourCount = 0;
    if (!r.U16(colourCount)) return std::nullopt;
    c.colours.resize(colourCount);
    for (auto& colour : c.colours) {
        if (!r.U32(colour)) return std::nullopt;
    }
    if (version >= 5) {
        std::uint16_t names = 0;
        if (!r.U16(names)) return std::nullopt;
        c.ledDisplayNames.resize(names);
        for (auto& n : c.ledDisplayNames) {
            if (!r.String(n)) return std::nullopt;
        }
        if (!r.U32(c.flags)) return std::nullopt;
    }
    c.bytesLeft = r.Left();
    return c;
}

std::vector<std::uint8_t> ModeBody(std::int32_t index, const ParsedMode& m, std::uint32_t version) {
    SdkBody mode;
    mode.String(m.name).U32(static_cast<std::uint32_t>(m.value)).U32(m.flags).U32(m.speedMin).U32(m.speedMax);
    if (version >= 3) mode.U32(m.brightnessMin).U32(m.brightnessMax);
    mode.U32(m.coloursMin).U32(m.coloursMax).U32(m.speed);
    if (version >= 3) mode.U32(m.brightness);
    mode.U32(m.direction).U32(m.colourMode).U16(static_cast<std::uint16_t>(m.colours.size()));
    for (std::uint32_t c : m.colours) mode.U32(c);
    SdkBody body;
    body.U32(static_cast<std::uint32_t>(8 + mode.bytes.size())).U32(static_cast<std::uint32_t>(index));
    body.bytes.insert(body.bytes.end(), mode.bytes.begin(), mode.bytes.end());
    return body.bytes;
}

SdkTestClient::~SdkTestClient() { Close(); }

void SdkTestClient::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool SdkTestClient::Connect(std::uint16_t port) {
    Close();
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd_ < 0) return false;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
}

bool SdkTestClient::Send(const std::vector<std::uint8_t>& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool SdkTestClient::ReadExactly(std::uint8_t* out, std::size_t n, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t got = 0;
    while (got < n) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) continue;
        const ssize_t r = ::recv(fd_, out + got, n - got, 0);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        got += static_cast<std::size_t>(r);
    }
    return true;
}

std::optional<SdkReply> SdkTestClient::Receive(int timeoutMs) {
    std::uint8_t h[16];
    if (!ReadExactly(h, sizeof h, timeoutMs) || std::memcmp(h, "ORGB", 4) != 0) return std::nullopt;
    Reader r(std::span<const std::uint8_t>(h + 4, 12));
    SdkReply reply;
    std::uint32_t size = 0;
    r.U32(reply.deviceId);
    r.U32(reply.id);
    r.U32(size);
    if (size > (1u << 20)) return std::nullopt;
    reply.body.resize(size);
    if (size > 0 && !ReadExactly(reply.body.data(), size, timeoutMs)) return std::nullopt;
    return reply;
}

std::optional<SdkReply> SdkTestClient::ReceiveId(std::uint32_t id, int timeoutMs) {
    for (;;) {
        auto reply = Receive(timeoutMs);
        if (!reply || reply->id == id) return reply;
    }
}

bool SdkTestClient::ClosedByServer(int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::uint8_t sink[4096];
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, 50) <= 0) continue;
        const ssize_t r = ::recv(fd_, sink, sizeof sink, 0);
        if (r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN)) return true;
    }
    return false;
}

std::optional<std::uint32_t> SdkTestClient::Negotiate(std::uint32_t version) {
    if (!Send(0, 40, SdkBody().U32(version).bytes)) return std::nullopt;
    const auto reply = ReceiveId(40);
    if (!reply || reply->body.size() != 4) return std::nullopt;
    std::uint32_t v = 0;
    Reader(reply->body).U32(v);
    return v;
}

std::optional<std::uint32_t> SdkTestClient::ControllerCount() {
    if (!Send(0, 0)) return std::nullopt;
    const auto reply = ReceiveId(0);
    if (!reply || reply->body.size() != 4) return std::nullopt;
    std::uint32_t n = 0;
    Reader(reply->body).U32(n);
    return n;
}

std::optional<ParsedController> SdkTestClient::Controller(std::uint32_t index, std::uint32_t version) {
    // A version 0 client sends the request without data.
    if (!Send(index, 1, version == 0 ? std::vector<std::uint8_t>{} : SdkBody().U32(version).bytes)) return std::nullopt;
    const auto reply = ReceiveId(1);
    if (!reply || reply->deviceId != index) return std::nullopt;
    return ParseController(reply->body, version);
}

bool SdkTestClient::UpdateLeds(std::uint32_t index, const std::vector<std::uint32_t>& colours) {
    SdkBody body;
    body.U32(static_cast<std::uint32_t>(4 + 2 + 4 * colours.size())).U16(static_cast<std::uint16_t>(colours.size()));
    for (std::uint32_t c : colours) body.U32(c);
    return Send(index, 1050, body.bytes);
}

}  // namespace qv::test
