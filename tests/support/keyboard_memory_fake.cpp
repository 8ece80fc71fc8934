#include "support/keyboard_memory_fake.h"

#include <algorithm>

namespace qv::test {

KeyboardMemoryFake::KeyboardMemoryFake() : macroMemory(0x10000, 0xFF) {
    global[10] = 0;
    global[11] = 255;  // 32,640 bytes of macro memory
    const KeyMatrix& f = BuiltInFactoryMatrix();
    std::copy(f.begin(), f.end(), factory.begin());
    for (int p = 0; p < 3; ++p) std::copy(f.begin(), f.end(), matrices.begin() + p * 378);
}

int KeyboardMemoryFake::ExchangeReport(const std::uint8_t* request, std::size_t requestLength,
                                       std::uint8_t* answer, std::size_t answerCapacity,
                                       std::size_t* received) {
    if (received != nullptr) *received = 0;
    if (!present) return device::kNoKeyboard;
    std::array<std::uint8_t, 64> in{};
    std::copy_n(request, std::min<std::size_t>(requestLength, 64), in.begin());
    std::array<std::uint8_t, 64> out{};
    const int command = in[3];
    commands.push_back(command);
    const std::size_t length = in[4];
    const std::size_t address = in[5] | (in[6] << 8);
    out[0] = 4;
    out[3] = in[3];

    auto read = [&](const std::uint8_t* from, std::size_t size) {
        for (std::size_t i = 0; i < length && i < 56 && address + i < size; ++i) out[8 + i] = from[address + i];
    };
    auto write = [&](std::uint8_t* to, std::size_t size) {
        for (std::size_t i = 0; i < length && i < 56 && address + i < size; ++i) to[address + i] = in[8 + i];
    };
    switch (command) {
        case 0x03: std::copy(global.begin(), global.end(), out.begin() + 8); break;
        case 0x04: std::copy_n(in.begin() + 8, global.size(), global.begin()); break;
        case 0x07: read(matrices.data(), matrices.size()); break;
        case 0x08: write(matrices.data(), matrices.size()); break;
        case 0x09: read(macroMemory.data(), macroMemory.size()); break;
        case 0x0A: write(macroMemory.data(), macroMemory.size()); break;
        case 0x0F: read(factory.data(), factory.size()); break;
        default: break;
    }
    if (command == failCommand) out[7] = 0xFF;
    std::copy_n(out.begin(), std::min<std::size_t>(answerCapacity, 64), answer);
    if (received != nullptr) *received = std::min<std::size_t>(answerCapacity, 64);
    return device::kSuccess;
}

int KeyboardMemoryFake::SendReportNoReply(const std::uint8_t*, std::size_t) { return 1; }

}  // namespace qv::test
