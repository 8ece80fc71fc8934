#pragma once
// The two small records the keyboard keeps for the program: the 44-byte global block and the
// 42-byte settings record of each on-board profile. Held as bytes; named accessors only for the
// bytes the program interprets, everything else is preserved as read.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv::device {

inline constexpr int kProfileCount = 3;

struct GlobalBlock {
    static constexpr std::size_t kSize = 44;
    static constexpr std::size_t kActiveProfile = 10;
    static constexpr std::size_t kMacroCapacity = 11;  // units of 128 bytes
    static constexpr std::size_t kEffectsFirst = 12;
    static constexpr std::size_t kEffectsCount = 32;

    std::array<std::uint8_t, kSize> bytes{};

    int ActiveProfile() const { return bytes[kActiveProfile]; }
    void SetActiveProfile(int p) { bytes[kActiveProfile] = static_cast<std::uint8_t>(p); }
    std::size_t MacroCapacityBytes() const { return std::size_t{bytes[kMacroCapacity]} * 128u; }
    // Effect codes as listed, zero entries skipped.
    std::vector<int> EffectCodes() const;
    void ClearEffects();
};

struct ProfileSettingsRecord {
    static constexpr std::size_t kSize = 42;
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
constexpr int SettingsAddress(int profile) { return profile * static_cast<int>(ProfileSettingsRecord::kSize); }

}  // namespace qv::device
