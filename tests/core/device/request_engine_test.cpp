// The request engine's retries and result codes under the simulated keyboard's faults.
#include "core/device/request_engine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <thread>

#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"
#include "support/simulated_keyboard.h"

namespace qv::device {
namespace {

using ::testing::ElementsAre;
using test::SimulatedKeyboard;

test::RawFrame BeginFrame() { return test::BuildFrame(frame::kBeginConfig, 0, 0); }

TEST(RequestEngine, NoKeyboardReturnsZeroAndWritesNothing) {
    SimulatedKeyboard kb(/*attached=*/false);
    const auto f = BeginFrame();
    std::array<std::uint8_t, 64> answer{};
    std::size_t received = 99;
    EXPECT_EQ(kb.Link().Engine().ExchangeReport(f.data(), 64, answer.data(), 64, &received), kNoKeyboard);
    EXPECT_EQ(received, 0u);
    EXPECT_EQ(kb.Sim().FrameCount(), 0u);
    EXPECT_EQ(kb.Commands().BeginConfig(), kNoKeyboard);
}

TEST(RequestEngine, ShortRequestIsZeroPaddedAndAnswerCopied) {
    SimulatedKeyboard kb;
    const std::uint8_t shortRequest[8] = {4, 1, 0, 1, 0, 0, 0, 0};
    std::array<std::uint8_t, 64> answer{};
    std::size_t received = 0;
    ASSERT_EQ(kb.Link().Engine().ExchangeReport(shortRequest, 8, answer.data(), 64, &received), kSuccess);
    EXPECT_EQ(received, 64u);
    EXPECT_EQ(test::DecodedFrame(answer).Command(), frame::kBeginConfig);
    const auto frames = kb.Frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], BeginFrame());

    // An answer longer than the slot is cut to its capacity.
    std::array<std::uint8_t, 16> small{};
    ASSERT_EQ(kb.Link().Engine().ExchangeReport(shortRequest, 8, small.data(), small.size(), &received),
              kSuccess);
    EXPECT_EQ(received, 16u);
}

TEST(RequestEngine, NeverAnsweredGivesMinusTwoAfterThreeWrites) {
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_NO_ANSWER, 100);
    EXPECT_EQ(kb.Commands().BeginConfig(), kNoMatchingAnswer);
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);
    EXPECT_THAT(kb.Clock().Waits(), ElementsAre(1000, 1000, 1000));
    EXPECT_THAT(kb.Clock().Sleeps(), ElementsAre(10, 10));
    EXPECT_EQ(kb.Clock().NominalMilliseconds(), 3020);
}

TEST(RequestEngine, FailureStatusIsRetriedThenReported) {
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_STATUS_FE, 3);
    EXPECT_EQ(kb.Commands().BeginConfig(), kStatusFE);
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);

    kb.Sim().ClearFrameLog();
    kb.Sim().InjectFault(QV_SIM_FAULT_STATUS_FF, 3);
    GlobalBlock g;
    EXPECT_EQ(kb.Commands().ReadGlobalBlock(g), kStatusFF);
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);

    // Two failures, then the keyboard takes it.
    kb.Sim().ClearFrameLog();
    kb.Sim().InjectFault(QV_SIM_FAULT_STATUS_FF, 2);
    EXPECT_EQ(kb.Commands().ReadGlobalBlock(g), kSuccess);
    EXPECT_EQ(g.MacroCapacityBytes(), 32640u);
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);
}

TEST(RequestEngine, WrongCommandByteCausesResend) {
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_WRONG_COMMAND, 1);
    EXPECT_EQ(kb.Commands().BeginConfig(), kSuccess);
    EXPECT_EQ(kb.Sim().FrameCount(), 2u);

    kb.Sim().ClearFrameLog();
    kb.Sim().InjectFault(QV_SIM_FAULT_WRONG_COMMAND, 3);
    EXPECT_EQ(kb.Commands().BeginConfig(), kNoMatchingAnswer);
    EXPECT_EQ(kb.Sim().FrameCount(), 3u);
}

TEST(RequestEngine, AWrongAnswerFollowedByTheRightOneStillMeansAResend) {
    // Both reports arrive within the same wait; the engine looks at the first and resends.
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_EXTRA_ANSWER, 1);
    GlobalBlock g;
    EXPECT_EQ(kb.Commands().ReadGlobalBlock(g), kSuccess);
    EXPECT_EQ(kb.Sim().FrameCount(), 2u);
    EXPECT_EQ(g.MacroCapacityBytes(), 32640u);
    EXPECT_THAT(kb.Clock().Sleeps(), ElementsAre(10));
}

