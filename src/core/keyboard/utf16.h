#pragma once
// Key names and texts are UTF-8 inside the tool; macro names and the texts of key records travel
// as UTF-16 in profile files and in the keyboard's macro memory.

#include <string>
#include <string_view>

namespace qv {

// Invalid sequences become U+FFFD; nothing is dropped silently.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// Whether `text` is well-formed UTF-8 (what Utf8ToUtf16 takes without a replacement).
bool IsValidUtf8(std::string_view text);

}  // namespace qv
