// INI files come from the skin folder and the user's documents: any bytes must parse safely,
// and a key just written must read back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/app/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto doc = qv::ini::IniDocument::Parse(
        std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string section = size > 0 ? std::string(1, static_cast<char>(data[0] % 4 + 'a')) : "a";
    // Each lookup scans the section, so a section of thousands of keys would make every run
    // quadratic; the first few keys exercise the same reads.
    const auto keys = doc.Keys(section);
    for (std::size_t i = 0; i < keys.size() && i < 16; ++i) {
        const auto& key = keys[i];
        (void)doc.Get(section, key, " ");
        (void)qv::ini::ParseLayout(doc.Get(section, key, "1,1,1,1,x"));
        (void)doc.GetInt(section, key, 0);
    }
    doc.Set(section, "fuzzkey", "value");
    if (doc.Find(section, "fuzzkey") != std::optional<std::string>("value")) std::abort();
    doc.Remove(section, "fuzzkey");
    (void)doc.Text();
    return 0;
}
