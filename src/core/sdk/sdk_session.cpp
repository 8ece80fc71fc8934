#include "core/sdk/sdk_session.h"

#include <algorithm>

namespace qv::sdk {
namespace {

constexpr std::size_t kMaxClientName = 256;

// RGBController commands are numbered from here; each addresses a controller by index.
constexpr std::uint32_t kFirstControllerCommand = 1000;
constexpr std::uint32_t kLastControllerCommand = 1999;

}  // namespace

const char* CloseReasonText(CloseReason reason) {
    switch (reason) {
    case CloseReason::None: return "";
    case CloseReason::BadMagic: return "not an SDK packet";
    case CloseReason::TooLong: return "packet longer than allowed";
    case CloseReason::Truncated: return "packet shorter than its command";
    case CloseReason::UnknownController: return "no such controller";
    }
    return "";
}

bool SdkSession::Close(CloseReason reason) {
    reason_ = reason;
    return false;
}

bool SdkSession::Receive(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out) {
    while (reason_ == CloseReason::None) {
        const std::size_t used = parser_.Feed(bytes);
        bytes = bytes.subspan(used);
        if (parser_.Error() == ParseError::BadMagic) return Close(CloseReason::BadMagic);
        if (parser_.Error() == ParseError::TooLong) return Close(CloseReason::TooLong);
        auto packet = parser_.Take();
        if (!packet) break;
        if (!Handle(*packet, out)) return false;
    }
    return reason_ == CloseReason::None;
}

bool SdkSession::Handle(const Packet& p, std::vector<std::uint8_t>& out) {
    if (reason_ != CloseReason::None) return false;
    WireReader r(p.data);
    const std::uint32_t count = device_.Present() ? 1 : 0;
    switch (p.header.id) {
    case packet::kRequestControllerCount: {
        WireWriter w;
        w.U32(count);
        const auto reply = EncodePacket(0, packet::kRequestControllerCount, w.Data());
        out.insert(out.end(), reply.begin(), reply.end());
        return true;
    }
    case packet::kRequestControllerData: {
        if (p.header.deviceId >= count) return Close(CloseReason::UnknownController);
        // Without a version in the request the client speaks version 0.
        const std::uint32_t asked = p.data.size() >= 4 ? *r.U32() : 0;
        const auto body = EncodeControllerData(device_.Describe(), std::min(asked, kServerProtocolVersion));
        const auto reply = EncodePacket(p.header.deviceId, packet::kRequestControllerData, body);
        out.insert(out.end(), reply.begin(), reply.end());
        return true;
    }
    case packet::kRequestProtocolVersion: {
        const auto client = r.U32();
        if (!client) return Close(CloseReason::Truncated);
        version_ = std::min(*client, kServerProtocolVersion);
        WireWriter w;
        w.U32(kServerProtocolVersion);
        const auto reply = EncodePacket(0, packet::kRequestProtocolVersion, w.Data());
        out.insert(out.end(), reply.begin(), reply.end());
        return true;
    }
    case packet::kSetClientName: {
        std::string name(p.data.begin(), p.data.begin() + static_cast<std::ptrdiff_t>(std::min(p.data.size(), kMaxClientName)));
        if (const auto zero = name.find('\0'); zero != std::string::npos) name.resize(zero);
        clientName_ = std::move(name);
        return true;
    }
    default:
        break;
    }
    if (p.header.id >= kFirstControllerCommand && p.header.id <= kLastControllerCommand) {
        if (p.header.deviceId >= count) return Close(CloseReason::UnknownController);
        return HandleController(p);
    }
    return true;  // not offered here: ignored
}

bool SdkSession::HandleController(const Packet& p) {
    WireReader r(p.data);
    const auto readColours = [&](std::size_t first) {
        const auto n = r.U16();
        if (!n || r.Remaining() < std::size_t{*n} * 4) return false;
        // Colours past the last LED are read over, not applied.
        const std::size_t applied = first < device_.LedCount() ? std::min<std::size_t>(*n, device_.LedCount() - first) : 0;
        std::vector<std::uint32_t> colours;
        colours.reserve(applied);
        for (std::size_t i = 0; i < applied; ++i) colours.push_back(*r.U32());
        if (!colours.empty()) device_.SetLedColours(first, colours);
        return true;
    };
    switch (p.header.id) {
    case packet::kUpdateLeds:
        if (!r.U32()) return Close(CloseReason::Truncated);
        return readColours(0) || Close(CloseReason::Truncated);
    case packet::kUpdateZoneLeds: {
        const auto size = r.U32();
        const auto zone = r.U32();
        if (!size || !zone) return Close(CloseReason::Truncated);
        if (*zone != 0) return true;  // the one zone is 0
        return readColours(0) || Close(CloseReason::Truncated);
    }
    case packet::kUpdateSingleLed: {
        const auto led = r.I32();
        const auto colour = r.U32();
        if (!led || !colour) return Close(CloseReason::Truncated);
        if (*led >= 0 && static_cast<std::size_t>(*led) < device_.LedCount()) {
            const std::uint32_t c[1] = {*colour};
            device_.SetLedColours(static_cast<std::size_t>(*led), c);
        }
        return true;
    }
    case packet::kSetCustomMode:
        device_.SetCustomMode();
        return true;
    case packet::kUpdateMode:
    case packet::kSaveMode: {
        const auto size = r.U32();
        const auto index = r.I32();
        if (!size || !index) return Close(CloseReason::Truncated);
        const auto mode = DecodeMode(r, version_);
        if (!mode) return Close(CloseReason::Truncated);
        // The keyboard keeps every change by itself: saving is updating.
        if (*index >= 0) device_.UpdateMode(static_cast<std::size_t>(*index), *mode);
        return true;
    }
    case packet::kResizeZone:
        // The zone is the keyboard's keys: its size is fixed, the request is left unanswered.
    default:
        return true;
    }
}

}  // namespace qv::sdk
