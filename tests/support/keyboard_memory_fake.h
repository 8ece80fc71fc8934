#pragma once
// A keyboard held in memory behind the command set's Exchanger seam: it answers the block and
// global-block commands from its own memory and records every command byte it was sent, so tests
// can check what a sequence sent and in which order without the service library.

#include <array>
#include <cstdint>
#include <vector>

#include "core/device/command_set.h"
#include "protocol/keyboard_memory.h"

namespace qv::test {

class KeyboardMemoryFake : public device::Exchanger {
public:
    KeyboardMemoryFake();

    int ExchangeReport(const std::uint8_t* request, std::size_t requestLength, std::uint8_t* answer,
                       std::size_t answerCapacity, std::size_t* received) override;
    int SendReportNoReply(const std::uint8_t* frame, std::size_t length) override;

    std::array<std::uint8_t, protocol::kGlobalBlockSize> global{};
    std::array<std::uint8_t, protocol::kKeyMatricesSize> matrices{};
    KeyMatrix factory{};
    std::vector<std::uint8_t> macroMemory;  // 64 KiB

    std::vector<int> commands;  // command byte of every frame, in order
    int failCommand = -1;       // answer this command with status 0xFF
    bool present = true;
};

}  // namespace qv::test
