// The keyboard's memory layout as both the command set and the simulated keyboard use it, pinned
// to the keyboard's numbers: a change here would make the tool read and write the wrong bytes of
// a real keyboard while every test against the simulation still passed.
#include "protocol/keyboard_memory.h"

#include <gtest/gtest.h>

#include "core/device/device_records.h"
#include "protocol/default_settings_block.h"
#include "protocol/report_frame.h"
#include "protocol/status_report.h"

namespace qv::protocol {
namespace {

TEST(KeyboardMemory, AreasHaveTheKeyboardsSizes) {
    EXPECT_EQ(kProfileCount, 3);
    EXPECT_EQ(kGlobalBlockSize, 44u);
    EXPECT_EQ(kSettingsRecordSize, 42u);
    EXPECT_EQ(kSettingsMemorySize, 126u);
    EXPECT_EQ(kKeyMatricesSize, 1134u);
    EXPECT_EQ(kMacroMemorySize, 32640u);
    EXPECT_EQ(kKeyColoursSize, 1536u);
    EXPECT_EQ(kStatusReportSize, 2u);
    // The global block travels whole in one frame.
    EXPECT_LE(kGlobalBlockSize, device::frame::kMaxData);
    // Restoring defaults rewrites the front of a record and keeps the rest.
    EXPECT_LT(kDefaultSettingsBlock.size(), kSettingsRecordSize);
}

TEST(KeyboardMemory, EachProfilesPartStartsAtItsAddress) {
    EXPECT_EQ(SettingsAddress(0), 0);
    EXPECT_EQ(SettingsAddress(2), 84);
    EXPECT_EQ(KeyMatrixAddress(1), 378);
    EXPECT_EQ(KeyMatrixAddress(2), 756);
    EXPECT_EQ(KeyColourAddress(0, 0), 0);
    EXPECT_EQ(KeyColourAddress(1, 10), 542);
    // The last key of the last profile ends inside the area and inside two address bytes.
    const long lastColour = KeyColourAddress(kProfileCount - 1, static_cast<int>(kMatrixPositions) - 1);
    EXPECT_EQ(lastColour, 1399);
    EXPECT_LE(lastColour + static_cast<long>(kKeyColourBytes), static_cast<long>(kKeyColoursSize));
    EXPECT_LE(KeyMatrixAddress(kProfileCount), kMaxAddress + 1);
    EXPECT_EQ(MacroCapacityBytes(kLargestMacroCapacity), kMacroMemorySize);
    EXPECT_EQ(MacroCapacityBytes(2), 256u);
}

TEST(KeyboardMemory, TheCoresGlobalBlockReadsTheLayoutsBytes) {
    device::GlobalBlock g;
    g.bytes[kActiveProfileAt] = 2;
    g.bytes[kMacroCapacityAt] = 3;
    g.bytes[kEffectsAt] = 7;
    g.bytes[kGlobalBlockSize - 1] = 20;  // the last effect slot is still an effect
    EXPECT_EQ(g.ActiveProfile(), 2);
    EXPECT_EQ(g.MacroCapacityBytes(), 384u);
    EXPECT_EQ(g.EffectCodes(), (std::vector<int>{7, 20}));
    // Nothing before the effect list is taken for an effect.
    g.ClearEffects();
    EXPECT_TRUE(g.EffectCodes().empty());
    EXPECT_EQ(g.bytes[kMacroCapacityAt], 3);
}

TEST(StatusReport, StartsOnBankAWithTheBankInBitZeroOfByteOne) {
    EXPECT_EQ(kInitialStatusReport, (std::array<std::uint8_t, 2>{0x05, 0x02}));
    EXPECT_EQ(kInitialStatusReport[kGKeyBankByte] & kGKeyBankBit, 0);
}

}  // namespace
}  // namespace qv::protocol
