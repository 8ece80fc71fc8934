#include "core/keyboard/key_matrix_codec.h"

#include <gtest/gtest.h>

#include "core/keyboard/key_catalogue.h"

namespace qv {
namespace {

// The factory position of a key.
std::size_t PositionOf(KeyCode code) {
    for (std::size_t i = 0; i < kMatrixPositions; ++i) {
        if (DefaultEntryToKey(EntryAt(BuiltInFactoryMatrix(), i)) == code) return i;
    }
    ADD_FAILURE() << "no position for " << code;
    return 0;
}

KeyTable ResetTable() {
    KeyTable t;
    ResetKeyTable(t);
    return t;
}

MatrixEntry EncodeOne(KeyCode key, KeyRecord r, const MacroList& macros = {}) {
    KeyTable t = ResetTable();
    t[KeyCodeToSlot(key)] = r;
    return EntryAt(EncodeKeyMatrix(t, macros, BuiltInFactoryMatrix()), PositionOf(key));
}

KeyRecord Rec(std::uint16_t type, std::uint32_t value = 0) {
    KeyRecord r;
    r.type = type;
    r.value = value;
    return r;
}

MacroList MacrosWithIds(std::initializer_list<std::uint16_t> ids) {
    MacroList list;
    for (auto id : ids) list.emplace_back().id = id;
    return list;
}

TEST(FactoryEntries, NameTheirKeys) {
    const KeyMatrix& f = BuiltInFactoryMatrix();
    EXPECT_EQ(DefaultEntryToKey(EntryAt(f, 8)), 0x001);    // Esc
    EXPECT_EQ(DefaultEntryToKey(EntryAt(f, 13)), 0x01D);   // Left Ctrl
    EXPECT_EQ(DefaultEntryToKey(EntryAt(f, 112)), 0x110);  // previous track
    EXPECT_EQ(DefaultEntryToKey(EntryAt(f, 0)), 0);        // 05 00 00
    EXPECT_EQ(DefaultEntryToKey(EntryAt(f, 6)), 0);        // 00 00 00
    EXPECT_EQ(DefaultEntryToKey({4, 0x82, 0}), 0x15F);     // Sleep
}

TEST(ModifierBits, LowestSetBitWins) {
    EXPECT_EQ(ModifierBitToKey(0x06), 0x02A);
    EXPECT_EQ(ModifierBitToKey(0x80), 0x15C);
    EXPECT_EQ(ModifierBitToKey(0), 0);
    EXPECT_EQ(ModifierBitOfKey(0x138), 0x40);
    EXPECT_FALSE(ModifierBitOfKey(0x01E).has_value());
}

TEST(EncodeKeyMatrix, EntryPerAssignmentType) {
    using E = MatrixEntry;
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignDisabled)), (E{0, 0, 0}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignSingleKey, 0x02A)), (E{2, 1, 2}));   // Shift
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignSingleKey, 0x130)), (E{2, 2, 0}));   // consumer key
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignSingleKey, 0x030)), (E{2, 2, 0x05}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignLaunchProgram, 40)), (E{2, 2, 0x04}));  // factory
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignStopMacro)), (E{5, 2, 0}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignTextBlock, 8)), (E{0, 0, 0}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMedia, 6)), (E{3, 0xE9, 0}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMedia, 17)), (E{3, 0x8A, 0x01}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMedia, 99)), (E{3, 0, 0}));  // out of the table
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignFunctionKey, 3)), (E{5, 5, 3}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(42, 3)), (E{2, 2, 0x04}));  // unknown type: factory
}

TEST(EncodeKeyMatrix, MacroAssignmentsSendTheMacrosIndex) {
    const MacroList macros = MacrosWithIds({7, 3, 9});
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMacro, 9), macros), (MatrixEntry{5, 1, 2}));
    // An id no longer in the list plays the first macro.
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMacro, 5), macros), (MatrixEntry{5, 1, 0}));
    EXPECT_EQ(EncodeOne(0x01E, Rec(AssignMacro, 5)), (MatrixEntry{5, 1, 0}));
}

TEST(EncodeKeyMatrix, UnchangedTableAndGKeysSendTheFactoryMatrix) {
    KeyTable t = ResetTable();
    for (int n = 0; n < kGKeyCount; ++n) t[static_cast<std::size_t>(kGKeyRecordFirst + n)] = Rec(AssignDisabled);
    EXPECT_EQ(EncodeKeyMatrix(t, {}, BuiltInFactoryMatrix()), BuiltInFactoryMatrix());
}

