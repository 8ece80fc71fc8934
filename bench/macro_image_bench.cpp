// Building and reading back the macro image that every Apply sends and every arrival reads.
#include <benchmark/benchmark.h>

#include "core/macro/macro_image.h"

namespace {

qv::MacroList FullList(int macros, int actions) {
    qv::MacroList list(static_cast<std::size_t>(macros));
    for (int i = 0; i < macros; ++i) {
        qv::MacroRecord& m = list[static_cast<std::size_t>(i)];
        m.SetName(u"a macro name");
        m.id = static_cast<std::uint16_t>(i + 1);
        m.actionCount = static_cast<std::uint16_t>(actions);
        for (int j = 0; j < actions; ++j) {
            m.actions[static_cast<std::size_t>(j)] = {10 * j, static_cast<qv::KeyCode>(0x10 + j % 40),
                                                      static_cast<std::uint16_t>(j % 2)};
        }
    }
    return list;
}

void BM_EncodeMacroImage(benchmark::State& state) {
    const qv::MacroList list = FullList(100, 150);  // about 61 KB: the largest 16-bit image
    const std::size_t size = qv::MacroImageSizes(list).withNames;
    for (auto _ : state) benchmark::DoNotOptimize(qv::EncodeMacroImage(list, size, true));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_EncodeMacroImage);

void BM_DecodeMacroImage(benchmark::State& state) {
    const qv::MacroList list = FullList(100, 150);
    const auto image = qv::EncodeMacroImage(list, qv::MacroImageSizes(list).withNames, true);
    for (auto _ : state) benchmark::DoNotOptimize(qv::DecodeMacroImage(image));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * image.size()));
}
BENCHMARK(BM_DecodeMacroImage);

}  // namespace

BENCHMARK_MAIN();
