// Profile files from untrusted bytes: the import check and the reader must never crash or read
// past the input, and whatever the reader accepts must save and load back unchanged.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/profile/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    qv::CheckProfileFileBytes(bytes, size);
    // The import reader refuses with a reason or gives what the working-file reader gives.
    const auto imported = qv::ReadImportedProfileFile(bytes);
    if (!imported.content && imported.error.empty()) std::abort();

    auto content = qv::ParseProfileFile(bytes);
    if (!content) return 0;
    const auto saved = qv::SerializeProfileFile(*content);
    if (qv::CheckProfileFileBytes(saved, saved.size()) != qv::ProfileFileCheck::Valid) std::abort();
    const auto again = qv::ParseProfileFile(saved);
    if (!again || !(*again == *content)) std::abort();
    return 0;
}
