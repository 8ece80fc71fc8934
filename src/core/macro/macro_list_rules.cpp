#include "core/macro/macro_list_rules.h"

#include <algorithm>
#include <array>

namespace qv {

namespace {

const MacroRecord* MacroWithId(const MacroList& list, std::uint16_t id) {
    const auto it = std::find_if(list.begin(), list.end(),
                                 [id](const MacroRecord& m) { return m.id == id; });
    return it == list.end() ? nullptr : &*it;
}

}  // namespace

std::uint16_t SmallestFreeMacroId(const MacroList& list) {
    std::array<bool, kMaxMacros + 1> used{};
    for (const MacroRecord& m : list) {
        if (m.id >= 1 && m.id <= kMaxMacros) used[m.id] = true;
    }
    for (int id = 1; id <= kMaxMacros; ++id) {
        if (!used[static_cast<std::size_t>(id)]) return static_cast<std::uint16_t>(id);
    }
    return 0;
}

TypedPause NormalizeTypedPause(long long typed) {
    TypedPause out;
    if (typed < 0) typed = 0;
    if (typed > kMaxMacroDelayMs) {
        typed = kMaxMacroDelayMs;
        out.capped = true;
    }
    out.pause = static_cast<int>(typed - typed % 10);
    return out;
}

std::string PauseLimitsText() {
    return "0 to " + std::to_string(kLongestPauseMs) + " ms in steps of " + std::to_string(kPauseStepMs) + " ms";
}

std::optional<std::string> CheckStatedPause(long long pause) {
    if (pause < 0 || pause > kLongestPauseMs) {
        return "pauses go from " + PauseLimitsText() + ", not " + std::to_string(pause);
    }
    if (pause % kPauseStepMs != 0) {
        return "pauses go from " + PauseLimitsText() + ": " + std::to_string(pause) + " ms would be kept as " +
               std::to_string(pause - pause % kPauseStepMs) + " ms";
    }
    return std::nullopt;
}

int ClampRepeatCount(long long typed) {
    return static_cast<int>(std::clamp<long long>(typed, 1, 255));
}

bool MacroUsedByKeys(const ProfileContent& content, std::uint16_t id) {
    for (const KeyTable& table : content.block.tables) {
        for (const KeyRecord& r : table) {
            if (r.type == AssignMacro && r.value == id) return true;
        }
    }
    return false;
}

int ReplaceMacroList(ProfileContent& content, MacroList macros,
                     const std::function<void(int table, int index)>& changed) {
    int count = 0;
    for (int t = 0; t < static_cast<int>(content.block.tables.size()); ++t) {
        for (int i = 0; i < kKeyTableRecords; ++i) {
            KeyRecord& r = content.Record(t, i);
            if (r.type != AssignMacro) continue;
            if (r.value == 0) {
                if (macros.empty()) continue;
                r.value = macros.front().id;
            } else {
                const MacroRecord* m =
                    r.value > 0xFFFF ? nullptr : MacroWithId(macros, static_cast<std::uint16_t>(r.value));
                if (m != nullptr && m->newFlag != 1) continue;
                r.type = AssignDefault;
            }
            ++count;
            if (changed) changed(t, i);
        }
    }
    for (MacroRecord& m : macros) m.newFlag = 0;
    content.macros = std::move(macros);
    return count;
}

}  // namespace qv
