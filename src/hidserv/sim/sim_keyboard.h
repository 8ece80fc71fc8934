#pragma once
// The keyboard's side of the vendor protocol on real memory: every command frame is checked
// (checksum, address, length) and answered with the command byte, a status and the data read.
// No threads here; the simulated backend owns timing, faults and delivery.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <tuple>
#include <vector>

#include "protocol/key_matrix.h"
#include "protocol/keyboard_memory.h"
#include "protocol/status_report.h"

namespace qv::hidserv {

class SimKeyboard {
public:
    // A fresh keyboard offers all the macro memory it has.
    static constexpr std::uint8_t kDefaultCapacity = protocol::kLargestMacroCapacity;
    static constexpr std::uint8_t kOk = 0x00;
    static constexpr std::uint8_t kRefused = 0xFF;      // command, address or length not acceptable
    static constexpr std::uint8_t kBadChecksum = 0xFE;  // the frame arrived damaged

    SimKeyboard();

    // Factory state: default settings, factory matrices, empty macro memory.
    void ResetToFactory();

    // Handles one 64-byte output report; false when the keyboard sends no answer (update mode).
    bool HandleFrame(std::span<const std::uint8_t, 64> frame, std::span<std::uint8_t, 64> answer);

    // A refusal answer for `frame` without touching memory (injected failure statuses).
    static void RefusalAnswer(std::span<const std::uint8_t, 64> frame, std::uint8_t status,
                              std::span<std::uint8_t, 64> answer);

    // Raw access for the control interface; false when outside the area.
    bool ReadArea(int area, std::size_t offset, std::span<std::uint8_t> out) const;
    bool WriteArea(int area, std::size_t offset, std::span<const std::uint8_t> data);

    // What the keyboard keeps like flash (every area but the status report and update mode), in
    // the order of the state file. Loading an image of another size changes nothing.
    static constexpr std::size_t kMemoryImageSize =
        protocol::kGlobalBlockSize + protocol::kSettingsMemorySize + protocol::kKeyMatricesSize +
        protocol::kMacroMemorySize + std::tuple_size_v<KeyMatrix> + protocol::kKeyColoursSize;
    std::vector<std::uint8_t> MemoryImage() const;
    bool LoadMemoryImage(std::span<const std::uint8_t> image);

    // True once a write changed memory that has not been saved since.
    bool Dirty() const { return dirty_; }
    void MarkSaved() { dirty_ = false; }
    // Depth of BeginConfig/EndConfig groups; the backend saves when a group closes.
    int ConfigDepth() const { return configDepth_; }

    void SetStatusReport(std::span<const std::uint8_t> status);
    std::array<std::uint8_t, protocol::kStatusReportSize> StatusReport() const { return status_; }
    bool InUpdateMode() const { return updateMode_; }
    void LeaveUpdateMode() { updateMode_ = false; }

private:
    std::span<std::uint8_t> Area(int area);
    std::span<const std::uint8_t> Area(int area) const;
    std::size_t MacroCapacity() const;

    std::array<std::uint8_t, protocol::kGlobalBlockSize> global_{};
    std::array<std::uint8_t, protocol::kSettingsMemorySize> settings_{};
    std::array<std::uint8_t, protocol::kKeyMatricesSize> matrices_{};
    std::array<std::uint8_t, protocol::kMacroMemorySize> macro_{};
    KeyMatrix factory_{};
    std::array<std::uint8_t, protocol::kKeyColoursSize> colours_{};
    std::array<std::uint8_t, protocol::kStatusReportSize> status_ = protocol::kInitialStatusReport;
    bool updateMode_ = false;
    bool dirty_ = false;
    int configDepth_ = 0;
};

}  // namespace qv::hidserv
