#pragma once
// Cuts the byte stream of one client into packets. Bytes arrive in any pieces; the parser keeps
// at most one header and one body (never more than kMaxPacketData), and a stream that breaks the
// format stops it for good: the connection is then closed, nothing after it is read.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/sdk/sdk_wire.h"

namespace qv::sdk {

enum class ParseError {
    None,
    BadMagic,     // the header does not start with "ORGB"
    TooLong,      // the header announces a body beyond kMaxPacketData
};

class PacketParser {
public:
    // Takes as many bytes of `data` as it can use and returns how many it took: it stops after
    // each complete packet (fetch it with Take) and on an error (everything is refused from then).
    std::size_t Feed(std::span<const std::uint8_t> data);
    // The packet completed by the last Feed, once.
    std::optional<Packet> Take();

    ParseError Error() const { return error_; }
    // Part of a packet is held (a client that stops here is one that left a packet unfinished).
    bool MidPacket() const { return !header_.empty() || haveHeader_; }
    // Bytes held now; never above kHeaderSize + kMaxPacketData.
    std::size_t Buffered() const { return header_.size() + body_.size(); }

private:
    std::vector<std::uint8_t> header_;
    std::vector<std::uint8_t> body_;
    PacketHeader current_;
    bool haveHeader_ = false;
    std::optional<Packet> ready_;
    ParseError error_ = ParseError::None;
};

}  // namespace qv::sdk
