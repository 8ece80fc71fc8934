// The simulated keyboard's own rules, without the library around it.
#include "hidserv/sim/sim_keyboard.h"

#include <gtest/gtest.h>

#include "hidserv/sim_control.h"
#include "protocol/report_frame.h"

namespace qv::hidserv {
namespace {

namespace fr = qv::device::frame;

std::array<std::uint8_t, 64> Frame(std::uint8_t command, int length, int address,
                                   std::initializer_list<std::uint8_t> data = {}) {
    std::array<std::uint8_t, 64> f{};
    f[0] = 4;
    f[3] = command;
    f[4] = static_cast<std::uint8_t>(length);
    fr::SetAddress(f.data(), address);
    std::copy(data.begin(), data.end(), f.begin() + 8);
    fr::StoreChecksum(f.data());
    return f;
}

TEST(SimKeyboardModel, GlobalBlockWriteKeepsTheFirmwareBytes) {
    SimKeyboard kb;
    std::array<std::uint8_t, 64> answer{};
    auto write = Frame(0x04, 44, 0);
    write[8 + 10] = 1;  // active profile
    write[8 + 11] = 3;  // capacity: not the program's to change
    write[8 + 12] = 9;  // effect list: neither
    fr::StoreChecksum(write.data());
    ASSERT_TRUE(kb.HandleFrame(write, answer));
    EXPECT_EQ(answer[7], SimKeyboard::kOk);
    std::array<std::uint8_t, 3> g{};
    ASSERT_TRUE(kb.ReadArea(QV_SIM_GLOBAL, 10, g));
    EXPECT_EQ(g[0], 1);
    EXPECT_EQ(g[1], 255);
    EXPECT_EQ(g[2], 1);

    write[8 + 10] = 3;  // no such profile
    fr::StoreChecksum(write.data());
    ASSERT_TRUE(kb.HandleFrame(write, answer));
    EXPECT_EQ(answer[7], SimKeyboard::kRefused);
    auto shortBlock = Frame(0x04, 43, 0);
    ASSERT_TRUE(kb.HandleFrame(shortBlock, answer));
    EXPECT_EQ(answer[7], SimKeyboard::kRefused);
}

TEST(SimKeyboardModel, GroupsAreCountedAndUpdateModeSilencesIt) {
    SimKeyboard kb;
    std::array<std::uint8_t, 64> answer{};
    kb.HandleFrame(Frame(0x01, 0, 0), answer);
    kb.HandleFrame(Frame(0x01, 0, 0), answer);
    EXPECT_EQ(kb.ConfigDepth(), 2);
    kb.HandleFrame(Frame(0x02, 0, 0), answer);
    kb.HandleFrame(Frame(0x02, 0, 0), answer);
    kb.HandleFrame(Frame(0x02, 0, 0), answer);
    EXPECT_EQ(kb.ConfigDepth(), 0);

    std::array<std::uint8_t, 64> update{};
    update[0] = 4;
    update[3] = 0xEE;
    update[4] = 0xEE;
    EXPECT_FALSE(kb.HandleFrame(update, answer));
    EXPECT_TRUE(kb.InUpdateMode());
    EXPECT_FALSE(kb.HandleFrame(Frame(0x01, 0, 0), answer));
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

}  // namespace
}  // namespace qv::hidserv
