#pragma once
// The lighting of the keyboard's three profiles as the tool handles it: reading the supported
// effects and the three settings records, and writing single fields of the shown profile's record
// as the panel changes them. The keyboard holds the truth; nothing here waits for Apply.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <span>

#include "core/app/settings.h"
#include "core/device/command_set.h"
#include "core/device/device_records.h"
#include "core/lighting/colour.h"
#include "core/lighting/effect_table.h"
#include "core/lighting/lighting_state.h"

namespace qv::lighting {

// One field of a settings record: 1 byte, or 3 for a colour.
struct LightingField {
    int offset;
    std::array<std::uint8_t, 3> bytes;
    int count;
};

LightingField ByteField(int offset, int value);
LightingField ColourField(int offset, ColourRef colour);

class LightingSettings {
public:
    explicit LightingSettings(device::CommandSet& commands) : commands_(commands) {}

    // 0..2; every write addresses this profile's record.
    void SetShownProfile(int profile);
    int ShownProfile() const { return shownProfile_; }

    // Reads the supported effects and the three records and decodes the shown one, the lighting
    // view flag from the settings file last. 0, or -1 when the global block cannot be read (the
    // effect list is then empty and the records are not read). `insideConfig` runs right after
    // the BeginConfig that brackets the reads (the arrival variant sends the key colours there).
    int Load(const SettingsFile* settings, const std::function<void()>& insideConfig = {});

    const device::GlobalBlock& Global() const { return global_; }
    const EffectTable& Effects() const { return effects_; }
    const std::array<device::ProfileSettingsRecord, device::kProfileCount>& Mirror() const { return mirror_; }
    LightingPanelState& State() { return state_; }
    const LightingPanelState& State() const { return state_; }

    // One BeginConfig/EndConfig group with the fields in the order given.
    void WriteFields(std::initializer_list<LightingField> fields);

    // The selector's position n: writes by the code's group and makes it the current effect.
    // A listed code the tool does not know is written alone. Returns the code (0 when the
    // position is outside the table; nothing is written then).
    int SelectEffectAt(int position);
    void SelectEffect(int code);
    // Slider positions 0..5 (others are clamped); true when something was written.
    bool MoveBrightnessSlider(int position);
    bool MoveSpeedSlider(int position);
    // true: the first picture (255); false: the second (0).
    void SetDirection(bool first);
    // A colour picked in either colour group: colourful off, byte 4 then bytes 5..7.
    void PickColour(ColourRef colour);
    void ToggleColourful();
    // Byte 4 = 0 or 1.
    void SetColourful(bool on);
    // 0..3 (others are ignored).
    void ChooseColour(int choice);
    // 0..3 (others are ignored).
    void SetReportRate(int index);
    // The 35-byte default block at the shown profile's record; the state follows it.
    void WriteDefaultBlock();

private:
    device::CommandSet& commands_;
    int shownProfile_ = 0;
    device::GlobalBlock global_{};
    EffectTable effects_;
    std::array<device::ProfileSettingsRecord, device::kProfileCount> mirror_{};
    LightingPanelState state_;
};

}  // namespace qv::lighting
