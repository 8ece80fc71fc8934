#include "core/keyboard/media_function_tables.h"

#include <array>

#include "core/app/text_table.h"

namespace qv {
namespace {

struct MediaItem {
    TextId name;
    KeyCode code;
    std::uint16_t usage;
};

constexpr std::array<MediaItem, kMediaCount> kMedia{{
    {TextId::MEDIA_PALYER_1, 0x16D, 0x183},
    {TextId::MEDIA_PALY_PAUSE_2, 0x122, 0x0CD},
    {TextId::MEDIA_STOP_PALY_3, 0x124, 0x0B7},
    {TextId::MEDIA_PREV_TRACK_4, 0x110, 0x0B6},
    {TextId::MEDIA_Next_TRACK_5, 0x119, 0x0B5},
    {TextId::MEDIA_V_LOW_6, 0x12E, 0x0EA},
    {TextId::MEDIA_V_ADD_7, 0x130, 0x0E9},
    {TextId::MEDIA_MUTE_8, 0x120, 0x0E2},
    {TextId::MEDIA_WWW_HOME_9, 0x132, 0x223},
    {TextId::MEDIA_WWW_REFRESH_10, 0x167, 0x227},
    {TextId::MEDIA_WWW_STOP_11, 0x168, 0x226},
    {TextId::MEDIA_WWW_BACK_12, 0x16A, 0x224},
    {TextId::MEDIA_WWW_FORWARD_13, 0x169, 0x225},
    {TextId::MEDIA_WWW_FAVORITE_14, 0x166, 0x22A},
    {TextId::MEDIA_WWW_SEARCH_15, 0x165, 0x221},
    {TextId::MEDIA_MY_PC_16, 0x16B, 0x194},
    {TextId::MEDIA_CALC_17, 0x121, 0x192},
    {TextId::MEDIA_MAIL_18, 0x16C, 0x18A},
}};

constexpr std::array<TextId, kFunctionCount> kFunctions{
    TextId::FUNC_KEY_DESC1, TextId::FUNC_KEY_DESC2,  TextId::FUNC_KEY_DESC3,
    TextId::FUNC_KEY_DESC4, TextId::FUNC_KEY_DESC5,  TextId::FUNC_KEY_DESC6,
    TextId::FUNC_KEY_DESC7, TextId::FUNC_KEY_DESC8,  TextId::FUNC_KEY_DESC9,
    TextId::FUNC_KEY_DESC10, TextId::FUNC_KEY_DESC11,
};

const std::string& Empty() {
    static const std::string empty;
    return empty;
}

bool IsMediaIndex(int i) { return i >= 0 && i < kMediaCount; }

}  // namespace

const std::string& MediaName(int index) {
    return IsMediaIndex(index) ? Text(kMedia[static_cast<std::size_t>(index)].name) : Empty();
}

KeyCode MediaKeyCode(int index) {
    return IsMediaIndex(index) ? kMedia[static_cast<std::size_t>(index)].code : kNoKey;
}

std::uint16_t MediaUsage(int index) {
    return IsMediaIndex(index) ? kMedia[static_cast<std::size_t>(index)].usage : 0;
}

std::optional<int> MediaIndexOfUsage(std::uint16_t usage) {
    for (int i = 0; i < kMediaCount; ++i) {
        if (kMedia[static_cast<std::size_t>(i)].usage == usage) return i;
    }
    return std::nullopt;
}

const std::string& FunctionName(int index) {
    if (index < 0 || index >= kFunctionCount) return Empty();
    return Text(kFunctions[static_cast<std::size_t>(index)]);
}

}  // namespace qv
