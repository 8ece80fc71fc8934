#include "core/device/device_records.h"

namespace qv::device {

std::vector<int> GlobalBlock::EffectCodes() const {
    std::vector<int> codes;
    for (std::size_t i = 0; i < kEffectsCount; ++i) {
        if (const int c = bytes[kEffectsFirst + i]; c != 0) codes.push_back(c);
    }
    return codes;
}

void GlobalBlock::ClearEffects() {
    for (std::size_t i = 0; i < kEffectsCount; ++i) bytes[kEffectsFirst + i] = 0;
}

}  // namespace qv::device
