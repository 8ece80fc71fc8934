#include "core/sdk/controller_data.h"

namespace qv::sdk {

void EncodeMode(WireWriter& w, const ModeData& m, std::uint32_t version) {
    w.String(m.name);
    w.I32(m.value);
    w.U32(m.flags);
    w.U32(m.speedMin);
    w.U32(m.speedMax);
    if (version >= 3) {
        w.U32(m.brightnessMin);
        w.U32(m.brightnessMax);
    }
    w.U32(m.coloursMin);
    w.U32(m.coloursMax);
    w.U32(m.speed);
    if (version >= 3) w.U32(m.brightness);
    w.U32(m.direction);
    w.U32(m.colourMode);
    w.U16(static_cast<std::uint16_t>(m.colours.size()));
    for (std::uint32_t c : m.colours) w.U32(c);
}

std::optional<ModeData> DecodeMode(WireReader& r, std::uint32_t version) {
    ModeData m;
    auto name = r.String();
    auto value = r.I32();
    auto flags = r.U32();
    auto speedMin = r.U32();
    auto speedMax = r.U32();
    std::optional<std::uint32_t> brightnessMin = 0, brightnessMax = 0, brightness = 0;
    if (version >= 3) {
        brightnessMin = r.U32();
        brightnessMax = r.U32();
    }
    auto coloursMin = r.U32();
    auto coloursMax = r.U32();
    auto speed = r.U32();
    if (version >= 3) brightness = r.U32();
    auto dir = r.U32();
    auto colourMode = r.U32();
    auto count = r.U16();
    if (!name || !value || !flags || !speedMin || !speedMax || !brightnessMin || !brightnessMax || !coloursMin ||
        !coloursMax || !speed || !brightness || !dir || !colourMode || !count) {
        return std::nullopt;
    }
    // The count is checked against what is there before anything is reserved for it.
    if (r.Remaining() < std::size_t{*count} * 4) return std::nullopt;
    m.name = std::move(*name);
    m.value = *value;
    m.flags = *flags;
    m.speedMin = *speedMin;
    m.speedMax = *speedMax;
    m.brightnessMin = *brightnessMin;
    m.brightnessMax = *brightnessMax;
    m.coloursMin = *coloursMin;
    m.coloursMax = *coloursMax;
    m.speed = *speed;
    m.brightness = *brightness;
    m.direction = *dir;
    m.colourMode = *colourMode;
    m.colours.reserve(*count);
    for (std::uint16_t i = 0; i < *count; ++i) m.colours.push_back(*r.U32());
    return m;
}

namespace {

void EncodeZone(WireWriter& w, const ZoneData& z, std::uint32_t ledCount, std::uint32_t version) {
    w.String(z.name);
    w.I32(z.type);
    w.U32(ledCount);  // fixed: min, max and count are the same
    w.U32(ledCount);
    w.U32(ledCount);
    if (z.matrix.empty()) {
        w.U16(0);
    } else {
        w.U16(static_cast<std::uint16_t>(8 + 4 * z.matrix.size()));
        w.U32(z.height);
        w.U32(z.width);
        for (std::uint32_t i : z.matrix) w.U32(i);
    }
    if (version >= 4) w.U16(0);  // no segments
    if (version >= 5) w.U32(0);  // zone flags
}

}  // namespace

std::vector<std::uint8_t> EncodeControllerData(const ControllerData& c, std::uint32_t version) {
    WireWriter w;
    w.U32(0);  // the size, patched at the end
    w.I32(c.type);
    w.String(c.name);
    if (version >= 1) w.String(c.vendor);
    w.String(c.description);
    w.String(c.version);
    w.String(c.serial);
    w.String(c.location);
    w.U16(static_cast<std::uint16_t>(c.modes.size()));
    w.I32(c.activeMode);
    for (const ModeData& m : c.modes) EncodeMode(w, m, version);
    w.U16(1);
    EncodeZone(w, c.zone, static_cast<std::uint32_t>(c.leds.size()), version);
    w.U16(static_cast<std::uint16_t>(c.leds.size()));
    for (const LedData& led : c.leds) {
        w.String(led.name);
        w.U32(led.value);
    }
    w.U16(static_cast<std::uint16_t>(c.colours.size()));
    for (std::uint32_t colour : c.colours) w.U32(colour);
    if (version >= 5) {
        w.U16(static_cast<std::uint16_t>(c.leds.size()));
        for (const LedData& led : c.leds) w.String(led.displayName);
        w.U32(0);  // controller flags
    }
    w.PatchU32(0, static_cast<std::uint32_t>(w.Size()));
    return w.Take();
}

}  // namespace qv::sdk
