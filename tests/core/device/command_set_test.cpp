// The command set through the real libHidServ.so against the simulated keyboard.
#include "core/device/command_set.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "protocol/default_settings_block.h"
#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"
#include "support/simulated_keyboard.h"

namespace qv::device {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using test::SimulatedKeyboard;

int AddressOf(const std::array<std::uint8_t, 64>& f) { return frame::Address(f.data()); }

KeyMatrix Pattern(std::uint8_t seed) {
    KeyMatrix m{};
    for (std::size_t i = 0; i < m.size(); ++i) m[i] = static_cast<std::uint8_t>(seed + i * 7);
    return m;
}

TEST(CommandSet, EveryFrameCarriesReportIdCommandAndValidChecksum) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    GlobalBlock g;
    ASSERT_EQ(cmd.BeginConfig(), kSuccess);
    ASSERT_EQ(cmd.ReadGlobalBlock(g), kSuccess);
    ASSERT_EQ(cmd.WriteGlobalBlock(g), kSuccess);
    ASSERT_EQ(cmd.EndConfig(), kSuccess);
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 4u);
    const std::uint8_t commands[] = {0x01, 0x03, 0x04, 0x02};
    const std::uint8_t lengths[] = {0, 44, 44, 0};
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i][0], 4);
        EXPECT_EQ(frames[i][3], commands[i]);
        EXPECT_EQ(frames[i][4], lengths[i]);
        EXPECT_EQ(frames[i][7], 0);
        EXPECT_TRUE(frame::ChecksumMatches(frames[i].data()));
    }
    // The written block travels in bytes 8..51 and nothing follows it.
    EXPECT_TRUE(std::equal(g.bytes.begin(), g.bytes.end(), frames[2].begin() + 8));
    EXPECT_TRUE(std::all_of(frames[2].begin() + 52, frames[2].end(), [](auto b) { return b == 0; }));
    // EndConfig waits 10 ms before its frame.
    EXPECT_THAT(kb.Clock().Sleeps(), ElementsAre(10));
}

TEST(CommandSet, FreshKeyboardReadsItsFactoryState) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    GlobalBlock g;
    ASSERT_EQ(cmd.ReadGlobalBlock(g), kSuccess);
    EXPECT_EQ(g.ActiveProfile(), 0);
    EXPECT_EQ(g.MacroCapacityBytes(), 32640u);
    std::vector<int> effects(18);
    std::iota(effects.begin(), effects.end(), 1);
    effects.push_back(20);
    EXPECT_EQ(g.EffectCodes(), effects);

    KeyMatrix factory{};
    ASSERT_EQ(cmd.ReadDefaultKeyMatrix(factory), kSuccess);
    EXPECT_EQ(factory, BuiltInFactoryMatrix());
    KeyMatrix m{};
    ASSERT_EQ(cmd.ReadKeyMatrix(m, 1), kSuccess);
    EXPECT_EQ(m, BuiltInFactoryMatrix());

    // Callers ask for 56 bytes at profile x 42 and keep 42; the last record's tail reads as 0.
    std::array<std::uint8_t, 56> settings{};
    ASSERT_EQ(cmd.ReadSettingsMemory(settings, 56, 84), kSuccess);
    EXPECT_TRUE(std::equal(kDefaultSettingsBlock.begin(), kDefaultSettingsBlock.end(), settings.begin()));
    EXPECT_TRUE(std::all_of(settings.begin() + 42, settings.end(), [](auto b) { return b == 0; }));
}

TEST(CommandSet, KeyMatrixRoundTripUsesSevenChunksAtProfileAddresses) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    const KeyMatrix written = Pattern(3);
    ASSERT_EQ(cmd.WriteKeyMatrix(written, 2), kSuccess);
    KeyMatrix read{};
    ASSERT_EQ(cmd.ReadKeyMatrix(read, 2), kSuccess);
    EXPECT_EQ(read, written);
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, 756, 378),
              std::vector<std::uint8_t>(written.begin(), written.end()));
    // Profiles 0 and 1 untouched.
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, 0, 378),
              std::vector<std::uint8_t>(BuiltInFactoryMatrix().begin(), BuiltInFactoryMatrix().end()));

    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 14u);
    const int addresses[] = {756, 812, 868, 924, 980, 1036, 1092};
    for (int i = 0; i < 7; ++i) {
        for (const auto& f : {frames[i], frames[7 + i]}) {
            EXPECT_EQ(AddressOf(f), addresses[i]);
            EXPECT_EQ(f[4], i < 6 ? 56 : 42);
        }
        EXPECT_EQ(frames[i][3], 0x08);
        EXPECT_EQ(frames[7 + i][3], 0x07);
        // Write chunks carry their bytes; read requests carry none.
        EXPECT_TRUE(std::equal(written.begin() + i * 56, written.begin() + i * 56 + frames[i][4],
                               frames[i].begin() + 8));
        EXPECT_TRUE(std::all_of(frames[7 + i].begin() + 8, frames[7 + i].end(), [](auto b) { return b == 0; }));
    }
    EXPECT_THAT(std::vector<std::uint8_t>(frames[0].begin() + 5, frames[0].begin() + 7), ElementsAre(0xF4, 0x02));
    EXPECT_THAT(std::vector<std::uint8_t>(frames[6].begin() + 5, frames[6].begin() + 7), ElementsAre(0x44, 0x04));
}

