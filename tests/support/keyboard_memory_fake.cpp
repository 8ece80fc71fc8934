#include "support/keyboard_memory_fake.h"

#include <algorithm>

#include "support/frame_decoder.h"

namespace qv::test {

KeyboardMemoryFake::KeyboardMemoryFake() : macroMemory(0x10000, 0xFF) {
    global[protocol::kActiveProfileAt] = 0;
    global[protocol::kMacroCapacityAt] = protocol::kLargestMacroCapacity;
    const KeyMatrix& f = BuiltInFactoryMatrix();
    std::copy(f.begin(), f.end(), factory.begin());
    for (int p = 0; p < protocol::kProfileCount; ++p) {
        std::copy(f.begin(), f.end(), matrices.begin() + protocol::KeyMatrixAddress(p));
    }
}

int KeyboardMemoryFake::ExchangeReport(const std::uint8_t* request, std::size_t requestLength,
                                       std::uint8_t* answer, std::size_t answerCapacity,
                                       std::size_t* received) {
    if (received != nullptr) *received = 0;
    if (!present) return device::kNoKeyboard;
    namespace fr = device::frame;
    const DecodedFrame in(std::span(request, requestLength));
    const std::uint8_t command = in.Command();
    commands.push_back(command);
    const auto length = static_cast<std::size_t>(in.Length());
    const auto address = static_cast<std::size_t>(in.Address());
    const auto data = in.Data();
    std::array<std::uint8_t, fr::kMaxData> out{};

    auto read = [&](const std::uint8_t* from, std::size_t size) {
        for (std::size_t i = 0; i < length && i < out.size() && address + i < size; ++i) out[i] = from[address + i];
    };
    auto write = [&](std::uint8_t* to, std::size_t size) {
        for (std::size_t i = 0; i < length && i < data.size() && address + i < size; ++i) to[address + i] = data[i];
    };
    switch (command) {
        case fr::kReadGlobalBlock: std::copy(global.begin(), global.end(), out.begin()); break;
        case fr::kWriteGlobalBlock: std::copy_n(data.begin(), global.size(), global.begin()); break;
        case fr::kReadKeyMatrix: read(matrices.data(), matrices.size()); break;
        case fr::kWriteKeyMatrix: write(matrices.data(), matrices.size()); break;
        case fr::kReadMacroMemory: read(macroMemory.data(), macroMemory.size()); break;
        case fr::kWriteMacroMemory: write(macroMemory.data(), macroMemory.size()); break;
        case fr::kReadDefaultKeyMatrix: read(factory.data(), factory.size()); break;
        default: break;
    }
    const std::uint8_t status = command == failCommand ? fr::kStatusFF : 0;
    const RawFrame reply = BuildFrame(command, 0, 0, out, status);
    std::copy_n(reply.begin(), std::min<std::size_t>(answerCapacity, 64), answer);
    if (received != nullptr) *received = std::min<std::size_t>(answerCapacity, 64);
    return device::kSuccess;
}

int KeyboardMemoryFake::SendReportNoReply(const std::uint8_t*, std::size_t) { return 1; }

}  // namespace qv::test
