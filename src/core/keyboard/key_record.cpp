#include "core/keyboard/key_record.h"

#include "core/keyboard/little_endian.h"

namespace qv {

KeyRecord KeyRecord::Read(const std::uint8_t* bytes) {
    KeyRecord r;
    r.type = le::Get16(bytes);
    r.aux = le::Get16(bytes + 2);
    r.value = le::Get32(bytes + 4);
    r.mark = le::Get32(bytes + 8);
    r.reserved = le::Get32(bytes + 12);
    return r;
}

void KeyRecord::Write(std::uint8_t* bytes) const {
    le::Put16(bytes, type);
    le::Put16(bytes + 2, aux);
    le::Put32(bytes + 4, value);
    le::Put32(bytes + 8, mark);
    le::Put32(bytes + 12, reserved);
}

void ResetKeyTable(KeyTable& table) {
    table.fill(KeyRecord{});
    for (int n = 0; n < kGKeyCount; ++n) {
        table[static_cast<std::size_t>(kGKeyRecordFirst + n)].aux = GKeyId(n);
    }
}

}  // namespace qv
