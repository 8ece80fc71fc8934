// JSON profiles from untrusted text: the reader must never crash, and whatever it accepts must
// write and read back to the same assignments and macros.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/profile/profile_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto first = qv::ParseProfileJson(text);
    if (!first.content) {
        if (first.error.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const std::string written = qv::ProfileToJson(*first.content);
    const auto second = qv::ParseProfileJson(written);
    if (!second.content) std::abort();
    if (qv::ProfileToJson(*second.content) != written) std::abort();
    return 0;
}
