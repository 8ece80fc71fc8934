// One preview tick per effect: the tick runs on the window's thread every 50 ms, so it has to
// stay far below that.
#include <benchmark/benchmark.h>

#include "core/lighting/lighting_preview.h"

namespace {

using namespace qv::lighting;

// Stands in for the key buttons: keeps the colours so the work cannot be optimised away.
struct CountingSink final : PreviewSink {
    ColourRef sum = 0;
    void ShowColour(int id, ColourRef c) override { sum += c ^ static_cast<ColourRef>(id); }
    void ShowPlain(int id) override { sum += static_cast<ColourRef>(id); }
};

void BM_PreviewTick(benchmark::State& state) {
    const int effect = static_cast<int>(state.range(0));
    const bool colourful = state.range(1) != 0;
    LightingPreview preview;
    CountingSink sink;
    const PreviewInput input{effect, 255, colourful, MakeColour(40, 160, 255)};
    for (auto _ : state) {
        preview.Tick(input, sink);
        benchmark::DoNotOptimize(sink.sum);
    }
    state.SetLabel("effect " + std::to_string(effect) + (colourful ? " colourful" : ""));
}

void Effects(benchmark::internal::Benchmark* b) {
    for (int effect : {1, 2, 3, 4, 5, 6, 7, 10, 11, 12, 13, 14, 15, 16, 18, 20}) {
        b->Args({effect, 0});
        b->Args({effect, 1});
    }
}

BENCHMARK(BM_PreviewTick)->Apply(Effects);

}  // namespace

BENCHMARK_MAIN();