TEST(CommandSet, ProfileOutOfRangeSendsNothing) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    KeyMatrix m{};
    EXPECT_EQ(cmd.ReadKeyMatrix(m, 3), kOutOfRange);
    EXPECT_EQ(cmd.WriteKeyMatrix(m, 3), kOutOfRange);
    EXPECT_EQ(cmd.ReadKeyMatrix(m, -1), kOutOfRange);
    EXPECT_EQ(cmd.SetActiveProfile(3), kOutOfRange);
    EXPECT_EQ(cmd.SetActiveProfile(-1), kOutOfRange);
    EXPECT_EQ(cmd.WriteKeyColours(3, m.data(), 3, 0), kOutOfRange);
    // A piece larger than one frame would read past the caller's data.
    EXPECT_EQ(cmd.WriteSettingsMemory(m.data(), 57, 0), kOutOfRange);
    EXPECT_EQ(cmd.WriteKeyColours(0, m.data(), 57, 0), kOutOfRange);
    EXPECT_EQ(kb.Sim().FrameCount(), 0u);
}

TEST(CommandSet, MacroMemoryChunksFromAddressZeroAndCountZeroSendsNothing) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    std::vector<std::uint8_t> image(100);
    std::iota(image.begin(), image.end(), std::uint8_t{1});
    EXPECT_EQ(cmd.WriteMacroMemory(image.data(), 0), kSuccess);
    EXPECT_EQ(cmd.ReadMacroMemory(image.data(), 0), kSuccess);
    EXPECT_EQ(kb.Sim().FrameCount(), 0u);

    ASSERT_EQ(cmd.WriteMacroMemory(image.data(), 100), kSuccess);
    std::vector<std::uint8_t> back(100);
    ASSERT_EQ(cmd.ReadMacroMemory(back.data(), 100), kSuccess);
    EXPECT_EQ(back, image);
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[2][3], 0x09);
    EXPECT_EQ(frames[2][4], 56);
    EXPECT_EQ(AddressOf(frames[2]), 0);
    EXPECT_EQ(frames[3][4], 44);
    EXPECT_EQ(AddressOf(frames[3]), 56);
}

TEST(CommandSet, FullMacroMemoryFitsAndOneByteMoreIsRefused) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    std::vector<std::uint8_t> image(32640);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 13 + 1);
    ASSERT_EQ(cmd.WriteMacroMemory(image.data(), static_cast<int>(image.size())), kSuccess);
    EXPECT_EQ(kb.Sim().Read(QV_SIM_MACRO, 0, 32640), image);
    image.push_back(0);
    // The last piece reaches past the keyboard's capacity: refused three times, no rollback.
    EXPECT_EQ(cmd.WriteMacroMemory(image.data(), static_cast<int>(image.size())), kStatusFF);

    // A smaller capacity set on the keyboard limits the area.
    ASSERT_EQ(kb.Sim().Write(QV_SIM_GLOBAL, 11, {2}), 1);
    GlobalBlock g;
    ASSERT_EQ(cmd.ReadGlobalBlock(g), kSuccess);
    EXPECT_EQ(g.MacroCapacityBytes(), 256u);
    EXPECT_EQ(cmd.WriteMacroMemory(image.data(), 256), kSuccess);
    EXPECT_EQ(cmd.WriteMacroMemory(image.data(), 257), kStatusFF);
}

TEST(CommandSet, SettingsAndKeyColoursLandAtTheirAddresses) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    const std::uint8_t rgb[3] = {0x11, 0x22, 0x33};
    ASSERT_EQ(cmd.WriteKeyColours(1, rgb, 3, 10), kSuccess);
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0][3], 0x11);
    EXPECT_EQ(frames[0][4], 3);
    EXPECT_EQ(frames[0][5], 0x1E);
    EXPECT_EQ(frames[0][6], 0x02);
    EXPECT_THAT(kb.Sim().Read(QV_SIM_KEY_COLOURS, 542, 3), ElementsAre(0x11, 0x22, 0x33));

    // All keys: 8 pieces of 18 keys.
    std::vector<std::uint8_t> colours(54, 0x40);
    for (int key = 0; key <= 126; key += 18) ASSERT_EQ(cmd.WriteKeyColours(2, colours.data(), 54, key), kSuccess);

    const std::uint8_t rate = 2;
    ASSERT_EQ(cmd.WriteSettingsMemory(&rate, 1, 42 + 15), kSuccess);
    std::array<std::uint8_t, 56> record{};
    ASSERT_EQ(cmd.ReadSettingsMemory(record, 56, 42), kSuccess);
    ProfileSettingsRecord r;
    std::copy_n(record.begin(), 42, r.bytes.begin());
    EXPECT_EQ(r.ReportRateIndex(), 2);
    // Length 0 sends a frame with no data.
    EXPECT_EQ(cmd.WriteSettingsMemory(nullptr, 0, 0), kSuccess);
}