TEST(RequestEngine, ALateAnswerArrivingDuringTheNextAttemptIsTakenAndTheStrayOneDropped) {
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_LATE_ANSWER, 1);
    GlobalBlock g;
    // The first attempt times out; the first answer turns up while the second attempt waits
    // and, carrying the same command byte, answers it.
    EXPECT_EQ(kb.Commands().ReadGlobalBlock(g), kSuccess);
    EXPECT_EQ(kb.Sim().FrameCount(), 2u);
    EXPECT_EQ(g.MacroCapacityBytes(), 32640u);
    EXPECT_THAT(kb.Clock().Waits(), ElementsAre(1000, 1000));
    // The second attempt's own answer comes after the exchange ended: dropped, or met by the
    // next exchange, which then resends because its command differs.
    EXPECT_EQ(kb.Commands().BeginConfig(), kSuccess);
}

TEST(RequestEngine, RefusedWriteIsNotRetried) {
    SimulatedKeyboard kb;
    kb.Sim().InjectFault(QV_SIM_FAULT_DISCONNECT_AT, 1);
    EXPECT_EQ(kb.Commands().BeginConfig(), kWriteRefused);
    EXPECT_EQ(kb.Sim().FrameCount(), 1u);
    EXPECT_TRUE(kb.Clock().Waits().empty());
    // Gone now: later exchanges find no keyboard and write nothing.
    EXPECT_EQ(kb.Link().KeyboardCount(), 0);
    EXPECT_EQ(kb.Commands().BeginConfig(), kNoKeyboard);
    EXPECT_EQ(kb.Sim().FrameCount(), 1u);
}

TEST(RequestEngine, PullOutInTheMiddleOfAKeyMatrixWriteKeepsEarlierChunks) {
    SimulatedKeyboard kb;
    KeyMatrix m{};
    m.fill(0xAB);
    kb.Sim().InjectFault(QV_SIM_FAULT_DISCONNECT_AT, 4);
    EXPECT_EQ(kb.Commands().WriteKeyMatrix(m, 1), kWriteRefused);
    EXPECT_EQ(kb.Sim().FrameCount(), 4u);
    const auto written = kb.Sim().Read(QV_SIM_KEY_MATRICES, 378, 378);
    ASSERT_EQ(written.size(), 378u);
    // Three chunks of 56 reached the keyboard, the rest is still the factory layout.
    for (std::size_t i = 0; i < 378; ++i) {
        const std::uint8_t expected = i < 168 ? 0xAB : BuiltInFactoryMatrix()[i];
        ASSERT_EQ(written[i], expected) << "byte " << i;
    }
    EXPECT_EQ(kb.Link().KeyboardCount(), 0);
    EXPECT_FALSE(kb.Link().Engine().InFlight());
    EXPECT_EQ(kb.Commands().WriteKeyMatrix(m, 1), kNoKeyboard);
    // Plugged in again, the write completes.
    kb.Sim().Attach(true);
    EXPECT_EQ(kb.Commands().WriteKeyMatrix(m, 1), kSuccess);
    EXPECT_EQ(kb.Sim().Read(QV_SIM_KEY_MATRICES, 378, 378), std::vector<std::uint8_t>(378, 0xAB));
}

TEST(RequestEngine, ReportWithoutExchangeInFlightIsDropped) {
    SimulatedKeyboard kb;
    const auto stray = test::BuildFrame(frame::kBeginConfig, 0, 0);
    kb.Link().Engine().DeliverReply(stray.data(), stray.size());
    EXPECT_FALSE(kb.Link().Engine().InFlight());
    // A following exchange is not satisfied by the stray report.
    kb.Sim().InjectFault(QV_SIM_FAULT_NO_ANSWER, 3);
    EXPECT_EQ(kb.Commands().BeginConfig(), kNoMatchingAnswer);
}

TEST(RequestEngine, ConcurrentExchangesNeverShareTheReplySlot) {
    SimulatedKeyboard kb;
    kb.Sim().SetLatencyMicroseconds(500);
    CommandSet& cmd = kb.Commands();
    std::array<KeyMatrix, 2> read{};
    std::array<int, 2> results{};
    KeyMatrix p0 = BuiltInFactoryMatrix();
    KeyMatrix p1{};
    p1.fill(0x5A);
    ASSERT_EQ(cmd.WriteKeyMatrix(p1, 1), kSuccess);
    std::thread a([&] {
        results[0] = cmd.ReadKeyMatrix(read[0], 0);
    });
    std::thread b([&] {
        results[1] = cmd.ReadKeyMatrix(read[1], 1);
    });
    a.join();
    b.join();
    EXPECT_EQ(results[0], kSuccess);
    EXPECT_EQ(results[1], kSuccess);
    EXPECT_EQ(read[0], p0);
    EXPECT_EQ(read[1], p1);
    // Each exchange waited for the other instead of retrying on its answers.
    EXPECT_TRUE(kb.Clock().Sleeps().empty());
}

}  // namespace
}  // namespace qv::device
