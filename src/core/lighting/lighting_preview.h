#pragma once
// The on-screen imitation of the selected lighting effect. A deterministic model: each tick it
// tells a sink, key button by key button, which colour to show or that the key goes back to its
// plain look. It touches no device data; the panel state drives it.

#include <array>
#include <cstdint>
#include <memory>

#include "core/lighting/colour.h"
#include "core/lighting/lighting_keys.h"
#include "core/lighting/preview_tables.h"

namespace qv::lighting {

// What the preview needs of the panel state.
struct PreviewInput {
    int effect = 0;
    int direction = 0;  // non-zero: the first direction picture
    bool colourful = false;
    ColourRef colour = kRed;
};

class PreviewSink {
public:
    virtual ~PreviewSink() = default;
    virtual void ShowColour(int buttonId, ColourRef colour) = 0;
    // No lighting colour, not pressed.
    virtual void ShowPlain(int buttonId) = 0;
};

// Pseudo-random numbers for the keys that light at random; injectable so tests are repeatable.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual std::uint32_t Next() = 0;
};

class LightingPreview {
public:
    // Without a source the preview uses its own small generator.
    explicit LightingPreview(RandomSource* random = nullptr);
    ~LightingPreview();
    LightingPreview(const LightingPreview&) = delete;
    LightingPreview& operator=(const LightingPreview&) = delete;

    // An effect was chosen: the next tick resets what a fresh start of an effect needs.
    void Restart();
    // One 50 ms step of the current effect. A tick that arrives while one is still running
    // (a sink that pumps events) returns at once.
    void Tick(const PreviewInput& input, PreviewSink& sink);

    // Read-outs for tests and diagnostics.
    int KeyBrightness(int effect, int buttonId) const;
    int SharedCounter() const { return sharedCounter_; }
    int ScriptState() const { return scriptState_; }
    int Phase(int effect) const;

    static constexpr int kPlanes = 4;
    using Plane = std::array<std::uint8_t, preview::kGridColumns>;
    using Fronts = std::array<Plane, kPlanes>;
    // Fronts of effects 13 to 16; nullptr for other codes.
    const Fronts* FrontsOf(int effect) const;

private:
    struct LitKeys {
        std::array<std::uint8_t, kColourSlots> brightness{};
        std::array<std::uint8_t, kColourSlots> colourIndex{};
    };

    void ResetForRestart();
    void Run(const PreviewInput& in, PreviewSink& sink);

    void Effect1(const PreviewInput& in, PreviewSink& sink);
    void Effect2(const PreviewInput& in, PreviewSink& sink);
    void Effect3(const PreviewInput& in, PreviewSink& sink);
    void Effect4(const PreviewInput& in, PreviewSink& sink);
    void Effect5(const PreviewInput& in, PreviewSink& sink);
    void Effect6(const PreviewInput& in, PreviewSink& sink) const;
    void Effect10(const PreviewInput& in, PreviewSink& sink);
    void Effect11(PreviewSink& sink);
    void Effect12(const PreviewInput& in, PreviewSink& sink);
    void Effect13(const PreviewInput& in, PreviewSink& sink);
    void Effect14(const PreviewInput& in, PreviewSink& sink);
    void Effect15(const PreviewInput& in, PreviewSink& sink);
    void Effect16(const PreviewInput& in, PreviewSink& sink);
    void Effect18(const PreviewInput& in, PreviewSink& sink);

    void LightRandom(LitKeys& keys, int slot, bool colourful);
    void LightScripted(int slot, bool colourful);
    void LightFronts(const Fronts& fronts, LitKeys& keys, bool colourful, bool scripted);
    void ShowLitKeys(LitKeys& keys, const PreviewInput& in, bool steepDecay, PreviewSink& sink);

    static void MoveDiagonal(Fronts& f);
    static void MoveVertical(Fronts& f);
    static std::uint8_t Combined(const Fronts& f, int column);
    static void SetColumn(Fronts& f, int column, std::uint8_t mask);
    static void AddToColumn(Fronts& f, int column, std::uint8_t mask);

    std::unique_ptr<RandomSource> ownRandom_;
    RandomSource* random_;

    bool restartPending_ = true;
    bool running_ = false;

    int phase1_ = 0, phase2_ = 0, phase3_ = 0, phase4_ = 0, phase5_ = 0, phase12_ = 0;
    int position10_ = 0;
    bool huesStarted_ = false;
    std::array<int, preview::kChainLength> hues11_{};
    bool seeded13_ = false;

    int sharedCounter_ = 0;  // effects 14, 15 and 18
    int scriptState_ = 0;    // effect 14
    std::uint8_t colourCounter_ = 0;

    LitKeys lit10_, lit13_, lit14_, lit15_, lit16_;
    Fronts fronts13_{}, fronts14_{}, fronts15_{}, fronts16_{};
};

}  // namespace qv::lighting
