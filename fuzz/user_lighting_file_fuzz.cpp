// User lighting files are edited by hand and copied around: any content must read safely.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app/atomic_file.h"
#include "core/lighting/lighting_keys.h"
#include "core/lighting/user_lighting_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qv::lighting;
    static const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("qv_userd_fuzz_" + std::to_string(::getpid()) + ".userd");
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)ParseKeyEntry(text);
    (void)ParseColourTriple(text);
    if (!qv::WriteFileAtomically(file, text)) return 0;
    const auto f = UserLightingFile::Load(file);
    const int mode = f.PresentMode();
    if (mode < 0 || mode >= kUserModeCount) __builtin_trap();
    (void)f.ModeName(mode);
    (void)f.Settings(mode);
    for (int i = 0; i < kColourButtonCount; ++i) (void)f.Key(mode, ColourSlotOfButton(ColourButtonAt(i)));
    return 0;
}
