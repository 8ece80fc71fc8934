#include "core/lighting/preview_tables.h"

namespace qv::lighting::preview {
namespace {

constexpr KeyGrid kGrid{{
    {0, 0, 1022, 1010, 1011, 1012, 1013, 0, 1014, 1015, 1023, 1024, 1025, 1026, 1027, 1028, 1091,
     1092, 1093, 0, 0, 0, 0},
    {0, 1029, 1030, 1031, 1032, 1033, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1043, 1043,
     1094, 1095, 1096, 1104, 1105, 1106, 1107},
    {0, 1056, 1044, 1045, 1046, 1047, 1048, 1049, 1050, 1051, 1052, 1053, 1054, 1055, 1042, 1042,
     1097, 1098, 1099, 1108, 1109, 1110, 0},
    {0, 1069, 1058, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070, 0, 0, 0, 0, 0,
     1112, 1113, 1114, 1111},
    {0, 1082, 1071, 1072, 1073, 1074, 1075, 1076, 1077, 1078, 1079, 1080, 0, 0, 1081, 1081, 0, 1103,
     0, 1115, 1116, 1117, 1118},
    {1083, 1084, 1085, 0, 0, 0, 1090, 0, 0, 1086, 1086, 1174, 1088, 0, 1089, 1089, 1100, 1101, 1102,
     1120, 1120, 1119, 0},
}};

constexpr std::array<int, kChainLength> kChain{
    1093, 1092, 1091, 1028, 1027, 1026, 1025, 1024, 1023, 1015, 1014, 1013, 1012, 1011, 1010,
    1022, 1029, 1056, 1069, 1082, 1083, 1084, 1085, 1090, 1086, 1174, 1088, 1089, 1100, 1101,
    1102, 1120, 1119, 1118, 1111, 1107, 1106, 1105, 1104, 1096, 1095, 1094, 1043, 1041, 1040,
    1039, 1038, 1037, 1036, 1035, 1034, 1033, 1032, 1031, 1030, 1044, 1058, 1071, 1072, 1073,
    1074, 1075, 1076, 1077, 1078, 1079, 1080, 1081, 1103, 1115, 1116, 1117, 1114, 1112, 1113,
    1110, 1109, 1108, 1099, 1098, 1097, 1042, 1055, 1054, 1053, 1052, 1051, 1050, 1049, 1048,
    1047, 1046, 1045, 1059, 1060, 1061, 1062, 1063, 1064, 1065, 1066, 1067, 1068, 1070};

constexpr std::array<std::uint8_t, 32> kRising{1,   3,   5,   7,   10,  14,  18,  22,
                                               26,  32,  38,  44,  50,  57,  65,  73,
                                               81,  89,  99,  109, 119, 129, 140, 152,
                                               164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<std::uint8_t, 32> kFalling{248, 234, 220, 206, 194, 182, 170, 158,
                                                146, 134, 124, 114, 104, 94,  85,  77,
                                                69,  61,  53,  47,  41,  35,  29,  24,
                                                20,  16,  12,  8,   6,   4,   2,   0};

// The rising half of B96 (and the middle of B128).
constexpr std::array<std::uint8_t, 48> kRise48{
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};
constexpr std::array<std::uint8_t, 16> kB128Start{3, 3,  4,  5,  6,  7,  8,  9,
                                                  10, 11, 12, 13, 14, 16, 18, 20};

constexpr std::array<std::uint8_t, 80> kP128Head{
    0,   4,   8,   14,  22,  33,  45,  61,  77,  94,  114, 134, 158, 182, 206, 234,
    255, 248, 241, 234, 227, 220, 213, 206, 200, 194, 188, 182, 176, 170, 164, 158,
    152, 146, 140, 134, 129, 124, 119, 114, 109, 104, 99,  94,  89,  85,  81,  77,
    73,  69,  65,  61,  57,  53,  49,  45,  42,  39,  36,  33,  30,  27,  24,  22,
    20,  18,  16,  14,  12,  10,  9,   8,   7,   6,   5,   4,   3,   2,   2,   1};

constexpr std::array<std::uint8_t, kChainLength> kPerm{
    88, 24, 101, 57, 16, 69, 35, 34, 36, 51, 78, 18, 12, 66, 97, 9,  33, 41,  55,  52, 48,
    95, 77, 70,  10, 23, 39, 3,  102, 17, 65, 22, 31, 4,  85, 76, 15, 60, 54,  21,  83, 94,
    6,  61, 49,  20, 5,  14, 68, 98, 71, 27, 81, 1,  0,  87, 46, 75, 37, 73,  32,  79, 8,
    29, 72, 56,  44, 99, 13, 47, 42, 93, 91, 80, 86, 89, 43, 28, 58, 59, 38,  53,  2,  62,
    64, 90, 96,  74, 92, 40, 25, 26, 7,  30, 50, 84, 45, 67, 19, 103, 100, 82, 11, 63};

// Right Win (1087) with Menu (1088), its neighbour in the bottom row.
constexpr PreviewCompanion kCompanions[] = {{1087, 1088}};

constexpr int kRing0[] = {1052};
constexpr int kRing1[] = {1038, 1051, 1065, 1066, 1053, 1039};
constexpr int kRing2[] = {1024, 1037, 1050, 1064, 1077, 1078, 1079, 1067, 1054, 1040};
constexpr int kRing3[] = {1023, 1036, 1049, 1063, 1076, 1086, 1080, 1068, 1055, 1041, 1025};
constexpr int kRing4[] = {1015, 1035, 1048, 1062, 1075, 1174, 1081, 1070, 1042, 1043, 1026, 1027};
constexpr int kRing5[] = {1014, 1034, 1047, 1061, 1074, 1090, 1088, 1089, 1097, 1094, 1028};
constexpr int kRing6[] = {1013, 1033, 1046, 1060, 1073, 1100, 1103, 1098, 1095, 1091};
constexpr int kRing7[] = {1012, 1032, 1045, 1059, 1072, 1101, 1102, 1099, 1096, 1093, 1092};
constexpr int kRing8[] = {1011, 1031, 1044, 1058, 1071, 1085, 1115, 1112, 1108, 1104};
constexpr int kRing9[] = {1010, 1030, 1056, 1069, 1082, 1084, 1120, 1116, 1113, 1109, 1105};
constexpr int kRing10[] = {1022, 1029, 1083, 1119, 1117, 1114, 1110, 1106};
constexpr int kRing11[] = {1118, 1111, 1107};
constexpr std::span<const int> kRings[kRingCount] = {kRing0, kRing1, kRing2, kRing3,
                                                     kRing4, kRing5, kRing6, kRing7,
                                                     kRing8, kRing9, kRing10, kRing11};

constexpr int kSweep0[] = {1022, 1118};
constexpr int kSweep1[] = {1010, 1119};
constexpr int kSweep2[] = {1011, 1120};
constexpr int kSweep3[] = {1012, 1102, 1029, 1118};
constexpr int kSweep4[] = {1013, 1101, 1030, 1117};
constexpr int kSweep5[] = {1014, 1100, 1031, 1116};
constexpr int kSweep6[] = {1015, 1089, 1032, 1115, 1056, 1111};
constexpr int kSweep7[] = {1023, 1088, 1033, 1103, 1044, 1114};
constexpr int kSweep8[] = {1024, 1174, 1034, 1081, 1045, 1113};
constexpr int kSweep9[] = {1025, 1086, 1035, 1080, 1046, 1112};
constexpr int kSweep10[] = {1041, 1078, 1036, 1079, 1047};
constexpr int kSweep11[] = {1055, 1065, 1037, 1078, 1048};
constexpr int kSweep12[] = {1068, 1051, 1038, 1065, 1049, 1070};
constexpr int kSweep13[] = {1080, 1038, 1039, 1051, 1050, 1068};
constexpr int kSweep14[] = {1079, 1039, 1053, 1038, 1051, 1067};
constexpr int kSweep15[] = {1078, 1040, 1066, 1039, 1052, 1066};
constexpr int kSweep16[] = {1065, 1041, 1065, 1053, 1053, 1065};
constexpr int kSweep17[] = {1051, 1055, 1051, 1066, 1054};
constexpr int kSweep18[] = {1038, 1068};
constexpr int kSweep19[] = {1039, 1080};
constexpr std::span<const int> kSweep[kSweepRows] = {
    kSweep0,  kSweep1,  kSweep2,  kSweep3,  kSweep4,  kSweep5,  kSweep6,
    kSweep7,  kSweep8,  kSweep9,  kSweep10, kSweep11, kSweep12, kSweep13,
    kSweep14, kSweep15, kSweep16, kSweep17, kSweep18, kSweep19};

constexpr std::array<std::array<int, 2>, kPairCount> kPairs{{
    {1038, 1080}, {1039, 1079}, {1040, 1078}, {1041, 1065}, {1055, 1051}, {1068, 1038},
    {1080, 1039}, {1079, 1040}, {1078, 1041}, {1065, 1055}, {1051, 1068}, {1052, 1067},
    {1053, 1066}, {1054, 1052}, {1067, 1053}, {1066, 1054},
}};

constexpr std::array<ColourRef, kWheelSize> BuildWheel() {
    std::array<ColourRef, kWheelSize> w{};
    for (int k = 0; k < 32; ++k) {
        const std::uint8_t r = kRising[static_cast<std::size_t>(k)];
        const std::uint8_t f = kFalling[static_cast<std::size_t>(k)];
        w[static_cast<std::size_t>(k)] = MakeColour(255, r, 0);
        w[static_cast<std::size_t>(32 + k)] = MakeColour(f, 255, 0);
        w[static_cast<std::size_t>(64 + k)] = MakeColour(0, 255, r);
        w[static_cast<std::size_t>(96 + k)] = MakeColour(0, f, 255);
        w[static_cast<std::size_t>(128 + k)] = MakeColour(r, 0, 255);
        w[static_cast<std::size_t>(160 + k)] = MakeColour(255, 0, f);
    }
    return w;
}

constexpr std::array<std::uint8_t, 96> BuildB96() {
    std::array<std::uint8_t, 96> t{};
    for (std::size_t i = 0; i < 48; ++i) {
        t[i] = kRise48[i];
        t[95 - i] = kRise48[i];
    }
    return t;
}

constexpr std::array<std::uint8_t, 129> BuildP128() {
    std::array<std::uint8_t, 129> t{};  // indices 80..128 stay 0
    for (std::size_t i = 0; i < kP128Head.size(); ++i) t[i] = kP128Head[i];
    return t;
}

constexpr std::array<std::uint8_t, 128> BuildB128() {
    std::array<std::uint8_t, 128> t{};
    for (std::size_t i = 0; i < 16; ++i) t[i] = kB128Start[i];
    for (std::size_t i = 0; i < 48; ++i) t[16 + i] = kRise48[i];
    for (std::size_t i = 0; i < 64; ++i) t[127 - i] = t[i];
    return t;
}

constexpr auto kWheel = BuildWheel();
constexpr auto kB96 = BuildB96();
constexpr auto kP128 = BuildP128();
constexpr auto kB128 = BuildB128();

}  // namespace

const KeyGrid& Grid() { return kGrid; }
const std::array<int, kChainLength>& Chain() { return kChain; }
const std::array<std::uint8_t, 32>& RisingRamp() { return kRising; }
const std::array<std::uint8_t, 32>& FallingRamp() { return kFalling; }
const std::array<ColourRef, kWheelSize>& Wheel() { return kWheel; }
const std::array<std::uint8_t, 96>& B96() { return kB96; }
const std::array<std::uint8_t, 129>& P128() { return kP128; }
const std::array<std::uint8_t, 128>& B128() { return kB128; }
const std::array<std::uint8_t, kChainLength>& Perm() { return kPerm; }
std::span<const PreviewCompanion> Companions() { return kCompanions; }

std::span<const int> Ring(int k) {
    if (k < 0 || k >= kRingCount) return {};
    return kRings[k];
}

std::span<const int> SweepRow(int n) {
    if (n < 0 || n >= kSweepRows) return {};
    return kSweep[n];
}

std::array<int, 2> Pair(int n) {
    if (n < 0 || n >= kPairCount) return {0, 0};
    return kPairs[static_cast<std::size_t>(n)];
}

}  // namespace qv::lighting::preview