TEST(CommandSet, ActiveProfileIsCachedUntilForgotten) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    ASSERT_EQ(kb.Sim().Write(QV_SIM_GLOBAL, 10, {2}), 1);
    EXPECT_EQ(cmd.CachedActiveProfile(), -1);
    EXPECT_EQ(cmd.GetActiveProfile(), 2);
    EXPECT_EQ(cmd.GetActiveProfile(), 2);
    EXPECT_EQ(kb.Sim().FrameCount(), 1u);

    ASSERT_EQ(cmd.SetActiveProfile(1), kSuccess);
    EXPECT_EQ(cmd.CachedActiveProfile(), 1);
    EXPECT_THAT(kb.Sim().Read(QV_SIM_GLOBAL, 10, 1), ElementsAre(1));
    // Read-modify-write, no BeginConfig/EndConfig.
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[1][3], 0x03);
    EXPECT_EQ(frames[2][3], 0x04);

    cmd.ForgetActiveProfile();
    ASSERT_EQ(kb.Sim().Write(QV_SIM_GLOBAL, 10, {0}), 1);
    EXPECT_EQ(cmd.GetActiveProfile(), 0);

    // A failure status on the first try is retried.
    kb.Sim().InjectFault(QV_SIM_FAULT_STATUS_FE, 1);
    ASSERT_EQ(cmd.SetActiveProfile(2), kSuccess);
    EXPECT_EQ(cmd.CachedActiveProfile(), 2);
    // A failing read changes nothing.
    kb.Sim().InjectFault(QV_SIM_FAULT_NO_ANSWER, 3);
    EXPECT_EQ(cmd.SetActiveProfile(1), kNoMatchingAnswer);
    EXPECT_EQ(cmd.CachedActiveProfile(), 2);
    // A failing write empties the cache: the keyboard is pulled out as the block is written.
    kb.Sim().InjectFault(QV_SIM_FAULT_DISCONNECT_AT, 2);
    EXPECT_EQ(cmd.SetActiveProfile(0), kWriteRefused);
    EXPECT_EQ(cmd.CachedActiveProfile(), -1);
    EXPECT_EQ(cmd.GetActiveProfile(), -1);
}

TEST(CommandSet, UpdateModeFrameHasNoChecksumAndIsNotAnswered) {
    SimulatedKeyboard kb;
    CommandSet& cmd = kb.Commands();
    EXPECT_EQ(cmd.EnterUpdateMode(), kSuccess);
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 1u);
    std::array<std::uint8_t, 64> expected{};
    expected[0] = 0x04;
    expected[3] = 0xEE;
    expected[4] = 0xEE;
    EXPECT_EQ(frames[0], expected);
    EXPECT_TRUE(kb.Clock().Waits().empty());
    EXPECT_THAT(kb.Sim().Read(QV_SIM_UPDATE_MODE, 0, 1), ElementsAre(1));
}

}  // namespace
}  // namespace qv::device

namespace qv::device {
namespace {

// Answers every frame with its command byte, status 0 and data bytes 8..63 = 0x80 + offset.
class PatternAnswers final : public Exchanger {
public:
    int ExchangeReport(const std::uint8_t* request, std::size_t, std::uint8_t* answer, std::size_t capacity,
                       std::size_t* received) override {
        std::array<std::uint8_t, 64> out{};
        out[0] = 4;
        out[3] = request[3];
        for (std::size_t i = 8; i < 64; ++i) out[i] = static_cast<std::uint8_t>(0x80 + i - 8);
        std::copy_n(out.begin(), std::min<std::size_t>(capacity, 64), answer);
        if (received != nullptr) *received = std::min<std::size_t>(capacity, 64);
        lengths.push_back(request[4]);
        return kSuccess;
    }
    int SendReportNoReply(const std::uint8_t*, std::size_t) override { return 1; }
    std::vector<int> lengths;
};

TEST(CommandSet, ReadSettingsMemoryCopiesAnswerBytes8To63WhateverLengthWasAsked) {
    PatternAnswers keyboard;
    CommandSet cmd(keyboard);
    for (int length : {0, 3, 42, 56}) {
        std::array<std::uint8_t, 56> out{};
        out.fill(0xEE);
        ASSERT_EQ(cmd.ReadSettingsMemory(out, length, 42), kSuccess);
        for (std::size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], 0x80 + i) << "length " << length << " byte " << i;
        }
    }
    EXPECT_THAT(keyboard.lengths, ElementsAre(0, 3, 42, 56));
}

}  // namespace
}  // namespace qv::device
