#pragma once
// The OpenRGB SDK wire format: the 16-byte packet header, the packet ids this server knows, the
// bounds it holds clients to, and little-endian readers and writers for the packet bodies.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qv::sdk {

inline constexpr std::uint16_t kDefaultPort = 6742;
// Protocol versions served: 0 up to this one.
inline constexpr std::uint32_t kServerProtocolVersion = 5;

inline constexpr std::size_t kHeaderSize = 16;
// No request this server understands comes near this; anything longer is refused before a byte
// of it is buffered, so a client cannot make the program hold more than one such packet.
inline constexpr std::uint32_t kMaxPacketData = 64 * 1024;

namespace packet {
inline constexpr std::uint32_t kRequestControllerCount = 0;
inline constexpr std::uint32_t kRequestControllerData = 1;
inline constexpr std::uint32_t kRequestProtocolVersion = 40;
inline constexpr std::uint32_t kSetClientName = 50;
inline constexpr std::uint32_t kDeviceListUpdated = 100;
inline constexpr std::uint32_t kResizeZone = 1000;
inline constexpr std::uint32_t kUpdateLeds = 1050;
inline constexpr std::uint32_t kUpdateZoneLeds = 1051;
inline constexpr std::uint32_t kUpdateSingleLed = 1052;
inline constexpr std::uint32_t kSetCustomMode = 1100;
inline constexpr std::uint32_t kUpdateMode = 1101;
inline constexpr std::uint32_t kSaveMode = 1102;
}  // namespace packet

struct PacketHeader {
    std::uint32_t deviceId = 0;
    std::uint32_t id = 0;
    std::uint32_t size = 0;
};

struct Packet {
    PacketHeader header;
    std::vector<std::uint8_t> data;
};

// Appends little-endian fields; strings go as a 16-bit length that counts the terminating zero,
// then the bytes and the zero.
class WireWriter {
public:
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
    void String(std::string_view s);
    void Bytes(std::span<const std::uint8_t> bytes);
    // Overwrites 4 bytes already written at `offset` (a size known only at the end).
    void PatchU32(std::size_t offset, std::uint32_t v);

    std::size_t Size() const { return out_.size(); }
    std::vector<std::uint8_t>& Data() { return out_; }
    std::vector<std::uint8_t> Take() { return std::move(out_); }

private:
    std::vector<std::uint8_t> out_;
};

// Reads fields from an untrusted body: every read is bounds-checked and a short body yields
// nothing, never a read past its end.
class WireReader {
public:
    explicit WireReader(std::span<const std::uint8_t> data) : data_(data) {}

    std::optional<std::uint16_t> U16();
    std::optional<std::uint32_t> U32();
    std::optional<std::int32_t> I32();
    // A length-prefixed string; the terminating zero (when present) is not part of the result.
    std::optional<std::string> String();
    bool Skip(std::size_t n);
    std::size_t Remaining() const { return data_.size() - pos_; }

private:
    std::span<const std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Header and body of one packet, ready to send.
std::vector<std::uint8_t> EncodePacket(std::uint32_t deviceId, std::uint32_t id, std::span<const std::uint8_t> data = {});

}  // namespace qv::sdk
