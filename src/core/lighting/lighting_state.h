#pragma once
// The lighting panel's state: the shown profile's settings record decoded into the values the
// panel and the preview use.

#include "core/device/device_records.h"
#include "core/lighting/colour.h"

namespace qv::lighting {

struct LightingPanelState {
    int effect = 0;
    int brightness = 0;    // 0..5, device units (the slider position)
    int speed = 0;         // 0..5, device units (5 minus the slider position)
    int direction = 0;     // 255 first picture, 0 second
    int colourChoice = 0;  // effect 17: 0 red, 1 yellow, 2 green, 3 blue
    ColourRef colour = kRed;
    int reportRate = 0;    // 0..3
    bool triggerSingle = false;
    bool triggerGrid = false;
    bool colourful = false;
    ColourRef stoneColour = 0;
    bool stoneRandom = false;
    ColourRef ribbonColour = 0;
    bool ribbonRandom = false;
    bool lightingView = false;  // from the settings file, not the keyboard

    int SpeedSliderPosition() const { return 5 - speed; }
};

// Decodes the record into the state, in the panel's order. A trigger-style byte other than 0 or 1
// leaves the two trigger flags as they were; a colour choice above 3 reads as 0 (red).
void DecodeLightingRecord(const device::ProfileSettingsRecord& record, LightingPanelState& state);

ColourRef ColourAt(const device::ProfileSettingsRecord& record, std::size_t offset);

}  // namespace qv::lighting
