#include "core/keyboard/key_catalogue.h"

#include "core/app/ini_file.h"
#include "core/app/text_table.h"
#include "core/app/user_prompt.h"
#include "core/keyboard/media_function_tables.h"

namespace qv {
namespace {

const CatalogueRow& RowOf(KeyCode code) { return KeyCatalogue()[KeyCodeToSlot(code)]; }

std::string RowName(const CatalogueRow& r) {
    if (r.mediaIndex >= 0) return MediaName(r.mediaIndex);
    return r.name != nullptr ? std::string(r.name) : std::string();
}

int FirstSlotWithPosition(int position) {
    if (position < 0 || position > 0xFFFF) return -1;
    for (int slot = 0; slot < kCatalogueRows; ++slot) {
        if (KeyCatalogue()[static_cast<std::size_t>(slot)].listPosition == position) return slot;
    }
    return -1;
}

}  // namespace

std::string KeyName(KeyCode code, std::size_t capacity) {
    if (capacity == 0) return {};
    std::string name = RowName(RowOf(code));
    if (name.empty()) name = FormatText(Text(TextId::UNKNOWN_KEY), code);
    return ini::CutToChars(name, capacity - 1);
}

std::string KeyListName(int position) {
    const int slot = FirstSlotWithPosition(position);
    return slot < 0 ? std::string() : RowName(KeyCatalogue()[static_cast<std::size_t>(slot)]);
}

KeyCode KeyCodeAtListPosition(int position) {
    const int slot = FirstSlotWithPosition(position);
    return slot < 0 ? kNoKey : SlotToKeyCode(static_cast<CatalogueSlot>(slot));
}

std::uint16_t KeyListPositionOf(KeyCode code) { return RowOf(code).listPosition; }

HidUsage KeyToHidUsage(KeyCode code) {
    const std::uint8_t b = RowOf(code).usage;
    if (b == 0x00 || b == 0xFF) return {};
    if (b >= 0x81 && b <= 0x83) return {kPageGenericDesktop, b};
    if (b >= 0xC0 && b <= 0xDF) return {kPageConsumer, ConsumerUsageTable()[b - 0xC0u]};
    return {kPageKeyboard, b};
}

KeyCode HidUsageToKey(std::uint16_t page, std::uint16_t usage) {
    int wanted = -1;  // none
    if (page == kPageKeyboard) {
        if (usage <= 0xFF) wanted = usage;
    } else if (page == kPageGenericDesktop) {
        if (usage >= 0x81 && usage <= 0x83) wanted = usage;
    } else if (page == kPageConsumer) {
        // The empty entries 18..31 hold 0, so consumer usage 0 finds the first row of entry 18.
        const auto& table = ConsumerUsageTable();
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i] == usage) {
                wanted = static_cast<int>(0xC0 + i);
                break;
            }
        }
    }
    if (wanted < 0) return kNoKey;
    for (int slot = 0; slot < kCatalogueRows; ++slot) {
        if (KeyCatalogue()[static_cast<std::size_t>(slot)].usage == wanted) {
            return SlotToKeyCode(static_cast<CatalogueSlot>(slot));
        }
    }
    return kNoKey;
}

KeyCode KeyFromWindowsEvent(std::uint8_t vk, std::uint32_t lParam) {
    const CatalogueSlot mapped = VirtualKeyMap()[vk];
    const KeyCode fromVk = SlotToKeyCode(mapped);
    const auto s = static_cast<KeyCode>((lParam >> 16) & 0x1FF);
    if (s == 0x036) return 0x036;
    if (vk == 0xFF) return s;
    if ((s & 0xFF) == 0) return fromVk;
    const CatalogueRow& r = RowOf(s);
    if (r.primaryVk == vk || r.secondaryVk == vk || mapped == (s & 0xFF)) return s;
    return fromVk;
}

}  // namespace qv
