// User lighting files are edited by hand and copied around: any content must read safely, and
// what is written back must read the same. Parsed from memory, as the file's bytes would be.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/lighting/lighting_keys.h"
#include "core/lighting/user_lighting_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv::lighting;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)ParseKeyEntry(text);
    (void)ParseColourTriple(text);
    if (ParseKeyEntry(FormatKeyEntry(ParseKeyEntry(text))) != ParseKeyEntry(text)) std::abort();

    auto f = UserLightingFile::FromText("fuzz.userd", text);
    const int mode = f.PresentMode();
    if (mode < 0 || mode >= kUserModeCount) std::abort();
    (void)f.ModeName(mode);
    const UserModeSettings settings = f.Settings(mode);
    // Each lookup runs the same scan, so a few keys (the first, the last and some the input
    // picks) cover it at a speed that lets the fuzzer explore; each must write back unchanged.
    for (std::size_t i = 0; i < 6; ++i) {
        const int button = i == 0 ? 0 : i == 1 ? kColourButtonCount - 1 : (size > i ? data[size - i] : 0) % kColourButtonCount;
        const int slot = ColourSlotOfButton(ColourButtonAt(button));
        const UserKeyEntry entry = f.Key(mode, slot);
        f.SetKey(mode, slot, entry);
        if (f.Key(mode, slot) != entry) std::abort();
    }
    f.SetSettings(mode, settings);
    if (f.Settings(mode) != settings) std::abort();
    return 0;
}
