// The simulated keyboard's own rules, without the library around it.
#include "hidserv/sim/sim_keyboard.h"

#include <gtest/gtest.h>

#include "hidserv/sim_control.h"
#include "protocol/keyboard_memory.h"
#include "protocol/report_frame.h"
#include "support/frame_decoder.h"

namespace qv::hidserv {
namespace {

namespace fr = qv::device::frame;
using test::BuildFrame;
using test::DecodedFrame;

TEST(SimKeyboardModel, GlobalBlockWriteKeepsTheFirmwareBytes) {
    SimKeyboard kb;
    std::array<std::uint8_t, 64> answer{};
    std::array<std::uint8_t, 44> block{};
    block[10] = 1;  // active profile
    block[11] = 3;  // capacity: not the program's to change
    block[12] = 9;  // effect list: neither
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kWriteGlobalBlock, 44, 0, block), answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kOk);
    std::array<std::uint8_t, 3> g{};
    ASSERT_TRUE(kb.ReadArea(QV_SIM_GLOBAL, 10, g));
    EXPECT_EQ(g[0], 1);
    EXPECT_EQ(g[1], 255);
    EXPECT_EQ(g[2], 1);

    block[10] = 3;  // no such profile
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kWriteGlobalBlock, 44, 0, block), answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kRefused);
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kWriteGlobalBlock, 43, 0), answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kRefused);
}

TEST(SimKeyboardModel, GroupsAreCountedAndUpdateModeSilencesIt) {
    SimKeyboard kb;
    std::array<std::uint8_t, 64> answer{};
    kb.HandleFrame(BuildFrame(fr::kBeginConfig, 0, 0), answer);
    kb.HandleFrame(BuildFrame(fr::kBeginConfig, 0, 0), answer);
    EXPECT_EQ(kb.ConfigDepth(), 2);
    kb.HandleFrame(BuildFrame(fr::kEndConfig, 0, 0), answer);
    kb.HandleFrame(BuildFrame(fr::kEndConfig, 0, 0), answer);
    kb.HandleFrame(BuildFrame(fr::kEndConfig, 0, 0), answer);
    EXPECT_EQ(kb.ConfigDepth(), 0);

    std::array<std::uint8_t, 64> update{};
    update[0] = 4;
    update[3] = 0xEE;
    update[4] = 0xEE;
    EXPECT_FALSE(kb.HandleFrame(update, answer));
    EXPECT_TRUE(kb.InUpdateMode());
    EXPECT_FALSE(kb.HandleFrame(BuildFrame(fr::kBeginConfig, 0, 0), answer));
}

TEST(SimKeyboardModel, ControlAccessStaysInsideEachArea) {
    SimKeyboard kb;
    std::array<std::uint8_t, 4> buf{};
    EXPECT_TRUE(kb.ReadArea(QV_SIM_KEY_COLOURS, 1532, buf));
    EXPECT_FALSE(kb.ReadArea(QV_SIM_KEY_COLOURS, 1533, buf));
    EXPECT_FALSE(kb.ReadArea(QV_SIM_GLOBAL, static_cast<std::size_t>(-1), buf));
    EXPECT_FALSE(kb.WriteArea(99, 0, buf));
    EXPECT_FALSE(kb.WriteArea(QV_SIM_FACTORY, 376, buf));
}

TEST(SimKeyboardModel, EveryAreaHasTheSizeOfTheKeyboardsLayout) {
    SimKeyboard kb;
    struct Area {
        int id;
        std::size_t size;
    };
    for (const Area a : {Area{QV_SIM_GLOBAL, protocol::kGlobalBlockSize},
                         Area{QV_SIM_SETTINGS, protocol::kSettingsMemorySize},
                         Area{QV_SIM_KEY_MATRICES, protocol::kKeyMatricesSize},
                         Area{QV_SIM_MACRO, protocol::kMacroMemorySize},
                         Area{QV_SIM_FACTORY, kKeyMatrixBytes},
                         Area{QV_SIM_KEY_COLOURS, protocol::kKeyColoursSize},
                         Area{QV_SIM_STATUS, protocol::kStatusReportSize}}) {
        SCOPED_TRACE(a.id);
        std::array<std::uint8_t, 1> one{};
        EXPECT_TRUE(kb.ReadArea(a.id, a.size - 1, one));
        EXPECT_FALSE(kb.ReadArea(a.id, a.size, one));
    }
    // Frames reach the same ends: the last matrix piece fits, one byte further is refused.
    std::array<std::uint8_t, 64> answer{};
    const int lastPiece = static_cast<int>(protocol::kKeyMatricesSize) - 56;
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kReadKeyMatrix, 56, lastPiece), answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kOk);
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kReadKeyMatrix, 56, lastPiece + 1), answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kRefused);
}

TEST(SimKeyboardModel, AnswersEchoTheRequestAndRefuseAFrameWithoutTheReportId) {
    SimKeyboard kb;
    std::array<std::uint8_t, 64> answer{};
    ASSERT_TRUE(kb.HandleFrame(BuildFrame(fr::kReadSettingsMemory, 42, 42), answer));
    const DecodedFrame settings(answer);
    EXPECT_EQ(test::RecordOf(settings), (test::FrameRecord{fr::kReadSettingsMemory, 42, 42, SimKeyboard::kOk}));
    EXPECT_EQ(settings.ReportId(), fr::kReportId);

    auto noId = BuildFrame(fr::kReadGlobalBlock, 44, 0);
    noId[fr::kReportIdAt] = 0;
    ASSERT_TRUE(kb.HandleFrame(noId, answer));
    EXPECT_EQ(DecodedFrame(answer).Status(), SimKeyboard::kRefused);
    EXPECT_EQ(DecodedFrame(answer).Command(), fr::kReadGlobalBlock);
}

}  // namespace
}  // namespace qv::hidserv
