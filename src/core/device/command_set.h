#pragma once
// The vocabulary the program speaks to the keyboard: one operation per command byte, each
// building 64-byte frames, splitting blocks into 56-byte chunks and decoding the answers.
// Every operation returns the codes of result_codes.h.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

#include "core/device/device_records.h"
#include "core/device/result_codes.h"
#include "protocol/key_matrix.h"
#include "protocol/report_frame.h"

namespace qv::device {

// Sends one frame and waits for its answer (the request engine); a seam for the command set.
class Exchanger {
public:
    virtual ~Exchanger() = default;
    // 1, 0, -1 or -2; `received` gets the answer's byte count.
    virtual int ExchangeReport(const std::uint8_t* request, std::size_t requestLength,
                               std::uint8_t* answer, std::size_t answerCapacity,
                               std::size_t* received) = 0;
    // The service library's result for the write; no wait.
    virtual int SendReportNoReply(const std::uint8_t* frame, std::size_t length) = 0;
    // Pauses between frames (before EndConfig); the engine routes it through its clock.
    virtual void Pause(std::chrono::milliseconds duration);
};

class CommandSet {
public:
    explicit CommandSet(Exchanger& engine);

    int BeginConfig();
    int EndConfig();  // after a 10 ms pause
    int ReadGlobalBlock(GlobalBlock& out);
    int WriteGlobalBlock(const GlobalBlock& block);
    // Copies answer bytes 8..63 whatever the length.
    int ReadSettingsMemory(std::span<std::uint8_t, frame::kMaxData> out, int length, int address);
    int WriteSettingsMemory(const std::uint8_t* data, int length, int address);
    int ReadKeyMatrix(KeyMatrix& out, int profile);
    int WriteKeyMatrix(const KeyMatrix& matrix, int profile);
    int ReadMacroMemory(std::uint8_t* out, int count);
    int WriteMacroMemory(const std::uint8_t* data, int count);
    int ReadDefaultKeyMatrix(KeyMatrix& out);
    // `profile` is the profile shown in the main window.
    int WriteKeyColours(int profile, const std::uint8_t* data, int length, int key);
    int EnterUpdateMode();

    // Cached; -1 when it cannot be read.
    int GetActiveProfile();
    // Read-modify-write of the global block; nothing for p below 0.
    int SetActiveProfile(int p);
    // The write half, for a caller that has just read `block` (one read per switch).
    int SetActiveProfile(GlobalBlock block, int p);
    // The keyboard went away: the cache goes back to "not read".
    void ForgetActiveProfile();
    int CachedActiveProfile() const;

private:
    // One frame: zeroed, report id, command, length, address, data, checksum; then the exchange
    // and the answer's status. `answer` gets the 64-byte answer.
    int Transact(std::uint8_t command, int length, int address, const std::uint8_t* data,
                 std::size_t dataLength, std::uint8_t* answer);
    int ReadBlock(std::uint8_t command, int baseAddress, std::uint8_t* out, int count);
    int WriteBlock(std::uint8_t command, int baseAddress, const std::uint8_t* data, int count);

    Exchanger& engine_;
    std::atomic<int> activeProfileCache_{-1};
};

}  // namespace qv::device
