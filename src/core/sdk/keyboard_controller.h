#pragma once
// The keyboard as one SDK controller: a "Direct" mode for per-key colours and one mode per effect
// the keyboard lists, one matrix zone "Keyboard" of 6 x 21 and one LED per key (the nine G keys
// share theirs, as on the keyboard). Every change goes through the lighting panel's model, so the
// keyboard is written exactly as the panel writes it and the open window shows the change.
//
// Streamed colours are coalesced: a client's update only stages the colours and asks for one
// flush; the flush writes the latest staged colours once, however many updates came meanwhile.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/lighting/colour.h"
#include "core/lighting/lighting_keys.h"
#include "core/sdk/sdk_device.h"

namespace qv::lighting {
class LightingPanel;
}

namespace qv::sdk {

inline constexpr int kDirectEffect = 20;

struct KeyboardLed {
    int slot;  // matrix index
    std::string name;  // the key's name in the window
};

// The LEDs in matrix order: the 104 key buttons, Fn and the shared G-key slot.
const std::vector<KeyboardLed>& KeyboardLeds();
// The 6 x 21 map of LED indices (kNoLed where the matrix has no key).
std::vector<std::uint32_t> KeyboardMatrixMap();

// The mode an effect code stands for, its fields filled from the panel's state.
struct EffectState {
    int effect = 0;
    int brightness = 0;
    int speed = 0;
    int direction = 0;
    bool colourful = false;
    lighting::ColourRef colour = 0;
    int colourChoice = 0;
};
ModeData ModeForEffect(int code, const std::string& name, const EffectState& state);
// One of the four colours of the colour-choice effect nearest to `colour` (0 red, 1 yellow,
// 2 green, 3 blue).
int NearestColourChoice(std::uint32_t colour);

class KeyboardController final : public SdkDevice {
public:
    struct Hooks {
        // The panel the keyboard is handled through; none while the window has no keyboard link.
        std::function<lighting::LightingPanel*()> panel;
        // The keyboard is counted.
        std::function<bool()> present;
        // A flush is wanted: call Flush() soon, from the window's thread, once.
        std::function<void()> scheduleFlush;
        // The lighting changed behind the panel's widgets: they show it again.
        std::function<void()> changed;
    };
    explicit KeyboardController(Hooks hooks) : hooks_(std::move(hooks)) {}

    bool Present() const override;
    ControllerData Describe() const override;
    std::size_t LedCount() const override { return KeyboardLeds().size(); }
    void SetLedColours(std::size_t first, std::span<const std::uint32_t> colours) override;
    bool UpdateMode(std::size_t modeIndex, const ModeData& mode) override;
    void SetCustomMode() override;

    // Writes the staged colours (if any) as one whole-profile write.
    void Flush();
    // The keyboard went: staged colours are dropped.
    void Forget();

    bool FlushPending() const { return flushScheduled_; }
    int FlushesWritten() const { return flushesWritten_; }

private:
    // Effect codes by mode index: Direct first (when the keyboard has the per-key effect), then
    // the keyboard's effects in its order.
    std::vector<int> ModeCodes(const lighting::LightingPanel& panel) const;
    void SelectEffect(lighting::LightingPanel& panel, int code);
    void Changed() const;

    Hooks hooks_;
    std::array<lighting::ColourRef, lighting::kColourSlots> staged_{};
    bool staging_ = false;
    bool flushScheduled_ = false;
    bool writing_ = false;
    int flushesWritten_ = 0;
};

}  // namespace qv::sdk
