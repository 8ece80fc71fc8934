#pragma once
// The lighting effects the keyboard says it supports, in the order it lists them, and their
// display names from the skin.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/device/device_records.h"

namespace qv::lighting {

struct EffectEntry {
    int position;  // index in the effect selector
    int code;
};

class EffectTable {
public:
    static constexpr std::size_t kMaxEntries = 32;

    EffectTable() = default;
    // Every non-zero code byte, in order; zero bytes are empty slots.
    static EffectTable FromCodeBytes(std::span<const std::uint8_t> codes);
    static EffectTable FromGlobalBlock(const device::GlobalBlock& block);

    // The first entry with this code, or -1.
    int PositionOf(int code) const;
    // The code at a selector position, or 0 (no effect) outside the table.
    int CodeAt(int position) const;
    bool Supports(int code) const { return PositionOf(code) >= 0; }

    const std::vector<EffectEntry>& Entries() const { return entries_; }
    std::size_t Size() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

private:
    std::vector<EffectEntry> entries_;
};

// The language value of the text table: "LANGUAGE"/"language" read as a number, 0 when absent.
int ReadLanguageValue(const std::filesystem::path& languageFile);

// One name per entry, from the main skin file: section "Mode" for language 0, "Mode1" for 1,
// key = the code in decimal. A code the skin does not name (any code the keyboard adds later,
// or any code under another language) reads "Effect N", so every entry can be told apart.
std::vector<std::string> EffectNames(const EffectTable& table, const std::filesystem::path& mainSkin,
                                     int languageValue);
std::string FallbackEffectName(int code);

// The code of an effect of `table` as a user names it: by its code ("12"), its shown name in
// `names` (EffectNames of the same table) or its fallback name, without regard to case or
// spaces. Nothing when no entry of the table goes by that name; a code is returned as given,
// whether the table lists it or not.
std::optional<int> FindEffect(std::string_view typed, const EffectTable& table, const std::vector<std::string>& names);

}  // namespace qv::lighting
