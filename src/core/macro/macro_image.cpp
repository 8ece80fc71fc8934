#include "core/macro/macro_image.h"

#include <string>

#include "core/app/text_table.h"
#include "core/keyboard/key_catalogue.h"
#include "core/keyboard/key_matrix_codec.h"
#include "core/keyboard/little_endian.h"
#include "core/keyboard/utf16.h"

namespace qv {
namespace {

constexpr std::size_t kBlockHeaderSize = 4;
constexpr std::size_t kEncodedActionSize = 4;

constexpr std::uint16_t kKindKeyboard = 0x2000;
constexpr std::uint16_t kKindConsumer = 0x3000;
constexpr std::uint16_t kKindDesktop = 0x4000;
constexpr std::uint16_t kPressBit = 0x8000;

std::size_t NameUnits(const MacroRecord& r) { return r.Name().size(); }

void EncodeAction(const MacroAction& a, std::uint8_t* out) {
    std::uint16_t word = DelayUnits(a.delay);
    std::uint8_t b2 = 0;
    std::uint8_t b3 = 0;
    const HidUsage u = KeyToHidUsage(a.key);
    if (u.page == kPageKeyboard) {
        word |= kKindKeyboard;
        if (const auto bit = ModifierBitOfKey(a.key)) {
            b2 = 1;
            b3 = *bit;
        } else {
            b2 = 2;
            b3 = static_cast<std::uint8_t>(u.usage);
        }
    } else if (u.page == kPageConsumer || u.page == kPageGenericDesktop) {
        word |= u.page == kPageConsumer ? kKindConsumer : kKindDesktop;
        b2 = static_cast<std::uint8_t>(u.usage);
        b3 = static_cast<std::uint8_t>(u.usage >> 8);
    }
    if (a.direction != kRelease) word |= kPressBit;
    le::Put16(out, word);
    out[2] = b2;
    out[3] = b3;
}

MacroAction DecodeAction(const std::uint8_t* p) {
    const std::uint16_t w = le::Get16(p);
    const std::uint8_t b2 = p[2];
    const std::uint8_t b3 = p[3];
    MacroAction a;
    a.delay = static_cast<std::int32_t>((w & 0xFFF) * 10);
    a.direction = (w & kPressBit) != 0 ? kPress : kRelease;
    const auto usage16 = static_cast<std::uint16_t>(b2 + 256 * b3);
    switch ((w >> 12) & 7) {
        case 2:
            a.key = b2 == 2 ? HidUsageToKey(kPageKeyboard, b3) : ModifierBitToKey(b3);
            break;
        case 3:
            a.key = HidUsageToKey(kPageConsumer, usage16);
            break;
        case 4:
            a.key = HidUsageToKey(kPageGenericDesktop, usage16);
            break;
        default:
            a.key = kNoKey;
    }
    return a;
}

}  // namespace

std::uint16_t DelayUnits(std::int32_t delayMs) {
    if (delayMs <= 0) return 0;
    if (delayMs > kLongestEncodableDelayMs) return kMaxMacroDelayMs / 10;
    return static_cast<std::uint16_t>((delayMs / 10) & 0xFFF);
}

MacroImageSize MacroImageSizes(const MacroList& list) {
    MacroImageSize s;
    s.withoutNames = kMacroImageHeaderSize + 2 * list.size();
    std::size_t names = 0;
    for (const MacroRecord& r : list) {
        s.withoutNames += kBlockHeaderSize + kEncodedActionSize * r.UsedActions();
        names += 2 * NameUnits(r);
    }
    s.withNames = s.withoutNames + names;
    return s;
}

MacroFit FitMacros(const MacroList& list, std::size_t capacityBytes) {
    const MacroImageSize sizes = MacroImageSizes(list);
    if (sizes.withNames <= capacityBytes) return MacroFit::WithNames;
    return sizes.withoutNames <= capacityBytes ? MacroFit::WithoutNames : MacroFit::TooLarge;
}

std::vector<std::uint8_t> EncodeMacroImage(const MacroList& list, std::size_t size, bool withNames) {
    const MacroImageSize sizes = MacroImageSizes(list);
    if (size != (withNames ? sizes.withNames : sizes.withoutNames) || size > kMaxMacroImageSize ||
        list.size() > 0xFFFF) {
        return {};
    }
    std::vector<std::uint8_t> image(size, 0);
    std::uint8_t* p = image.data();
    le::Put16(p, kMacroImageMarker);
    le::Put16(p + 2, static_cast<std::uint16_t>(size));
    le::Put16(p + 4, static_cast<std::uint16_t>(list.size()));
    le::Put16(p + 6, withNames ? 1 : 0);

    std::size_t c = kMacroImageHeaderSize + 2 * list.size();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const MacroRecord& r = list[i];
        const std::size_t used = r.UsedActions();
        const std::u16string_view name = r.Name();
        le::Put16(p + kMacroImageHeaderSize + 2 * i, static_cast<std::uint16_t>(c));
        le::Put16(p + c, static_cast<std::uint16_t>(used));
        p[c + 2] = r.repeatCount;
        p[c + 3] = withNames ? static_cast<std::uint8_t>(name.size()) : 0;
        c += kBlockHeaderSize;
        for (std::size_t j = 0; j < used; ++j) {
            EncodeAction(r.actions[j], p + c);
            c += kEncodedActionSize;
        }
        if (withNames) {
            for (char16_t unit : name) {
                le::Put16(p + c, unit);
                c += 2;
            }
        }
    }
    return image;
}

MacroList DecodeMacroImage(std::span<const std::uint8_t> image) {
    MacroList out;
    if (image.size() < kMacroImageHeaderSize || le::Get16(image.data()) != kMacroImageMarker) {
        return out;
    }
    const std::size_t end = image.size();
    const std::size_t count = le::Get16(image.data() + 4);
    for (std::size_t i = 0; i < count && i < static_cast<std::size_t>(kMaxMacros); ++i) {
        const std::size_t entry = kMacroImageHeaderSize + 2 * i;
        if (entry + 2 > end) break;
        const std::size_t at = le::Get16(image.data() + entry);
        if (at + kBlockHeaderSize > end) break;
        const std::uint8_t* p = image.data() + at;
        const std::size_t actions = le::Get16(p);
        const std::size_t nameUnits = p[3];
        if (actions > static_cast<std::size_t>(kMaxMacroActions) ||
            at + kBlockHeaderSize + kEncodedActionSize * actions + 2 * nameUnits > end) {
            break;
        }
        MacroRecord& r = out.emplace_back();
        r.repeatCount = p[2];
        r.id = static_cast<std::uint16_t>(i + 1);
        r.actionCount = static_cast<std::uint16_t>(actions);
        for (std::size_t j = 0; j < actions; ++j) {
            r.actions[j] = DecodeAction(p + kBlockHeaderSize + kEncodedActionSize * j);
        }
        if (nameUnits != 0) {
            std::u16string name(nameUnits, u'\0');
            const std::uint8_t* n = p + kBlockHeaderSize + kEncodedActionSize * actions;
            for (std::size_t k = 0; k < nameUnits; ++k) name[k] = le::Get16(n + 2 * k);
            r.SetName(name);
        } else {
            // "%s%d": the prefix is taken as text, never as a format of its own.
            r.SetName(Utf8ToUtf16(Text(TextId::MACRO_NEW_PREFIX) + std::to_string(i + 1)));
        }
    }
    return out;
}

}  // namespace qv