TEST(DecodeKeyMatrix, TypesThatTheKeyboardCannotTellApart) {
    KeyTable t = ResetTable();
    t[KeyCodeToSlot(0x01E)] = Rec(AssignLaunchProgram, 8);
    t[KeyCodeToSlot(0x030)] = Rec(AssignDisabled);
    t[KeyCodeToSlot(0x02E)] = Rec(AssignTextBlock, 16);
    const KeyMatrix m = EncodeKeyMatrix(t, {}, BuiltInFactoryMatrix());
    KeyTable back;
    DecodeKeyMatrix(m, back, BuiltInFactoryMatrix());
    EXPECT_EQ(back[KeyCodeToSlot(0x01E)], KeyRecord{});
    EXPECT_EQ(back[KeyCodeToSlot(0x030)], Rec(AssignDisabled));
    EXPECT_EQ(back[KeyCodeToSlot(0x02E)], Rec(AssignDisabled));
    EXPECT_EQ(back[kGKeyRecordFirst].aux, 0x0301);  // reset first
}

TEST(DecodeKeyMatrix, RoundTripOfEveryAssignmentTheKeyboardHolds) {
    const MacroList macros = MacrosWithIds({1, 2, 3});
    KeyTable t = ResetTable();
    t[KeyCodeToSlot(0x01E)] = Rec(AssignSingleKey, 0x030);
    t[KeyCodeToSlot(0x01D)] = Rec(AssignSingleKey, 0x15C);  // a modifier on a modifier
    t[KeyCodeToSlot(0x03B)] = Rec(AssignMacro, 3);
    t[KeyCodeToSlot(0x03C)] = Rec(AssignStopMacro);
    t[KeyCodeToSlot(0x03D)] = Rec(AssignMedia, 17);
    t[KeyCodeToSlot(0x03E)] = Rec(AssignFunctionKey, 10);
    t[KeyCodeToSlot(0x110)] = Rec(AssignDisabled);  // the media key of the factory layout
    KeyTable back;
    DecodeKeyMatrix(EncodeKeyMatrix(t, macros, BuiltInFactoryMatrix()), back, BuiltInFactoryMatrix());
    EXPECT_EQ(back, t);
}

TEST(DecodeKeyMatrix, EntriesThatNameNoKnownFunction) {
    KeyMatrix m = BuiltInFactoryMatrix();
    const std::size_t a = PositionOf(0x01E);
    const std::size_t b = PositionOf(0x030);
    const std::size_t c = PositionOf(0x02E);
    const std::size_t d = PositionOf(0x020);
    SetEntry(m, a, {3, 0x23, 0x02});  // AC Home: media 8
    SetEntry(m, b, {3, 0xB0, 0x00});  // a consumer usage outside the table
    SetEntry(m, c, {2, 2, 0xF0});     // a keyboard usage no row has
    SetEntry(m, d, {2, 1, 0x06});     // two modifier bits
    SetEntry(m, 0, {5, 1, 0});        // a position without a PC key is left alone
    KeyTable t;
    DecodeKeyMatrix(m, t, BuiltInFactoryMatrix());
    EXPECT_EQ(t[KeyCodeToSlot(0x01E)], Rec(AssignMedia, 8));
    EXPECT_EQ(t[KeyCodeToSlot(0x030)], Rec(AssignDisabled));
    EXPECT_EQ(t[KeyCodeToSlot(0x02E)], Rec(AssignDisabled));
    EXPECT_EQ(t[KeyCodeToSlot(0x020)], Rec(AssignSingleKey, 0x02A));
    int assigned = 0;
    for (const KeyRecord& r : t) assigned += r.type != AssignDefault;
    EXPECT_EQ(assigned, 4);
}

TEST(DefaultKeyMatrix, StartsAsTheBuiltInCopyAndFollowsTheKeyboard) {
    ResetDefaultKeyMatrix();
    EXPECT_EQ(DefaultKeyMatrix(), BuiltInFactoryMatrix());
    KeyMatrix other{};
    SetDefaultKeyMatrix(other);
    EXPECT_EQ(DefaultKeyMatrix(), other);
    ResetDefaultKeyMatrix();
}

}  // namespace
}  // namespace qv
