#include "core/lighting/effect_catalogue.h"

#include <iterator>

namespace qv::lighting {
namespace {

constexpr unsigned kSel = kGroupEffectSelector;
constexpr unsigned kBri = kGroupBrightness;
constexpr unsigned kSpd = kGroupSpeed;
constexpr unsigned kDir = kGroupDirection;
constexpr unsigned kChoice = kGroupColourChoice;
constexpr unsigned kFirst = kGroupFirstColour;
constexpr unsigned kSecond = kGroupSecondColour;
constexpr unsigned kUser = kGroupUserMode;

constexpr SelectionWrite kBoth = SelectionWrite::CodeAndColourful;
constexpr SelectionWrite kCode = SelectionWrite::CodeOnly;
constexpr DirectionStyle kSpread = DirectionStyle::Spread;

constexpr EffectTraits kEffects[] = {
    {1, kBoth, kSel | kBri | kSpd | kDir | kSecond, DirectionStyle::Horizontal, true},
    {2, kBoth, kSel | kBri | kSpd | kDir | kSecond, DirectionStyle::Horizontal, true},
    {3, kBoth, kSel | kBri | kSpd | kDir | kSecond, DirectionStyle::Horizontal, true},
    {4, kCode, kSel | kBri | kSpd, kSpread, true},
    {5, kBoth, kSel | kBri | kSpd | kSecond, kSpread, true},
    {6, kCode, kSel | kBri | kFirst, kSpread, true},
    {7, kBoth, kSel | kBri | kSpd | kSecond, kSpread, false},
    {8, kBoth, kSel | kBri | kSpd | kSecond, kSpread, false},
    {9, kBoth, kSel | kBri | kSpd | kSecond, kSpread, false},
    {10, kCode, kSel | kBri | kSpd | kSecond, kSpread, true},
    {11, kCode, kSel | kBri | kSpd, kSpread, true},
    {12, kCode, kSel | kBri | kSpd | kDir, DirectionStyle::Vertical, true},
    {13, kBoth, kSel | kBri | kSpd | kSecond, kSpread, true},
    {14, kBoth, kSel | kBri | kSpd | kSecond, kSpread, true},
    {15, kBoth, kSel | kBri | kSpd | kSecond, kSpread, true},
    {16, kCode, kSel | kBri | kFirst, kSpread, true},
    {17, kCode, kSel | kBri | kChoice, kSpread, false},
    {18, kCode, kSel | kBri | kDir, kSpread, true},
    {20, kCode, kSel | kBri | kUser, kSpread, false},
};

}  // namespace

const EffectTraits* TraitsOf(int code) {
    for (const EffectTraits& t : kEffects) {
        if (t.code == code) return &t;
    }
    return nullptr;
}

const EffectTraits* KnownEffectsBegin() { return std::begin(kEffects); }
const EffectTraits* KnownEffectsEnd() { return std::end(kEffects); }

}  // namespace qv::lighting
