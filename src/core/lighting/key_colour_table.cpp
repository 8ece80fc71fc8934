#include "core/lighting/key_colour_table.h"

namespace qv::lighting {

ColourRef KeyColourTable::Colour(int profile, int slot) const {
    if (!ValidProfile(profile) || slot < 0 || slot >= kColourSlots) return kBlack;
    return colours_[static_cast<std::size_t>(profile)][static_cast<std::size_t>(slot)];
}

void KeyColourTable::SetColour(int profile, int slot, ColourRef colour) {
    if (!ValidProfile(profile) || slot < 0 || slot >= kColourSlots) return;
    colours_[static_cast<std::size_t>(profile)][static_cast<std::size_t>(slot)] = colour & 0xFFFFFFu;
}

bool KeyColourTable::SetFlag(int profile, int buttonId) const {
    const int i = ColourButtonIndex(buttonId);
    if (!ValidProfile(profile) || i < 0) return false;
    return setFlags_[static_cast<std::size_t>(profile)][static_cast<std::size_t>(i)];
}

void KeyColourTable::SetSetFlag(int profile, int buttonId, bool set) {
    const int slot = ColourSlotOfButton(buttonId);
    if (!ValidProfile(profile) || ColourButtonIndex(buttonId) < 0) return;
    // Buttons that light from one slot follow one flag: a G key erased while another G key kept
    // its "painted" flag would take the next base colour back through that one.
    for (int i = 0; i < kColourButtonCount; ++i) {
        if (ColourSlotOfButton(ColourButtonAt(i)) == slot) {
            setFlags_[static_cast<std::size_t>(profile)][static_cast<std::size_t>(i)] = set;
        }
    }
}

ColourRef KeyColourTable::ButtonColour(int profile, int buttonId) const {
    return Colour(profile, ColourSlotOfButton(buttonId));
}

std::array<std::uint8_t, KeyColourTable::kProfileBytes> KeyColourTable::ProfileBytes(int profile) const {
    std::array<std::uint8_t, kProfileBytes> out{};
    for (int slot = 0; slot < kColourSlots; ++slot) {
        const ColourRef c = Colour(profile, slot);
        out[static_cast<std::size_t>(slot * 3)] = RedOf(c);
        out[static_cast<std::size_t>(slot * 3 + 1)] = GreenOf(c);
        out[static_cast<std::size_t>(slot * 3 + 2)] = BlueOf(c);
    }
    return out;
}

void SendKeyColour(device::CommandSet& commands, int profile, int slot, ColourRef colour) {
    const std::uint8_t rgb[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    commands.BeginConfig();
    commands.WriteKeyColours(profile, rgb, 3, slot);
    commands.EndConfig();
}

int SendProfileColours(device::CommandSet& commands, const KeyColourTable& table, int profile) {
    const auto bytes = table.ProfileBytes(profile);
    int result = device::kSuccess;
    commands.BeginConfig();
    for (int w = 0; w < KeyColourTable::kWrites; ++w) {
        const int slot = w * KeyColourTable::kSlotsPerWrite;
        const int r = commands.WriteKeyColours(profile, bytes.data() + slot * 3, KeyColourTable::kSlotsPerWrite * 3, slot);
        if (r != device::kSuccess && result == device::kSuccess) result = r;
    }
    commands.EndConfig();
    return result;
}

}  // namespace qv::lighting
