#include "core/macro/macro_record.h"

#include <algorithm>

#include "core/keyboard/little_endian.h"
#include "core/keyboard/utf16.h"

namespace qv {
namespace {

constexpr std::size_t kRepeatOffset = 500;
constexpr std::size_t kReserved1Offset = 501;
constexpr std::size_t kNewFlagOffset = 502;
constexpr std::size_t kReserved2Offset = 504;
constexpr std::size_t kIdOffset = 506;
constexpr std::size_t kActionCountOffset = 508;
constexpr std::size_t kReserved3Offset = 510;
constexpr std::size_t kActionsOffset = 512;

static_assert(kActionsOffset + kMaxMacroActions * MacroAction::kSize == MacroRecord::kSize);

}  // namespace

std::u16string_view MacroRecord::Name() const {
    const auto end = std::find(name.begin(), name.end(), u'\0');
    return {name.data(), static_cast<std::size_t>(end - name.begin())};
}

std::string MacroRecord::NameUtf8() const { return Utf16ToUtf8(Name()); }

void MacroRecord::SetName(std::u16string_view text) {
    name.fill(0);
    const std::size_t n = std::min<std::size_t>(text.size(), kMacroNameUnits - 1);
    std::copy_n(text.begin(), n, name.begin());
}

std::size_t MacroRecord::UsedActions() const {
    return std::min<std::size_t>(actionCount, kMaxMacroActions);
}

void MacroRecord::Read(const std::uint8_t* bytes, MacroRecord& out) {
    for (std::size_t i = 0; i < out.name.size(); ++i) out.name[i] = le::Get16(bytes + 2 * i);
    out.repeatCount = bytes[kRepeatOffset];
    out.reserved1 = bytes[kReserved1Offset];
    out.newFlag = le::Get16(bytes + kNewFlagOffset);
    out.reserved2 = le::Get16(bytes + kReserved2Offset);
    out.id = le::Get16(bytes + kIdOffset);
    out.actionCount = le::Get16(bytes + kActionCountOffset);
    out.reserved3 = le::Get16(bytes + kReserved3Offset);
    const std::uint8_t* a = bytes + kActionsOffset;
    for (MacroAction& action : out.actions) {
        action.delay = static_cast<std::int32_t>(le::Get32(a));
        action.key = le::Get16(a + 4);
        action.direction = le::Get16(a + 6);
        a += MacroAction::kSize;
    }
}

void MacroRecord::Write(std::uint8_t* bytes) const {
    for (std::size_t i = 0; i < name.size(); ++i) le::Put16(bytes + 2 * i, name[i]);
    bytes[kRepeatOffset] = repeatCount;
    bytes[kReserved1Offset] = reserved1;
    le::Put16(bytes + kNewFlagOffset, newFlag);
    le::Put16(bytes + kReserved2Offset, reserved2);
    le::Put16(bytes + kIdOffset, id);
    le::Put16(bytes + kActionCountOffset, actionCount);
    le::Put16(bytes + kReserved3Offset, reserved3);
    std::uint8_t* a = bytes + kActionsOffset;
    for (const MacroAction& action : actions) {
        le::Put32(a, static_cast<std::uint32_t>(action.delay));
        le::Put16(a + 4, action.key);
        le::Put16(a + 6, action.direction);
        a += MacroAction::kSize;
    }
}

int MacroIndexOfId(const MacroList& list, std::uint16_t id) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].id == id) return static_cast<int>(i);
    }
    return 0;
}

}  // namespace qv
