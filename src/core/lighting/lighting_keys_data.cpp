#include "core/lighting/lighting_keys.h"

namespace qv::lighting {
namespace {

constexpr KeyButtonSlot kKeyButtons[] = {
    // row 0
    {1022, 0}, {1010, 1}, {1011, 2}, {1012, 3}, {1013, 4}, {1014, 5}, {1015, 6}, {1023, 7},
    {1024, 8}, {1025, 9}, {1026, 10}, {1027, 11}, {1028, 12}, {1091, 14}, {1092, 15}, {1093, 16},
    // row 1
    {1029, 21}, {1030, 22}, {1031, 23}, {1032, 24}, {1033, 25}, {1034, 26}, {1035, 27}, {1036, 28},
    {1037, 29}, {1038, 30}, {1039, 31}, {1040, 32}, {1041, 33}, {1043, 34}, {1094, 35}, {1095, 36},
    {1096, 37}, {1104, 38}, {1105, 39}, {1106, 40}, {1107, 41},
    // row 2
    {1056, 42}, {1044, 43}, {1045, 44}, {1046, 45}, {1047, 46}, {1048, 47}, {1049, 48}, {1050, 49},
    {1051, 50}, {1052, 51}, {1053, 52}, {1054, 53}, {1055, 54}, {1042, 55}, {1097, 56}, {1098, 57},
    {1099, 58}, {1108, 59}, {1109, 60}, {1110, 61}, {1111, 62},
    // row 3
    {1069, 63}, {1058, 64}, {1059, 65}, {1060, 66}, {1061, 67}, {1062, 68}, {1063, 69}, {1064, 70},
    {1065, 71}, {1066, 72}, {1067, 73}, {1068, 74}, {1070, 76}, {1112, 80}, {1113, 81}, {1114, 82},
    // row 4
    {1082, 84}, {1071, 86}, {1072, 87}, {1073, 88}, {1074, 89}, {1075, 90}, {1076, 91}, {1077, 92},
    {1078, 93}, {1079, 94}, {1080, 95}, {1081, 97}, {1103, 99}, {1115, 101}, {1116, 102},
    {1117, 103}, {1118, 104},
    // row 5
    {1083, 105}, {1084, 106}, {1085, 107}, {1090, 108}, {1086, 109}, {1088, 111}, {1087, 112},
    {1089, 113}, {1100, 119}, {1101, 120}, {1102, 121}, {1120, 123}, {1119, 124},
};
static_assert(std::size(kKeyButtons) == 104);

constexpr int kGKeys[] = {1000, 1001, 1002, 1003, 1004, 1140, 1141, 1142, 1143};

}  // namespace

std::span<const KeyButtonSlot> KeyButtonSlots() { return kKeyButtons; }
std::span<const int> GKeyButtonIds() { return kGKeys; }

int ColourButtonAt(int index) {
    if (index < 0 || index >= kColourButtonCount) return 0;
    if (index < 104) return kKeyButtons[index].id;
    if (index < 113) return kGKeys[index - 104];
    return kFnButtonId;
}

int ColourButtonIndex(int id) {
    for (int i = 0; i < kColourButtonCount; ++i) {
        if (ColourButtonAt(i) == id) return i;
    }
    return -1;
}

bool IsGKeyButton(int id) {
    for (int g : kGKeys) {
        if (g == id) return true;
    }
    return false;
}

int ColourSlotOfButton(int id) {
    if (IsGKeyButton(id)) return kGKeySlot;
    if (id == kFnButtonId) return kFnSlot;
    for (const KeyButtonSlot& k : kKeyButtons) {
        if (k.id == id) return k.slot;
    }
    return -1;
}

}  // namespace qv::lighting
