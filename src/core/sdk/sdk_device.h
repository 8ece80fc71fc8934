#pragma once
// What a client session needs of the device behind the server: whether it is there, its
// description, and the changes a client may make. The keyboard's implementation is
// KeyboardController; tests and the fuzz target use their own.

#include <cstddef>
#include <cstdint>
#include <span>

#include "core/sdk/controller_data.h"

namespace qv::sdk {

class SdkDevice {
public:
    virtual ~SdkDevice() = default;

    virtual bool Present() const = 0;
    virtual ControllerData Describe() const = 0;
    virtual std::size_t LedCount() const = 0;
    // Colours (0x00BBGGRR) for LEDs first, first + 1, ...; the caller keeps within LedCount().
    virtual void SetLedColours(std::size_t first, std::span<const std::uint32_t> colours) = 0;
    // False for a mode index the device does not have.
    virtual bool UpdateMode(std::size_t modeIndex, const ModeData& mode) = 0;
    // The mode for colours set by the client ("Direct").
    virtual void SetCustomMode() = 0;
};

}  // namespace qv::sdk
