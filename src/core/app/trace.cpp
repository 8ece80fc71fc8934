#include "core/app/trace.h"

#include <cstdio>
#include <cstdlib>

namespace qv {

bool TraceEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("QUORVANE_TRACE");
        return v != nullptr && *v != '\0' && std::string_view(v) != "0";
    }();
    return enabled;
}

void Trace(std::string_view text) {
    if (!TraceEnabled()) return;
    std::fprintf(stderr, "quorvane: %.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace qv
