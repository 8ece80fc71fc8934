#include "core/sdk/packet_parser.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/keyboard/little_endian.h"

namespace qv::sdk {

std::size_t PacketParser::Feed(std::span<const std::uint8_t> data) {
    std::size_t used = 0;
    while (used < data.size() && error_ == ParseError::None && !ready_) {
        if (!haveHeader_) {
            const std::size_t n = std::min(kHeaderSize - header_.size(), data.size() - used);
            header_.insert(header_.end(), data.begin() + static_cast<std::ptrdiff_t>(used),
                           data.begin() + static_cast<std::ptrdiff_t>(used + n));
            used += n;
            // A wrong magic is known from its first byte: no need to wait for the rest.
            const std::size_t magicSeen = std::min<std::size_t>(header_.size(), 4);
            if (std::memcmp(header_.data(), "ORGB", magicSeen) != 0) {
                error_ = ParseError::BadMagic;
                break;
            }
            if (header_.size() < kHeaderSize) break;
            current_.deviceId = le::Get32(header_.data() + 4);
            current_.id = le::Get32(header_.data() + 8);
            current_.size = le::Get32(header_.data() + 12);
            if (current_.size > kMaxPacketData) {
                error_ = ParseError::TooLong;
                break;
            }
            haveHeader_ = true;
            body_.clear();
            body_.reserve(current_.size);
        }
        const std::size_t n = std::min<std::size_t>(current_.size - body_.size(), data.size() - used);
        body_.insert(body_.end(), data.begin() + static_cast<std::ptrdiff_t>(used),
                     data.begin() + static_cast<std::ptrdiff_t>(used + n));
        used += n;
        if (body_.size() == current_.size) {
            ready_ = Packet{current_, std::move(body_)};
            body_ = {};
            header_.clear();
            haveHeader_ = false;
        }
    }
    return used;
}

std::optional<Packet> PacketParser::Take() { return std::exchange(ready_, std::nullopt); }

}  // namespace qv::sdk
