#pragma once
// One client's conversation with the server: the byte stream cut into packets, the protocol
// version it negotiated, and each command answered or carried out on the device. Anything that
// breaks the protocol ends the conversation (the caller closes that connection, nothing else);
// commands this server does not offer are ignored, as clients of older servers expect.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/sdk/packet_parser.h"
#include "core/sdk/sdk_device.h"

namespace qv::sdk {

enum class CloseReason {
    None,
    BadMagic,
    TooLong,
    Truncated,        // a body shorter than its command needs
    UnknownController,
};

const char* CloseReasonText(CloseReason reason);

class SdkSession {
public:
    explicit SdkSession(SdkDevice& device) : device_(device) {}

    // Takes the bytes as they came; answers are appended to `out`. False once the session must
    // end (see Reason()); later calls then do nothing.
    bool Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out);
    // One complete packet (Receive cuts the stream into these).
    bool Handle(const Packet& packet, std::vector<std::uint8_t>& out);

    CloseReason Reason() const { return reason_; }
    // The version agreed with REQUEST_PROTOCOL_VERSION; 0 until the client asks.
    std::uint32_t Version() const { return version_; }
    const std::string& ClientName() const { return clientName_; }
    // Part of a packet is waiting for the rest.
    bool MidPacket() const { return parser_.MidPacket(); }
    std::size_t Buffered() const { return parser_.Buffered(); }
    // Whether the client is told of device list changes (it speaks version 1 or later).
    bool WantsListUpdates() const { return version_ >= 1; }

private:
    bool Close(CloseReason reason);
    bool HandleController(const Packet& packet);

    SdkDevice& device_;
    PacketParser parser_;
    std::uint32_t version_ = 0;
    std::string clientName_;
    CloseReason reason_ = CloseReason::None;
};

}  // namespace qv::sdk
