#pragma once
// Frames that a test recorded (the simulated keyboard's frame log, what a fake was sent, an
// answer) read by field instead of by byte offset, and a recorded sequence as short records that
// gtest prints readably ("WriteKeyMatrix len 56 @756"). Builds frames the same way for tests that
// send their own.

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "protocol/report_frame.h"

namespace qv::test {

using RawFrame = std::array<std::uint8_t, device::frame::kSize>;

class DecodedFrame {
public:
    // Shorter input reads as if padded with zeros; longer input is cut at 64 bytes.
    explicit DecodedFrame(std::span<const std::uint8_t> bytes);

    std::uint8_t ReportId() const { return bytes_[device::frame::kReportIdAt]; }
    std::uint8_t Command() const { return bytes_[device::frame::kCommand]; }
    int Length() const { return bytes_[device::frame::kLength]; }
    int Address() const { return device::frame::Address(bytes_.data()); }
    std::uint8_t Status() const { return bytes_[device::frame::kStatus]; }
    bool ChecksumMatches() const { return device::frame::ChecksumMatches(bytes_.data()); }
    // The firmware loader's frame, the one sent without a checksum.
    bool IsUpdateMode() const;

    // Bytes 8..63, whatever the length says.
    std::span<const std::uint8_t, device::frame::kMaxData> Data() const;
    // The first Length() data bytes (at most 56).
    std::vector<std::uint8_t> Payload() const;
    // Nothing but zeros after the payload.
    bool TailIsZero() const;

    const RawFrame& Bytes() const { return bytes_; }

private:
    RawFrame bytes_{};
};

// One frame of a sequence, as a test writes down what it expects.
struct FrameRecord {
    std::uint8_t command = 0;
    int length = 0;
    int address = 0;
    std::uint8_t status = 0;
    bool checksumOk = true;

    bool operator==(const FrameRecord&) const = default;
};

FrameRecord RecordOf(const DecodedFrame& frame);
std::vector<FrameRecord> Records(const std::vector<RawFrame>& frames);
std::vector<std::uint8_t> Commands(const std::vector<RawFrame>& frames);
std::size_t CountCommand(const std::vector<RawFrame>& frames, std::uint8_t command);

// "ReadGlobalBlock", "WriteKeyColours", or "command 0x42".
std::string CommandName(std::uint8_t command);
std::string Describe(const FrameRecord& record);
void PrintTo(const FrameRecord& record, std::ostream* out);
void PrintTo(const DecodedFrame& frame, std::ostream* out);

// A frame as the command set builds one: report id, command, length, address, data (at most 56
// bytes), status, and the checksum last.
RawFrame BuildFrame(std::uint8_t command, int length, int address, std::span<const std::uint8_t> data = {},
                    std::uint8_t status = 0);

}  // namespace qv::test
