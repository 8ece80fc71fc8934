#pragma once
// What the tool knows about each effect code: what choosing it writes, which control groups of
// the lighting panel it offers and where its direction pictures sit.

#include <cstdint>

namespace qv::lighting {

// What choosing an effect in the selector writes to the shown profile's record.
enum class SelectionWrite {
    CodeAndColourful,  // byte 0 = code, then byte 4 = the colourful flag, one group
    CodeOnly,          // byte 0 = code
    Nothing,           // no code at all (an empty effect list)
};

// Control groups of the lighting panel, as bits.
enum PanelGroup : unsigned {
    kGroupEffectSelector = 1u << 0,  // 1146
    kGroupBrightness = 1u << 1,      // 1172, 1178
    kGroupSpeed = 1u << 2,           // 1166, 1179
    kGroupDirection = 1u << 3,       // 1148, 1149, 1150
    kGroupColourChoice = 1u << 4,    // 1194..1197
    kGroupFirstColour = 1u << 5,     // 1151, 1152, 1175, 1176
    kGroupSecondColour = 1u << 6,    // 1154, 1155, 1156, 1173
    kGroupUserMode = 1u << 7,        // 1159..1165, 1198
};

// Which set of layout keys and pictures the direction controls use.
enum class DirectionStyle {
    Spread,      // plain layout keys, "kuosan"/"julong" pictures (effect 18 and every other code)
    Horizontal,  // "2" layout keys, left/right pictures (effects 1 to 3)
    Vertical,    // "3" layout keys, up/down pictures (effect 12)
};

struct EffectTraits {
    int code;
    SelectionWrite selection;
    unsigned groups;  // PanelGroup bits shown with the lighting view on
    DirectionStyle direction;
    bool animated;    // the preview has an animation (otherwise keys are reset or left alone)
};

// nullptr for a code the tool does not know (19 included).
const EffectTraits* TraitsOf(int code);

// Every known code, ascending.
const EffectTraits* KnownEffectsBegin();
const EffectTraits* KnownEffectsEnd();

}  // namespace qv::lighting
