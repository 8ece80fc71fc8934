#include "core/lighting/lighting_state.h"

namespace qv::lighting {

using Record = device::ProfileSettingsRecord;

ColourRef ColourAt(const Record& record, std::size_t offset) {
    if (offset + 3 > Record::kSize) return 0;
    return MakeColour(record.bytes[offset], record.bytes[offset + 1], record.bytes[offset + 2]);
}

void DecodeLightingRecord(const Record& record, LightingPanelState& state) {
    const auto& b = record.bytes;
    state.effect = b[Record::kEffect];
    state.brightness = b[Record::kBrightness];
    state.speed = b[Record::kSpeed];
    state.direction = b[Record::kDirection];
    state.colourChoice = b[Record::kColourChoice] > 3 ? 0 : b[Record::kColourChoice];
    state.colour = ColourAt(record, Record::kColour);
    state.reportRate = record.ReportRateIndex();
    if (b[Record::kTriggerStyle] == 0 || b[Record::kTriggerStyle] == 1) {
        state.triggerSingle = b[Record::kTriggerStyle] == 0;
        state.triggerGrid = b[Record::kTriggerStyle] == 1;
    }
    state.colourful = b[Record::kColourful] != 0;
    state.stoneColour = ColourAt(record, Record::kStoneColour);
    state.stoneRandom = b[Record::kStoneRandom] != 0;
    state.ribbonColour = ColourAt(record, Record::kRibbonColour);
    state.ribbonRandom = b[Record::kRibbonRandom] != 0;
}

}  // namespace qv::lighting
