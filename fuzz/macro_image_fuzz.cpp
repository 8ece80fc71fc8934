// Macro memory read back from the keyboard: offsets, counts and name lengths are not trusted.
// Whatever decodes must encode and decode again to the same macros.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/macro/macro_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const qv::MacroList list = qv::DecodeMacroImage(std::span(data, size));
    if (list.size() > static_cast<std::size_t>(qv::kMaxMacros)) std::abort();

    const qv::MacroImageSize sizes = qv::MacroImageSizes(list);
    const auto image = qv::EncodeMacroImage(list, sizes.withNames, true);
    if (sizes.withNames > qv::kMaxMacroImageSize) {
        if (!image.empty()) std::abort();
        return 0;
    }
    if (image.size() != sizes.withNames) std::abort();
    const qv::MacroList back = qv::DecodeMacroImage(image);
    if (back.size() != list.size()) std::abort();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const qv::MacroRecord& a = list[i];
        const qv::MacroRecord& b = back[i];
        if (a.repeatCount != b.repeatCount || a.id != b.id || a.actionCount != b.actionCount) std::abort();
        // An empty name comes back as the default name; any other name as it was.
        if (!a.Name().empty() && a.Name() != b.Name()) std::abort();
        for (std::size_t j = 0; j < a.UsedActions(); ++j) {
            if (a.actions[j].delay != b.actions[j].delay ||
                a.actions[j].direction != b.actions[j].direction) {
                std::abort();
            }
        }
    }
    return 0;
}
