#pragma once
// A client of the OpenRGB SDK protocol for tests, written from the protocol's documentation
// rather than from the server's own encoder, so a field the server puts in the wrong place or
// version shows up here. Blocking POSIX sockets: run it off the thread that runs the server.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace qv::test {

// Little-endian packet bodies, the way a client builds them.
class SdkBody {
public:
    SdkBody& U16(std::uint16_t v);
    SdkBody& U32(std::uint32_t v);
    SdkBody& String(const std::string& s);  // length with the zero, bytes, zero
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> SdkPacket(std::uint32_t deviceId, std::uint32_t id, const std::vector<std::uint8_t>& body = {});

struct SdkReply {
    std::uint32_t deviceId = 0;
    std::uint32_t id = 0;
    std::vector<std::uint8_t> body;
};

struct ParsedMode {
    std::string name;
    std::int32_t value = 0;
    std::uint32_t flags = 0, speedMin = 0, speedMax = 0, brightnessMin = 0, brightnessMax = 0;
    std::uint32_t coloursMin = 0, coloursMax = 0, speed = 0, brightness = 0, direction = 0, colourMode = 0;
    std::vector<std::uint32_t> colours;
};

struct ParsedController {
    std::uint32_t dataSize = 0;
    std::int32_t type = -1;
    std::string name, vendor, description, version, serial, location;
    std::int32_t activeMode = -1;
    std::vector<ParsedMode> modes;
    std::uint16_t zoneCount = 0;
    std::string zoneName;
    std::int32_t zoneType = -1;
    std::uint32_t zoneLedsMin = 0, zoneLedsMax = 0, zoneLedsCount = 0;
    std::uint32_t matrixHeight = 0, matrixWidth = 0;
    std::vector<std::uint32_t> matrix;
    std::uint16_t segmentCount = 0;
    std::uint32_t zoneFlags = 0;
    std::vector<std::string> ledNames;
    std::vector<std::uint32_t> ledValues;
    std::vector<std::uint32_t> colours;
    std::vector<std::string> ledDisplayNames;
    std::uint32_t flags = 0;
    std::size_t bytesLeft = 0;  // after the last field of the version
};

// Parses a controller data block of `version`; nothing when it is short.
std::optional<ParsedController> ParseController(std::span<const std::uint8_t> body, std::uint32_t version);
// The mode block as a client sends it in UPDATEMODE.
std::vector<std::uint8_t> ModeBody(std::int32_t index, const ParsedMode& m, std::uint32_t version);

class SdkTestClient {
public:
    ~SdkTestClient();
    bool Connect(std::uint16_t port);
    bool Send(const std::vector<std::uint8_t>& bytes);
    bool Send(std::uint32_t deviceId, std::uint32_t id, const std::vector<std::uint8_t>& body = {}) {
        return Send(SdkPacket(deviceId, id, body));
    }
    // The next packet within `timeoutMs`; nothing on timeout or a closed connection.
    std::optional<SdkReply> Receive(int timeoutMs = 3000);
    // The next packet of this id, others skipped.
    std::optional<SdkReply> ReceiveId(std::uint32_t id, int timeoutMs = 3000);
    // The server ended the connection within `timeoutMs` (what it sent before is read over).
    bool ClosedByServer(int timeoutMs = 3000);
    void Close();

    // REQUEST_PROTOCOL_VERSION with `version`; the server's answer.
    std::optional<std::uint32_t> Negotiate(std::uint32_t version);
    std::optional<std::uint32_t> ControllerCount();
    std::optional<ParsedController> Controller(std::uint32_t index, std::uint32_t version);
    // UPDATELEDS with every colour.
    bool UpdateLeds(std::uint32_t index, const std::vector<std::uint32_t>& colours);

private:
    bool ReadExactly(std::uint8_t* out, std::size_t n, int timeoutMs);
    int fd_ = -1;
};

}  // namespace qv::test
