#include "protocol/report_frame.h"

#include <gtest/gtest.h>

#include <array>

namespace qv::device {
namespace {

TEST(ReportFrame, ChecksumCoversBytes3To63AndWrapsAt16Bits) {
    std::array<std::uint8_t, 64> f{};
    f[0] = frame::kReportId;
    f[3] = 0x01;
    frame::StoreChecksum(f.data());
    EXPECT_EQ(f[1], 0x01);
    EXPECT_EQ(f[2], 0x00);
    EXPECT_TRUE(frame::ChecksumMatches(f.data()));

    // 61 bytes of 0xFF = 15555 = 0x3CC3; the report id and the checksum bytes are not summed.
    f.fill(0xFF);
    frame::StoreChecksum(f.data());
    EXPECT_EQ(f[1], 0xC3);
    EXPECT_EQ(f[2], 0x3C);
    f[63] = 0xFE;
    EXPECT_FALSE(frame::ChecksumMatches(f.data()));
}

TEST(ReportFrame, AddressIsLittleEndian) {
    std::array<std::uint8_t, 64> f{};
    frame::SetAddress(f.data(), 756);
    EXPECT_EQ(f[5], 0xF4);
    EXPECT_EQ(f[6], 0x02);
    EXPECT_EQ(frame::Address(f.data()), 756);
}

}  // namespace
}  // namespace qv::device
