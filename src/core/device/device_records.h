#pragma once
// The two small records the keyboard keeps for the program: the global block and the settings
// record of each on-board profile (sizes and the global block's fields in
// protocol/keyboard_memory.h). Held as bytes; named accessors only for the bytes the program
// interprets, everything else is preserved as read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "protocol/keyboard_memory.h"

namespace qv::device {

using protocol::kProfileCount;

struct GlobalBlock {
    static constexpr std::size_t kSize = protocol::kGlobalBlockSize;
    static constexpr std::size_t kActiveProfile = protocol::kActiveProfileAt;
    static constexpr std::size_t kMacroCapacity = protocol::kMacroCapacityAt;
    static constexpr std::size_t kEffectsFirst = protocol::kEffectsAt;
    static constexpr std::size_t kEffectsCount = protocol::kEffectsCount;

    std::array<std::uint8_t, kSize> bytes{};

    int ActiveProfile() const { return bytes[kActiveProfile]; }
    void SetActiveProfile(int p) { bytes[kActiveProfile] = static_cast<std::uint8_t>(p); }
    std::size_t MacroCapacityBytes() const { return protocol::MacroCapacityBytes(bytes[kMacroCapacity]); }
    // Effect codes as listed, zero entries skipped.
    std::vector<int> EffectCodes() const;
    void ClearEffects();
};

struct ProfileSettingsRecord {
    static constexpr std::size_t kSize = protocol::kSettingsRecordSize;
    // Offsets of the fields the program reads and writes.
    static constexpr std::size_t kEffect = 0;
    static constexpr std::size_t kBrightness = 1;
    static constexpr std::size_t kSpeed = 2;
    static constexpr std::size_t kDirection = 3;
    static constexpr std::size_t kColourful = 4;
    static constexpr std::size_t kColour = 5;  // red, green, blue
    static constexpr std::size_t kReportRate = 15;
    static constexpr std::size_t kColourChoice = 17;
    static constexpr std::size_t kTriggerStyle = 19;
    static constexpr std::size_t kStoneColour = 25;
    static constexpr std::size_t kStoneRandom = 28;
    static constexpr std::size_t kRibbonColour = 30;
    static constexpr std::size_t kRibbonRandom = 33;

    std::array<std::uint8_t, kSize> bytes{};

    // A stored value above 3 reads as 3.
    int ReportRateIndex() const { return bytes[kReportRate] > 3 ? 3 : bytes[kReportRate]; }
};

// Address of a profile's settings record in the settings memory.
using protocol::SettingsAddress;

}  // namespace qv::device
