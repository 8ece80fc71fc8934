#include "core/lighting/lighting_preview.h"

#include <span>

namespace qv::lighting {
namespace {

using namespace preview;

constexpr int Mod(int a, int m) { return ((a % m) + m) % m; }

ColourRef WheelAt(int index) { return Wheel()[static_cast<std::size_t>(Mod(index, kWheelSize))]; }

// Matrix slots of the chain and the grid, looked up once.
struct SlotTables {
    std::array<int, kChainLength> chain{};
    std::array<std::array<int, kGridColumns>, kGridRows> grid{};

    SlotTables() {
        for (int i = 0; i < kChainLength; ++i) {
            chain[static_cast<std::size_t>(i)] = ColourSlotOfButton(Chain()[static_cast<std::size_t>(i)]);
        }
        for (int r = 0; r < kGridRows; ++r) {
            for (int c = 0; c < kGridColumns; ++c) {
                const int id = Grid()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = id ? ColourSlotOfButton(id) : -1;
            }
        }
    }
};

const SlotTables& Slots() {
    static const SlotTables tables;
    return tables;
}

bool ValidSlot(int slot) { return slot >= 0 && slot < kColourSlots; }

// Every grid column c shows colourOf(c) on all its keys.
template <typename F>
void PaintColumns(PreviewSink& sink, F colourOf) {
    for (int c = 0; c < kGridColumns; ++c) {
        const ColourRef colour = colourOf(c);
        for (int r = 0; r < kGridRows; ++r) {
            const int id = Grid()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (id) sink.ShowColour(id, colour);
        }
    }
}

void PaintChainAll(PreviewSink& sink, ColourRef colour) {
    for (int id : Chain()) sink.ShowColour(id, colour);
}

void PaintPlain(PreviewSink& sink) {
    for (const KeyButtonSlot& k : KeyButtonSlots()) sink.ShowPlain(k.id);
    sink.ShowPlain(kFnButtonId);
}

int Step(int phase, int n, int m, int direction) { return Mod(direction ? phase + n : phase - n, m); }

std::uint8_t Decayed(std::uint8_t b, bool steep) {
    if (b >= 128) return static_cast<std::uint8_t>(b - (steep ? 30 : 20));
    if (b >= 64) return static_cast<std::uint8_t>(b - (steep ? 20 : 16));
    if (b >= 32) return static_cast<std::uint8_t>(b - 10);
    if (b >= 17) return static_cast<std::uint8_t>(b - 5);
    if (b >= 1) return static_cast<std::uint8_t>(b - 1);
    return 0;
}

// A small xorshift generator; the preview only needs variety, not quality.
class OwnRandom final : public RandomSource {
public:
    std::uint32_t Next() override {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }

private:
    std::uint32_t state_ = 0x9E3779B9u;
};

// The first grid cell of a key, scanning column by column, rows top to bottom.
bool FirstCellOf(int id, int& column, int& row) {
    for (int c = 0; c < kGridColumns; ++c) {
        for (int r = 0; r < kGridRows; ++r) {
            if (Grid()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == id) {
                column = c;
                row = r;
                return true;
            }
        }
    }
    return false;
}

// Passes every colour on and repeats it on the companions of the key it is for. Plain looks
// need no repeat: they are given to every key button.
class CompanionSink final : public PreviewSink {
public:
    explicit CompanionSink(PreviewSink& to) : to_(to) {}
    void ShowColour(int buttonId, ColourRef colour) override {
        to_.ShowColour(buttonId, colour);
        for (const PreviewCompanion& c : Companions()) {
            if (c.neighbour == buttonId) to_.ShowColour(c.key, colour);
        }
    }
    void ShowPlain(int buttonId) override { to_.ShowPlain(buttonId); }

private:
    PreviewSink& to_;
};

}  // namespace

LightingPreview::LightingPreview(RandomSource* random)
    : ownRandom_(random ? nullptr : std::make_unique<OwnRandom>()),
      random_(random ? random : ownRandom_.get()) {}

LightingPreview::~LightingPreview() = default;

void LightingPreview::Restart() { restartPending_ = true; }

void LightingPreview::Tick(const PreviewInput& input, PreviewSink& sink) {
    if (running_) return;
    running_ = true;
    if (restartPending_) {
        restartPending_ = false;
        ResetForRestart();
    }
    CompanionSink withCompanions(sink);
    Run(input, withCompanions);
    running_ = false;
}

void LightingPreview::ResetForRestart() {
    scriptState_ = 0;
    sharedCounter_ = 0;
    colourCounter_ = 0;
    lit10_ = {};
    lit15_ = {};
    lit16_ = {};
    fronts15_ = {};
    AddToColumn(fronts15_, 9, 1u << 6);
    fronts16_ = {};
    AddToColumn(fronts16_, 1, 1u << 0);
}

void LightingPreview::Run(const PreviewInput& in, PreviewSink& sink) {
    switch (in.effect) {
        case 1: Effect1(in, sink); break;
        case 2: Effect2(in, sink); break;
        case 3: Effect3(in, sink); break;
        case 4: Effect4(in, sink); break;
        case 5: Effect5(in, sink); break;
        case 6: Effect6(in, sink); break;
        case 10: Effect10(in, sink); break;
        case 11: Effect11(sink); break;
        case 12: Effect12(in, sink); break;
        case 13: Effect13(in, sink); break;
        case 14: Effect14(in, sink); break;
        case 15: Effect15(in, sink); break;
        case 16: Effect16(in, sink); break;
        case 18: Effect18(in, sink); break;
        case 20: break;  // the keys show their own colours
        default: PaintPlain(sink); break;
    }
}

void LightingPreview::Effect1(const PreviewInput& in, PreviewSink& sink) {
    if (in.colourful) {
        phase1_ = Step(phase1_, 9, kWheelSize, in.direction);
        PaintColumns(sink, [&](int c) { return WheelAt(phase1_ + 9 * c); });
    } else {
        phase1_ = Step(phase1_, 7, 96, in.direction);
        PaintColumns(sink, [&](int c) {
            return ScaleColour(in.colour, B96()[static_cast<std::size_t>(Mod(phase1_ + 7 * c, 96))]);
        });
    }
}

void LightingPreview::Effect2(const PreviewInput& in, PreviewSink& sink) {
    if (in.colourful) {
        phase2_ = Step(phase2_, 4, kWheelSize, in.direction);
        PaintColumns(sink, [&](int c) { return WheelAt(phase2_ + 5 * c); });
    } else {
        phase2_ = Mod(phase2_ + 4, 128);
        const bool first = in.direction == 255;
        PaintColumns(sink, [&](int c) {
            const int i = first ? phase2_ + 5 * (c + 1) : phase2_ - 5 * (c + 1);
            return ScaleColour(in.colour, P128()[static_cast<std::size_t>(Mod(i, 128))]);
        });
    }
}

void LightingPreview::Effect3(const PreviewInput& in, PreviewSink& sink) {
    const auto& chain = Chain();
    if (in.colourful) {
        phase3_ = Step(phase3_, 4, kWheelSize, in.direction);
        for (int i = 0; i < kChainLength; ++i) sink.ShowColour(chain[static_cast<std::size_t>(i)], WheelAt(phase3_ + 5 * i));
    } else {
        phase3_ = Step(phase3_, 4, 96, in.direction);
        for (int i = 0; i < kChainLength; ++i) {
            sink.ShowColour(chain[static_cast<std::size_t>(i)],
                            ScaleColour(in.colour, B96()[static_cast<std::size_t>(Mod(phase3_ + 5 * i, 96))]));
        }
    }
}

void LightingPreview::Effect4(const PreviewInput& in, PreviewSink& sink) {
    phase4_ = Step(phase4_, 2, kWheelSize, in.direction);
    PaintChainAll(sink, WheelAt(phase4_));
}

void LightingPreview::Effect5(const PreviewInput& in, PreviewSink& sink) {
    phase5_ = Mod(phase5_ + 2, 128);
    const int v = B128()[static_cast<std::size_t>(phase5_)];
    PaintColumns(sink, [&](int c) { return ScaleColour(in.colourful ? WheelAt(7 * c) : in.colour, v); });
}

void LightingPreview::Effect6(const PreviewInput& in, PreviewSink& sink) const {
    if (in.colourful) {
        PaintColumns(sink, [](int c) { return c < kGridColumns - 1 ? WheelAt(9 * c) : WheelAt(0); });
    } else {
        PaintChainAll(sink, in.colour);
    }
}

void LightingPreview::Effect10(const PreviewInput& in, PreviewSink& sink) {
    for (int k = 0; k < 3; ++k) {
        position10_ = position10_ >= kChainLength - 1 ? 0 : position10_ + 1;
        const int chainPos = Perm()[static_cast<std::size_t>(position10_)];
        LightRandom(lit10_, Slots().chain[static_cast<std::size_t>(chainPos)], in.colourful);
    }
    ShowLitKeys(lit10_, in, false, sink);
}

void LightingPreview::Effect11(PreviewSink& sink) {
    if (!huesStarted_) {
        huesStarted_ = true;
        for (int i = 0; i < kChainLength; ++i) {
            int h = 33 * (i + 1);
            while (h > kWheelSize) h -= kWheelSize;
            hues11_[static_cast<std::size_t>(i)] = h;
        }
    }
    // The hues grow before they are shown: a start value of exactly 192 would otherwise index
    // one past the wheel.
    for (int i = 0; i < kChainLength; ++i) {
        int& h = hues11_[static_cast<std::size_t>(i)];
        h += 3;
        if (h >= kWheelSize) h = 0;
        sink.ShowColour(Chain()[static_cast<std::size_t>(i)], WheelAt(h));
    }
}

void LightingPreview::Effect12(const PreviewInput& in, PreviewSink& sink) {
    phase12_ = Step(phase12_, 3, kWheelSize, in.direction);
    for (int r = 0; r < kGridRows; ++r) {
        const ColourRef colour = WheelAt(phase12_ + 32 * r);
        for (int c = 0; c < kGridColumns; ++c) {
            const int id = Grid()[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (id) sink.ShowColour(id, colour);
        }
    }
}

void LightingPreview::Effect13(const PreviewInput& in, PreviewSink& sink) {
    if (!seeded13_) {
        seeded13_ = true;
        AddToColumn(fronts13_, 9, 1u << 6);
    }
    const std::uint8_t m = Combined(fronts13_, 9);
    if (m == (1u << 0)) {
        SetColumn(fronts13_, 9, 1u << 0);
    } else if (m == (1u << 6)) {
        AddToColumn(fronts13_, 9, 1u << 6);
    }
    LightFronts(fronts13_, lit13_, in.colourful, false);
    MoveDiagonal(fronts13_);
    ShowLitKeys(lit13_, in, false, sink);
}

void LightingPreview::Effect14(const PreviewInput& in, PreviewSink& sink) {
    ++colourCounter_;
    int& n = sharedCounter_;
    const auto slotOf = [](int id) { return ColourSlotOfButton(id); };
    switch (scriptState_) {
        case 0:
            for (int id : SweepRow(n)) {
                colourCounter_ = static_cast<std::uint8_t>(colourCounter_ + 11);
                LightScripted(slotOf(id), in.colourful);
            }
            ++n;
            // A counter left high by effect 18 must not keep the script here.
            if (n >= kSweepRows || n < 0) {
                n = 0;
                scriptState_ = 1;
            }
            break;
        case 1:
            if (n >= 0 && n <= 30) {
                for (int id : Pair(n % kPairCount)) {
                    ++colourCounter_;
                    LightScripted(slotOf(id), in.colourful);
                }
                ++n;
            } else if (lit14_.brightness[static_cast<std::size_t>(slotOf(1066))] == 0) {
                scriptState_ = 2;
                n = 0;
            }
            break;
        case 2: {
            int column = 0, row = 0;
            if (FirstCellOf(1053, column, row)) {
                AddToColumn(fronts14_, column, static_cast<std::uint8_t>(1u << row));
            }
            scriptState_ = 3;
            break;
        }
        case 3:
            LightFronts(fronts14_, lit14_, in.colourful, true);
            MoveDiagonal(fronts14_);
            if (lit14_.brightness[static_cast<std::size_t>(slotOf(1083))] != 0) scriptState_ = 4;
            break;
        default:
            if (lit14_.brightness[static_cast<std::size_t>(slotOf(1083))] == 0) {
                scriptState_ = 0;
                n = 0;
            }
            break;
    }
    ShowLitKeys(lit14_, in, true, sink);
}

void LightingPreview::Effect15(const PreviewInput& in, PreviewSink& sink) {
    const int s = sharedCounter_;
    int column = s > 15 ? s - 16 : s + 7;
    for (int k = 0; k < 3; ++k) {
        column += 3;
        // Reduced until it is a column: the shared counter may come from effect 18 (up to 191).
        while (column > kGridColumns - 1) column -= kGridColumns;
        if (column < 0) column = Mod(column, kGridColumns);
        AddToColumn(fronts15_, column, 1u << 0);
    }
    sharedCounter_ = column;
    LightFronts(fronts15_, lit15_, in.colourful, false);
    MoveVertical(fronts15_);
    ShowLitKeys(lit15_, in, false, sink);
}

void LightingPreview::Effect16(const PreviewInput& in, PreviewSink& sink) {
    if (Combined(fronts16_, 1) == (1u << 0)) SetColumn(fronts16_, 1, 1u << 0);
    if (Combined(fronts16_, kGridColumns - 1) == (1u << 6)) AddToColumn(fronts16_, kGridColumns - 1, 1u << 6);
    LightFronts(fronts16_, lit16_, in.colourful, false);
    MoveDiagonal(fronts16_);
    ShowLitKeys(lit16_, in, false, sink);
}

void LightingPreview::Effect18(const PreviewInput& in, PreviewSink& sink) {
    int& phase = sharedCounter_;  // shared with effects 14 and 15
    phase = Step(phase, 2, kWheelSize, in.direction);
    for (int k = 0; k < kRingCount; ++k) {
        const ColourRef colour = WheelAt(phase + 21 * (k + 1));
        for (int id : Ring(k)) sink.ShowColour(id, colour);
    }
}

void LightingPreview::LightRandom(LitKeys& keys, int slot, bool colourful) {
    if (!ValidSlot(slot)) return;
    keys.brightness[static_cast<std::size_t>(slot)] = 255;
    if (colourful) keys.colourIndex[static_cast<std::size_t>(slot)] = static_cast<std::uint8_t>(random_->Next() % 255u);
}

void LightingPreview::LightScripted(int slot, bool colourful) {
    if (!ValidSlot(slot)) return;
    lit14_.brightness[static_cast<std::size_t>(slot)] = 255;
    if (colourful) lit14_.colourIndex[static_cast<std::size_t>(slot)] = colourCounter_;
}

void LightingPreview::LightFronts(const Fronts& fronts, LitKeys& keys, bool colourful, bool scripted) {
    const auto& grid = Slots().grid;
    for (int c = 0; c < kGridColumns; ++c) {
        const std::uint8_t m = Combined(fronts, c);
        if (!m) continue;
        for (int r = 0; r < kGridRows; ++r) {
            if (!(m & (1u << r))) continue;
            const int slot = grid[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
            if (scripted) {
                LightScripted(slot, colourful);
            } else {
                LightRandom(keys, slot, colourful);
            }
        }
    }
}

void LightingPreview::ShowLitKeys(LitKeys& keys, const PreviewInput& in, bool steepDecay, PreviewSink& sink) {
    const auto& chain = Chain();
    const auto& slots = Slots().chain;
    for (int i = 0; i < kChainLength; ++i) {
        const int slot = slots[static_cast<std::size_t>(i)];
        if (!ValidSlot(slot)) continue;
        auto& b = keys.brightness[static_cast<std::size_t>(slot)];
        b = Decayed(b, steepDecay);
        const ColourRef base = in.colourful ? WheelAt(keys.colourIndex[static_cast<std::size_t>(slot)]) : in.colour;
        sink.ShowColour(chain[static_cast<std::size_t>(i)], ScaleColour(base, b));
    }
}

std::uint8_t LightingPreview::Combined(const Fronts& f, int column) {
    std::uint8_t m = 0;
    for (const Plane& p : f) m = static_cast<std::uint8_t>(m | p[static_cast<std::size_t>(column)]);
    return m;
}

void LightingPreview::SetColumn(Fronts& f, int column, std::uint8_t mask) {
    for (Plane& p : f) p[static_cast<std::size_t>(column)] = mask;
}

void LightingPreview::AddToColumn(Fronts& f, int column, std::uint8_t mask) {
    for (Plane& p : f) p[static_cast<std::size_t>(column)] = static_cast<std::uint8_t>(p[static_cast<std::size_t>(column)] | mask);
}

// Plane 0 left and down, 1 right and down, 2 right and up, 3 left and up: each set cell moves
// one column sideways and one row up or down, so a seed grows into a widening diamond.
void LightingPreview::MoveDiagonal(Fronts& f) {
    constexpr int kLast = kGridColumns - 1;
    for (int p = 0; p < kPlanes; ++p) {
        const Plane old = f[static_cast<std::size_t>(p)];
        Plane& now = f[static_cast<std::size_t>(p)];
        const bool down = p < 2;
        const bool left = p == 0 || p == 3;
        for (int c = 0; c <= kLast; ++c) {
            const std::uint8_t self = old[static_cast<std::size_t>(c)];
            const std::uint8_t vertical = static_cast<std::uint8_t>(down ? self << 1 : self >> 1);
            const int from = left ? c + 1 : c - 1;  // the column whose cells move into c
            const std::uint8_t sideways = (from >= 0 && from <= kLast) ? old[static_cast<std::size_t>(from)] : 0;
            now[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(vertical | sideways);
        }
    }
}

void LightingPreview::MoveVertical(Fronts& f) {
    for (int p = 0; p < kPlanes; ++p) {
        for (std::uint8_t& m : f[static_cast<std::size_t>(p)]) {
            m = static_cast<std::uint8_t>(p < 2 ? m << 1 : m >> 1);
        }
    }
}

int LightingPreview::KeyBrightness(int effect, int buttonId) const {
    const int slot = ColourSlotOfButton(buttonId);
    if (!ValidSlot(slot)) return 0;
    const LitKeys* keys = nullptr;
    switch (effect) {
        case 10: keys = &lit10_; break;
        case 13: keys = &lit13_; break;
        case 14: keys = &lit14_; break;
        case 15: keys = &lit15_; break;
        case 16: keys = &lit16_; break;
        default: return 0;
    }
    return keys->brightness[static_cast<std::size_t>(slot)];
}

int LightingPreview::Phase(int effect) const {
    switch (effect) {
        case 1: return phase1_;
        case 2: return phase2_;
        case 3: return phase3_;
        case 4: return phase4_;
        case 5: return phase5_;
        case 10: return position10_;
        case 12: return phase12_;
        case 14:
        case 15:
        case 18: return sharedCounter_;
        default: return 0;
    }
}

const LightingPreview::Fronts* LightingPreview::FrontsOf(int effect) const {
    switch (effect) {
        case 13: return &fronts13_;
        case 14: return &fronts14_;
        case 15: return &fronts15_;
        case 16: return &fronts16_;
        default: return nullptr;
    }
}

}  // namespace qv::lighting
