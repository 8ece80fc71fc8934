#pragma once
// Per-key colours of the three on-board profiles (126 slots each, slot = matrix index) with the
// per-button set flags, and how they are written into the keyboard's key-colour memory.

#include <array>
#include <cstdint>

#include "core/device/command_set.h"
#include "core/device/device_records.h"
#include "core/lighting/colour.h"
#include "core/lighting/lighting_keys.h"

namespace qv::lighting {

class KeyColourTable {
public:
    // One whole-profile write: 8 pieces of 18 slots (54 bytes) from slot 0; the last piece runs
    // past slot 125 into slots that belong to no key and are sent as zeros.
    static constexpr int kSlotsPerWrite = 18;
    static constexpr int kWrites = 8;
    static constexpr int kProfileBytes = kSlotsPerWrite * kWrites * 3;

    ColourRef Colour(int profile, int slot) const;
    void SetColour(int profile, int slot, ColourRef colour);

    // Whether a key button was last painted (true) or erased (false). Buttons sharing a slot
    // (the nine G keys, slot 125) share the flag: setting it for one sets it for all, as the
    // user lighting file keeps one entry for them.
    bool SetFlag(int profile, int buttonId) const;
    void SetSetFlag(int profile, int buttonId, bool set);

    // The colour a button shows: its slot's colour (G keys slot 125, Fn slot 110).
    ColourRef ButtonColour(int profile, int buttonId) const;

    // red, green, blue per slot for slots 0..143, the tail zero.
    std::array<std::uint8_t, kProfileBytes> ProfileBytes(int profile) const;

private:
    static bool ValidProfile(int p) { return p >= 0 && p < device::kProfileCount; }
    std::array<std::array<ColourRef, kColourSlots>, device::kProfileCount> colours_{};
    std::array<std::array<bool, kColourButtonCount>, device::kProfileCount> setFlags_{};
};

// One key: BeginConfig, 3 bytes at the slot, EndConfig. Results are not checked by callers.
void SendKeyColour(device::CommandSet& commands, int profile, int slot, ColourRef colour);
// The whole profile: BeginConfig, 8 writes of 54 bytes at slots 0, 18, ..., 126, EndConfig.
// Returns the first failing result, or 1.
int SendProfileColours(device::CommandSet& commands, const KeyColourTable& table, int profile);

}  // namespace qv::lighting
