// The command set through the real libHidServ.so against the simulated keyboard.
#include "core/device/command_set.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <numeric>

#include "protocol/default_settings_block.h"
#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"
#include "support/simulated_keyboard.h"

namespace qv::device {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using test::DecodedFrame;
using test::FrameRecord;
using test::SimulatedKeyboard;

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
    // Status 0 and a matching checksum are part of each record.
    EXPECT_THAT(test::Records(frames), ElementsAre(FrameRecord{frame::kBeginConfig, 0, 0},
                                                   FrameRecord{frame::kReadGlobalBlock, 44, 0},
                                                   FrameRecord{frame::kWriteGlobalBlock, 44, 0},
                                                   FrameRecord{frame::kEndConfig, 0, 0}));
    for (const auto& f : frames) EXPECT_EQ(DecodedFrame(f).ReportId(), frame::kReportId);
    // The written block travels in bytes 8..51 and nothing follows it.
    const DecodedFrame write(frames[2]);
    EXPECT_THAT(write.Payload(), ElementsAreArray(g.bytes));
    EXPECT_TRUE(write.TailIsZero());
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
    const int addresses[] = {756, 812, 868, 924, 980, 1036, 1092};
    std::vector<FrameRecord> expected;
    for (std::uint8_t command : {frame::kWriteKeyMatrix, frame::kReadKeyMatrix}) {
        for (int i = 0; i < 7; ++i) expected.push_back({command, i < 6 ? 56 : 42, addresses[i]});
    }
    EXPECT_EQ(test::Records(frames), expected);
    ASSERT_EQ(frames.size(), 14u);
    for (int i = 0; i < 7; ++i) {
        // Write chunks carry their bytes; read requests carry none.
        const DecodedFrame write(frames[i]);
        EXPECT_TRUE(std::equal(written.begin() + i * 56, written.begin() + i * 56 + write.Length(),
                               write.Payload().begin()));
        EXPECT_TRUE(write.TailIsZero());
        // Data() is a view into the decoded frame, so the frame must outlive it.
        const DecodedFrame request(frames[7 + i]);
        const auto readData = request.Data();
        EXPECT_TRUE(std::all_of(readData.begin(), readData.end(), [](auto b) { return b == 0; }));
    }
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
    EXPECT_THAT(test::Records(kb.Frames()), ElementsAre(FrameRecord{frame::kWriteMacroMemory, 56, 0},
                                                        FrameRecord{frame::kWriteMacroMemory, 44, 56},
                                                        FrameRecord{frame::kReadMacroMemory, 56, 0},
                                                        FrameRecord{frame::kReadMacroMemory, 44, 56}));
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
    // Profile 1 starts at 512, key 10 three bytes a key further.
    EXPECT_THAT(test::Records(kb.Frames()), ElementsAre(FrameRecord{frame::kWriteKeyColours, 3, 0x021E}));
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
    EXPECT_THAT(test::Commands(kb.Frames()),
                ElementsAre(frame::kReadGlobalBlock, frame::kReadGlobalBlock, frame::kWriteGlobalBlock));

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
        const test::DecodedFrame asked(std::span(request, frame::kSize));
        std::array<std::uint8_t, frame::kMaxData> pattern{};
        for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(0x80 + i);
        const auto out = test::BuildFrame(asked.Command(), 0, 0, pattern);
        std::copy_n(out.begin(), std::min<std::size_t>(capacity, 64), answer);
        if (received != nullptr) *received = std::min<std::size_t>(capacity, 64);
        lengths.push_back(asked.Length());
        requests.push_back(asked.Bytes());
        return kSuccess;
    }
    int SendReportNoReply(const std::uint8_t*, std::size_t) override { return 1; }
    std::vector<int> lengths;
    std::vector<test::RawFrame> requests;
};

test::RawFrame Bytes(std::initializer_list<std::uint8_t> head) {
    test::RawFrame f{};
    std::copy(head.begin(), head.end(), f.begin());
    return f;
}

TEST(CommandSet, RequestsCarryTheKnownGoodBytes) {
    PatternAnswers keyboard;
    CommandSet cmd(keyboard);
    GlobalBlock g;
    ASSERT_EQ(cmd.ReadGlobalBlock(g), kSuccess);
    const std::uint8_t rgb[3] = {0x11, 0x22, 0x33};
    ASSERT_EQ(cmd.WriteKeyColours(1, rgb, 3, 10), kSuccess);
    KeyMatrix m{};
    ASSERT_EQ(cmd.ReadKeyMatrix(m, 2), kSuccess);
    ASSERT_EQ(keyboard.requests.size(), 9u);
    // Report id, checksum low and high, command, length, address low and high, status, data.
    EXPECT_EQ(keyboard.requests[0], Bytes({0x04, 0x2F, 0x00, 0x03, 0x2C, 0x00, 0x00, 0x00}));
    EXPECT_EQ(keyboard.requests[1], Bytes({0x04, 0x9A, 0x00, 0x11, 0x03, 0x1E, 0x02, 0x00, 0x11, 0x22, 0x33}));
    // Profile 2's matrix: 756 = 0x02F4 onwards, the checksum past one byte.
    EXPECT_EQ(keyboard.requests[2], Bytes({0x04, 0x35, 0x01, 0x07, 0x38, 0xF4, 0x02, 0x00}));
    EXPECT_EQ(keyboard.requests[8], Bytes({0x04, 0x79, 0x00, 0x07, 0x2A, 0x44, 0x04, 0x00}));
}

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
