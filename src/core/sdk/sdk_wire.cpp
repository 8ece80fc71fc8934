#include "core/sdk/sdk_wire.h"

#include <algorithm>
#include <limits>

#include "core/keyboard/little_endian.h"

namespace qv::sdk {

void WireWriter::U16(std::uint16_t v) {
    std::uint8_t b[2];
    le::Put16(b, v);
    out_.insert(out_.end(), b, b + 2);
}

void WireWriter::U32(std::uint32_t v) {
    std::uint8_t b[4];
    le::Put32(b, v);
    out_.insert(out_.end(), b, b + 4);
}

void WireWriter::String(std::string_view s) {
    // The length field counts the zero; a longer text is cut rather than wrapped.
    const std::size_t n = std::min<std::size_t>(s.size(), std::numeric_limits<std::uint16_t>::max() - 1);
    U16(static_cast<std::uint16_t>(n + 1));
    out_.insert(out_.end(), s.begin(), s.begin() + static_cast<std::ptrdiff_t>(n));
    out_.push_back(0);
}

void WireWriter::Bytes(std::span<const std::uint8_t> bytes) { out_.insert(out_.end(), bytes.begin(), bytes.end()); }

void WireWriter::PatchU32(std::size_t offset, std::uint32_t v) {
    if (offset + 4 <= out_.size()) le::Put32(out_.data() + offset, v);
}

std::optional<std::uint16_t> WireReader::U16() {
    if (Remaining() < 2) return std::nullopt;
    const std::uint16_t v = le::Get16(data_.data() + pos_);
    pos_ += 2;
    return v;
}

std::optional<std::uint32_t> WireReader::U32() {
    if (Remaining() < 4) return std::nullopt;
    const std::uint32_t v = le::Get32(data_.data() + pos_);
    pos_ += 4;
    return v;
}

std::optional<std::int32_t> WireReader::I32() {
    const auto v = U32();
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::optional<std::string> WireReader::String() {
    const auto length = U16();
    if (!length || Remaining() < *length) return std::nullopt;
    const auto* p = reinterpret_cast<const char*>(data_.data() + pos_);
    std::string s(p, *length);
    pos_ += *length;
    // Up to the first zero: the zero ends the text whatever the length said.
    if (const auto zero = s.find('\0'); zero != std::string::npos) s.resize(zero);
    return s;
}

bool WireReader::Skip(std::size_t n) {
    if (Remaining() < n) return false;
    pos_ += n;
    return true;
}

std::vector<std::uint8_t> EncodePacket(std::uint32_t deviceId, std::uint32_t id, std::span<const std::uint8_t> data) {
    WireWriter w;
    w.Bytes(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>("ORGB"), 4));
    w.U32(deviceId);
    w.U32(id);
    w.U32(static_cast<std::uint32_t>(data.size()));
    w.Bytes(data);
    return w.Take();
}

}  // namespace qv::sdk
