#include "protocol/report_frame.h"

#include <gtest/gtest.h>

#include <array>

#include "support/frame_decoder.h"

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

// The tests' own frame builder and decoder against bytes written out by hand, so that a test
// reading frames through them checks the wire and not the helpers' idea of it.
TEST(ReportFrame, KnownGoodFramesBuildAndDecodeFieldByField) {
    const std::uint8_t rgb[3] = {0x11, 0x22, 0x33};
    std::array<std::uint8_t, 64> colours{0x04, 0x9A, 0x00, 0x11, 0x03, 0x1E, 0x02, 0x00, 0x11, 0x22, 0x33};
    EXPECT_EQ(test::BuildFrame(frame::kWriteKeyColours, 3, 0x021E, rgb), colours);

    // An answer refusing a damaged key matrix write at 1078 = 0x0436.
    std::array<std::uint8_t, 64> answer{0x04, 0x00, 0x00, 0x08, 0x38, 0x36, 0x04, 0xFE, 0x77};
    const test::DecodedFrame refused(answer);
    EXPECT_EQ(refused.ReportId(), 4);
    EXPECT_EQ(refused.Command(), frame::kWriteKeyMatrix);
    EXPECT_EQ(refused.Length(), 56);
    EXPECT_EQ(refused.Address(), 1078);
    EXPECT_EQ(refused.Status(), 0xFE);
    EXPECT_EQ(refused.Payload().size(), 56u);
    EXPECT_EQ(refused.Payload()[0], 0x77);
    EXPECT_FALSE(refused.ChecksumMatches());
    EXPECT_EQ(test::Describe(test::RecordOf(refused)), "WriteKeyMatrix len 56 @1078 status 254 (bad checksum)");

    // 0x08 + 0x38 + 0x36 + 0x04 + 0xFE + 0x77 = 0x1EF.
    answer[1] = 0xEF;
    answer[2] = 0x01;
    EXPECT_TRUE(test::DecodedFrame(answer).ChecksumMatches());

    // The firmware loader's frame: 0xEE twice, no checksum.
    const std::array<std::uint8_t, 64> update{0x04, 0x00, 0x00, 0xEE, 0xEE};
    EXPECT_TRUE(test::DecodedFrame(update).IsUpdateMode());
    EXPECT_FALSE(test::DecodedFrame(colours).IsUpdateMode());
    // A short recording reads as zero-padded; data past the length is not payload.
    const test::DecodedFrame shortOne(std::span(colours.data(), 9));
    EXPECT_EQ(shortOne.Payload(), (std::vector<std::uint8_t>{0x11, 0x00, 0x00}));
    EXPECT_TRUE(shortOne.TailIsZero());
}

}  // namespace
}  // namespace qv::device
