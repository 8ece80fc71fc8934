#include "core/lighting/effect_table.h"

#include <charconv>

#include "core/app/ini_file.h"
#include "core/app/text_table.h"
#include "core/keyboard/key_names.h"

namespace qv::lighting {

EffectTable EffectTable::FromCodeBytes(std::span<const std::uint8_t> codes) {
    EffectTable t;
    for (std::uint8_t code : codes) {
        if (code == 0) continue;
        if (t.entries_.size() == kMaxEntries) break;
        t.entries_.push_back({static_cast<int>(t.entries_.size()), code});
    }
    return t;
}

EffectTable EffectTable::FromGlobalBlock(const device::GlobalBlock& block) {
    return FromCodeBytes(std::span<const std::uint8_t>(block.bytes).subspan(
        device::GlobalBlock::kEffectsFirst, device::GlobalBlock::kEffectsCount));
}

int EffectTable::PositionOf(int code) const {
    for (const EffectEntry& e : entries_) {
        if (e.code == code) return e.position;
    }
    return -1;
}

int EffectTable::CodeAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= entries_.size()) return 0;
    return entries_[static_cast<std::size_t>(position)].code;
}

int ReadLanguageValue(const std::filesystem::path& languageFile) {
    return ini::GetInt(languageFile, kLanguageSection, kLanguageKey, 0);
}

std::string FallbackEffectName(int code) { return "Effect " + std::to_string(code); }

std::vector<std::string> EffectNames(const EffectTable& table, const std::filesystem::path& mainSkin,
                                     int languageValue) {
    std::vector<std::string> names;
    for (const EffectEntry& e : table.Entries()) names.push_back(FallbackEffectName(e.code));
    if (languageValue != 0 && languageValue != 1) return names;
    const auto skin = ini::IniDocument::Load(mainSkin);
    const std::string_view section = languageValue == 0 ? "Mode" : "Mode1";
    for (std::size_t i = 0; i < names.size(); ++i) {
        // A skin that names the code wins; an empty name would leave a blank line in the list.
        std::string name = skin.Get(section, std::to_string(table.Entries()[i].code), "");
        if (!name.empty()) names[i] = std::move(name);
    }
    return names;
}

std::optional<int> FindEffect(std::string_view typed, const EffectTable& table, const std::vector<std::string>& names) {
    int code = 0;
    const auto [end, ec] = std::from_chars(typed.data(), typed.data() + typed.size(), code);
    if (ec == std::errc() && end == typed.data() + typed.size()) return code;
    const std::string wanted = NameKey(typed);
    if (wanted.empty()) return std::nullopt;
    const auto& entries = table.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if ((i < names.size() && NameKey(names[i]) == wanted) || NameKey(FallbackEffectName(entries[i].code)) == wanted) {
            return entries[i].code;
        }
    }
    return std::nullopt;
}

}  // namespace qv::lighting
