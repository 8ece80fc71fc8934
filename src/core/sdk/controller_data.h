#pragma once
// One RGB controller as SDK clients see it (device, modes, one zone, LEDs, colours), encoded as
// the controller data block of each protocol version, and the mode block clients send back.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/sdk/sdk_wire.h"

namespace qv::sdk {

inline constexpr std::int32_t kDeviceTypeKeyboard = 5;
inline constexpr std::int32_t kZoneTypeMatrix = 2;
inline constexpr std::uint32_t kNoLed = 0xFFFFFFFFu;

namespace mode_flag {
inline constexpr std::uint32_t kHasSpeed = 1u << 0;
inline constexpr std::uint32_t kHasDirectionLR = 1u << 1;
inline constexpr std::uint32_t kHasDirectionUD = 1u << 2;
inline constexpr std::uint32_t kHasDirectionHV = 1u << 3;
inline constexpr std::uint32_t kHasBrightness = 1u << 4;
inline constexpr std::uint32_t kHasPerLedColour = 1u << 5;
inline constexpr std::uint32_t kHasModeSpecificColour = 1u << 6;
inline constexpr std::uint32_t kHasRandomColour = 1u << 7;
}  // namespace mode_flag

namespace colour_mode {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kPerLed = 1;
inline constexpr std::uint32_t kModeSpecific = 2;
inline constexpr std::uint32_t kRandom = 3;
}  // namespace colour_mode

namespace direction {
inline constexpr std::uint32_t kLeft = 0;
inline constexpr std::uint32_t kRight = 1;
inline constexpr std::uint32_t kUp = 2;
inline constexpr std::uint32_t kDown = 3;
}  // namespace direction

// Colours travel as 0x00BBGGRR, the layout the tool keeps its colours in.
struct ModeData {
    std::string name;
    std::int32_t value = 0;
    std::uint32_t flags = 0;
    std::uint32_t speedMin = 0;
    std::uint32_t speedMax = 0;
    std::uint32_t brightnessMin = 0;
    std::uint32_t brightnessMax = 0;
    std::uint32_t coloursMin = 0;
    std::uint32_t coloursMax = 0;
    std::uint32_t speed = 0;
    std::uint32_t brightness = 0;
    std::uint32_t direction = 0;
    std::uint32_t colourMode = 0;
    std::vector<std::uint32_t> colours;

    bool operator==(const ModeData&) const = default;
};

struct LedData {
    std::string name;
    std::uint32_t value = 0;
    std::string displayName;  // the alternative name (protocol 5)
};

struct ZoneData {
    std::string name;
    std::int32_t type = kZoneTypeMatrix;
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::vector<std::uint32_t> matrix;  // height x width LED indices, kNoLed where none
};

struct ControllerData {
    std::int32_t type = kDeviceTypeKeyboard;
    std::string name;
    std::string vendor;
    std::string description;
    std::string version;
    std::string serial;
    std::string location;
    std::int32_t activeMode = 0;
    std::vector<ModeData> modes;
    ZoneData zone;  // the one zone; it holds every LED
    std::vector<LedData> leds;
    std::vector<std::uint32_t> colours;  // one per LED
};

// The controller data block for `version` (0..kServerProtocolVersion), its leading size
// included.
std::vector<std::uint8_t> EncodeControllerData(const ControllerData& c, std::uint32_t version);
void EncodeMode(WireWriter& w, const ModeData& m, std::uint32_t version);
// A mode block as a client of `version` sends it in UPDATEMODE; nothing when it is short or
// carries more colours than the body holds.
std::optional<ModeData> DecodeMode(WireReader& r, std::uint32_t version);

}  // namespace qv::sdk
