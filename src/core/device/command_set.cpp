#include "core/device/command_set.h"

#include <algorithm>
#include <thread>

#include "protocol/keyboard_memory.h"
#include "protocol/report_frame.h"

namespace qv::device {

void Exchanger::Pause(std::chrono::milliseconds duration) { std::this_thread::sleep_for(duration); }

namespace {

using protocol::kMaxAddress;

}  // namespace

CommandSet::CommandSet(Exchanger& engine) : engine_(engine) {}

int CommandSet::Transact(std::uint8_t command, int length, int address, const std::uint8_t* data,
                         std::size_t dataLength, std::uint8_t* answer) {
    std::uint8_t request[frame::kSize] = {};
    request[frame::kReportIdAt] = frame::kReportId;
    request[frame::kCommand] = command;
    request[frame::kLength] = static_cast<std::uint8_t>(length);
    frame::SetAddress(request, address);
    if (data != nullptr && dataLength > 0) {
        std::copy_n(data, std::min(dataLength, frame::kMaxData), request + frame::kData);
    }
    frame::StoreChecksum(request);

    std::fill_n(answer, frame::kSize, std::uint8_t{0});
    std::size_t received = 0;
    const int result = engine_.ExchangeReport(request, frame::kSize, answer, frame::kSize, &received);
    if (result != kSuccess) return result;
    if (answer[frame::kStatus] == frame::kStatusFF) return kStatusFF;
    if (answer[frame::kStatus] == frame::kStatusFE) return kStatusFE;
    return kSuccess;
}

int CommandSet::ReadBlock(std::uint8_t command, int baseAddress, std::uint8_t* out, int count) {
    if (count <= 0) return kSuccess;
    if (out == nullptr || baseAddress < 0 || baseAddress + count - 1 > kMaxAddress) return kOutOfRange;
    std::uint8_t answer[frame::kSize];
    for (int offset = 0; offset < count; offset += static_cast<int>(frame::kMaxData)) {
        const int piece = std::min(static_cast<int>(frame::kMaxData), count - offset);
        const int result = Transact(command, piece, baseAddress + offset, nullptr, 0, answer);
        if (result != kSuccess) return result;
        std::copy_n(answer + frame::kData, piece, out + offset);
    }
    return kSuccess;
}

int CommandSet::WriteBlock(std::uint8_t command, int baseAddress, const std::uint8_t* data, int count) {
    if (count <= 0) return kSuccess;
    if (data == nullptr || baseAddress < 0 || baseAddress + count - 1 > kMaxAddress) return kOutOfRange;
    std::uint8_t answer[frame::kSize];
    for (int offset = 0; offset < count; offset += static_cast<int>(frame::kMaxData)) {
        const int piece = std::min(static_cast<int>(frame::kMaxData), count - offset);
        // Earlier pieces stay written when a later one fails.
        const int result = Transact(command, piece, baseAddress + offset, data + offset,
                                    static_cast<std::size_t>(piece), answer);
        if (result != kSuccess) return result;
    }
    return kSuccess;
}

int CommandSet::BeginConfig() {
    std::uint8_t answer[frame::kSize];
    return Transact(frame::kBeginConfig, 0, 0, nullptr, 0, answer);
}

int CommandSet::EndConfig() {
    engine_.Pause(std::chrono::milliseconds(10));
    std::uint8_t answer[frame::kSize];
    return Transact(frame::kEndConfig, 0, 0, nullptr, 0, answer);
}

int CommandSet::ReadGlobalBlock(GlobalBlock& out) {
    std::uint8_t answer[frame::kSize];
    const int result = Transact(frame::kReadGlobalBlock, GlobalBlock::kSize, 0, nullptr, 0, answer);
    if (result == kSuccess) std::copy_n(answer + frame::kData, GlobalBlock::kSize, out.bytes.begin());
    return result;
}

int CommandSet::WriteGlobalBlock(const GlobalBlock& block) {
    std::uint8_t answer[frame::kSize];
    return Transact(frame::kWriteGlobalBlock, GlobalBlock::kSize, 0, block.bytes.data(),
                    GlobalBlock::kSize, answer);
}

int CommandSet::ReadSettingsMemory(std::span<std::uint8_t, frame::kMaxData> out, int length, int address) {
    if (length < 0 || length > 0xFF || address < 0 || address > kMaxAddress) return kOutOfRange;
    std::uint8_t answer[frame::kSize];
    const int result = Transact(frame::kReadSettingsMemory, length, address, nullptr, 0, answer);
    if (result == kSuccess) std::copy_n(answer + frame::kData, out.size(), out.begin());
    return result;
}

int CommandSet::WriteSettingsMemory(const std::uint8_t* data, int length, int address) {
    // More than one frame can carry would be cut short or read past the caller's data.
    if (length > static_cast<int>(frame::kMaxData) || address < 0 || address > kMaxAddress ||
        (length > 0 && data == nullptr)) {
        return kOutOfRange;
    }
    const int sent = std::max(length, 0);
    std::uint8_t answer[frame::kSize];
    return Transact(frame::kWriteSettingsMemory, sent, address, data, static_cast<std::size_t>(sent),
                    answer);
}

int CommandSet::ReadKeyMatrix(KeyMatrix& out, int profile) {
    if (profile < 0 || profile >= kProfileCount) return kOutOfRange;
    return ReadBlock(frame::kReadKeyMatrix, protocol::KeyMatrixAddress(profile), out.data(),
                     static_cast<int>(kKeyMatrixBytes));
}

int CommandSet::WriteKeyMatrix(const KeyMatrix& matrix, int profile) {
    if (profile < 0 || profile >= kProfileCount) return kOutOfRange;
    return WriteBlock(frame::kWriteKeyMatrix, protocol::KeyMatrixAddress(profile), matrix.data(),
                      static_cast<int>(kKeyMatrixBytes));
}

int CommandSet::ReadMacroMemory(std::uint8_t* out, int count) {
    return ReadBlock(frame::kReadMacroMemory, 0, out, count);
}

int CommandSet::WriteMacroMemory(const std::uint8_t* data, int count) {
    return WriteBlock(frame::kWriteMacroMemory, 0, data, count);
}

int CommandSet::ReadDefaultKeyMatrix(KeyMatrix& out) {
    return ReadBlock(frame::kReadDefaultKeyMatrix, 0, out.data(), static_cast<int>(kKeyMatrixBytes));
}

int CommandSet::WriteKeyColours(int profile, const std::uint8_t* data, int length, int key) {
    if (profile < 0 || profile >= kProfileCount || key < 0 || length < 0 ||
        length > static_cast<int>(frame::kMaxData) || (length > 0 && data == nullptr)) {
        return kOutOfRange;
    }
    const long address = protocol::KeyColourAddress(profile, key);
    if (address > kMaxAddress) return kOutOfRange;
    std::uint8_t answer[frame::kSize];
    return Transact(frame::kWriteKeyColours, length, static_cast<int>(address), data,
                    static_cast<std::size_t>(length), answer);
}

int CommandSet::EnterUpdateMode() {
    // The firmware loader's frame: no checksum, and the keyboard does not answer it.
    std::uint8_t request[frame::kSize] = {};
    request[frame::kReportIdAt] = frame::kReportId;
    request[frame::kCommand] = frame::kUpdateMode;
    request[frame::kLength] = frame::kUpdateMode;
    return engine_.SendReportNoReply(request, frame::kSize) > 0 ? kSuccess : kWriteRefused;
}

int CommandSet::GetActiveProfile() {
    if (const int cached = activeProfileCache_.load(); cached != -1) return cached;
    GlobalBlock block;
    if (ReadGlobalBlock(block) != kSuccess) return -1;
    activeProfileCache_.store(block.ActiveProfile());
    return block.ActiveProfile();
}

int CommandSet::SetActiveProfile(int p) {
    if (p < 0 || p >= kProfileCount) return kOutOfRange;
    GlobalBlock block;
    if (const int result = ReadGlobalBlock(block); result != kSuccess) return result;
    return SetActiveProfile(block, p);
}

int CommandSet::SetActiveProfile(GlobalBlock block, int p) {
    if (p < 0 || p >= kProfileCount) return kOutOfRange;
    block.SetActiveProfile(p);
    const int result = WriteGlobalBlock(block);
    activeProfileCache_.store(result == kSuccess ? block.ActiveProfile() : -1);
    return result;
}

void CommandSet::ForgetActiveProfile() { activeProfileCache_.store(-1); }

int CommandSet::CachedActiveProfile() const { return activeProfileCache_.load(); }

}  // namespace qv::device
