#include "core/app/user_prompt.h"

#include <cstdio>

namespace qv {
namespace {

// Replaces the first conversion of the text's kind and keeps every other character, so a text
// from the language file can never run printf on arguments it does not have.
template <typename Render>
std::string FillFirst(std::string_view format, std::string_view kinds, Render render) {
    std::string out;
    bool done = false;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        std::string spec = "%";
        while (j < format.size() && ((format[j] >= '0' && format[j] <= '9') || format[j] == '-')) {
            spec += format[j++];
        }
        if (j < format.size() && kinds.find(format[j]) != std::string_view::npos && !done &&
            spec.size() <= 4) {
            spec += format[j];
            out += render(spec);
            done = true;
            i = j;
        } else {
            out += format[i];
        }
    }
    return out;
}

}  // namespace

std::string FormatText(std::string_view format, long long number) {
    return FillFirst(format, "dxXu", [&](std::string spec) {
        const char kind = spec.back();
        spec.pop_back();
        spec += "ll";
        spec += kind;
        char buf[64];
        std::snprintf(buf, sizeof buf, spec.c_str(), number);
        return std::string(buf);
    });
}

std::string FormatText(std::string_view format, std::string_view text) {
    return FillFirst(format, "s", [&](const std::string&) { return std::string(text); });
}

}  // namespace qv
