// Bytes from an SDK client, against one session on a device of its own. Whatever arrives, the
// session holds no more than one packet, its answers are well-formed packets, and cutting the
// same stream into other pieces changes neither the answers nor the verdict.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/sdk/packet_parser.h"
#include "core/sdk/sdk_session.h"

namespace {

class FuzzDevice final : public qv::sdk::SdkDevice {
public:
    bool Present() const override { return true; }
    qv::sdk::ControllerData Describe() const override {
        qv::sdk::ControllerData c;
        c.name = "Fuzz";
        c.modes.resize(3);
        c.modes[1].colours = {0x0000FF};
        c.zone.name = "Keys";
        c.zone.height = 2;
        c.zone.width = 2;
        c.zone.matrix = {0, 1, 2, qv::sdk::kNoLed};
        c.leds.resize(3);
        c.colours = colours;
        return c;
    }
    std::size_t LedCount() const override { return colours.size(); }
    void SetLedColours(std::size_t first, std::span<const std::uint32_t> in) override {
        if (first + in.size() > colours.size()) std::abort();
        for (std::size_t i = 0; i < in.size(); ++i) colours[first + i] = in[i];
    }
    bool UpdateMode(std::size_t index, const qv::sdk::ModeData&) override { return index < 3; }
    void SetCustomMode() override {}

    std::vector<std::uint32_t> colours = std::vector<std::uint32_t>(3, 0);
};

struct Outcome {
    std::vector<std::uint8_t> answers;
    qv::sdk::CloseReason reason;
    std::vector<std::uint32_t> colours;
};

// Feeds `data` in pieces of `piece` bytes (all at once for 0).
Outcome Run(std::span<const std::uint8_t> data, std::size_t piece) {
    FuzzDevice device;
    qv::sdk::SdkSession session(device);
    Outcome o;
    while (!data.empty()) {
        const std::size_t n = piece == 0 ? data.size() : std::min(piece, data.size());
        const bool open = session.Receive(data.first(n), o.answers);
        if (session.Buffered() > qv::sdk::kHeaderSize + qv::sdk::kMaxPacketData) std::abort();
        data = data.subspan(n);
        if (!open) break;
    }
    o.reason = session.Reason();
    o.colours = device.colours;
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte chooses how the rest is cut.
    const std::size_t piece = data[0] % 17 + 1;
    const std::span<const std::uint8_t> stream(data + 1, size - 1);
    const Outcome whole = Run(stream, 0);
    const Outcome cut = Run(stream, piece);
    if (whole.answers != cut.answers || whole.reason != cut.reason || whole.colours != cut.colours) std::abort();

    // The answers read back as complete packets, nothing left over.
    qv::sdk::PacketParser parser;
    std::span<const std::uint8_t> answers(whole.answers);
    while (!answers.empty()) {
        answers = answers.subspan(parser.Feed(answers));
        if (parser.Error() != qv::sdk::ParseError::None) std::abort();
        parser.Take();
    }
    if (parser.MidPacket()) std::abort();
    return 0;
}
