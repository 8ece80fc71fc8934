#include "support/frame_decoder.h"

#include <algorithm>
#include <cstdio>

namespace qv::test {

namespace fr = device::frame;

DecodedFrame::DecodedFrame(std::span<const std::uint8_t> bytes) {
    std::copy_n(bytes.begin(), std::min(bytes.size(), bytes_.size()), bytes_.begin());
}

bool DecodedFrame::IsUpdateMode() const {
    return Command() == fr::kUpdateMode && bytes_[fr::kLength] == fr::kUpdateMode;
}

std::span<const std::uint8_t, fr::kMaxData> DecodedFrame::Data() const {
    return std::span<const std::uint8_t, fr::kSize>(bytes_).subspan<fr::kData>();
}

std::vector<std::uint8_t> DecodedFrame::Payload() const {
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(Length()), fr::kMaxData);
    return {Data().begin(), Data().begin() + static_cast<std::ptrdiff_t>(n)};
}

bool DecodedFrame::TailIsZero() const {
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(Length()), fr::kMaxData);
    return std::all_of(Data().begin() + static_cast<std::ptrdiff_t>(n), Data().end(),
                       [](std::uint8_t b) { return b == 0; });
}

FrameRecord RecordOf(const DecodedFrame& frame) {
    return {frame.Command(), frame.Length(), frame.Address(), frame.Status(), frame.ChecksumMatches()};
}

std::vector<FrameRecord> Records(const std::vector<RawFrame>& frames) {
    std::vector<FrameRecord> out;
    out.reserve(frames.size());
    for (const auto& f : frames) out.push_back(RecordOf(DecodedFrame(f)));
    return out;
}

std::vector<std::uint8_t> Commands(const std::vector<RawFrame>& frames) {
    std::vector<std::uint8_t> out;
    out.reserve(frames.size());
    for (const auto& f : frames) out.push_back(DecodedFrame(f).Command());
    return out;
}

std::size_t CountCommand(const std::vector<RawFrame>& frames, std::uint8_t command) {
    return static_cast<std::size_t>(std::count_if(
        frames.begin(), frames.end(), [&](const RawFrame& f) { return DecodedFrame(f).Command() == command; }));
}

std::string CommandName(std::uint8_t command) {
    switch (command) {
        case fr::kBeginConfig: return "BeginConfig";
        case fr::kEndConfig: return "EndConfig";
        case fr::kReadGlobalBlock: return "ReadGlobalBlock";
        case fr::kWriteGlobalBlock: return "WriteGlobalBlock";
        case fr::kReadSettingsMemory: return "ReadSettingsMemory";
        case fr::kWriteSettingsMemory: return "WriteSettingsMemory";
        case fr::kReadKeyMatrix: return "ReadKeyMatrix";
        case fr::kWriteKeyMatrix: return "WriteKeyMatrix";
        case fr::kReadMacroMemory: return "ReadMacroMemory";
        case fr::kWriteMacroMemory: return "WriteMacroMemory";
        case fr::kReadDefaultKeyMatrix: return "ReadDefaultKeyMatrix";
        case fr::kWriteKeyColours: return "WriteKeyColours";
        case fr::kUpdateMode: return "UpdateMode";
        default: {
            char text[16];
            std::snprintf(text, sizeof text, "command 0x%02X", command);
            return text;
        }
    }
}

std::string Describe(const FrameRecord& record) {
    std::string text = CommandName(record.command) + " len " + std::to_string(record.length) + " @" +
                       std::to_string(record.address);
    if (record.status != 0) text += " status " + std::to_string(record.status);
    if (!record.checksumOk) text += " (bad checksum)";
    return text;
}

void PrintTo(const FrameRecord& record, std::ostream* out) { *out << Describe(record); }

void PrintTo(const DecodedFrame& frame, std::ostream* out) { *out << Describe(RecordOf(frame)); }

RawFrame BuildFrame(std::uint8_t command, int length, int address, std::span<const std::uint8_t> data,
                    std::uint8_t status) {
    RawFrame f{};
    f[fr::kReportIdAt] = fr::kReportId;
    f[fr::kCommand] = command;
    f[fr::kLength] = static_cast<std::uint8_t>(length);
    fr::SetAddress(f.data(), address);
    f[fr::kStatus] = status;
    std::copy_n(data.begin(), std::min(data.size(), fr::kMaxData), f.begin() + fr::kData);
    fr::StoreChecksum(f.data());
    return f;
}

}  // namespace qv::test
