// Saving and loading a profile file with the largest macro list (about 1.6 MB).
#include <benchmark/benchmark.h>

#include "core/keyboard/key_matrix_codec.h"
#include "core/profile/profile_file.h"

namespace {

qv::ProfileContent LargeContent() {
    qv::ProfileContent c = qv::DefaultProfileContent();
    c.macros.resize(qv::kMaxMacros);
    for (int t = 0; t < 3; ++t) {
        for (int i = 0; i < 200; i += 3) {
            c.Record(t, i) = {qv::AssignTextBlock, 0, 0, 0, 0};
            c.texts.Set(qv::TextSlotOf(t, i), u"some text of a text-block key");
        }
    }
    return c;
}

void BM_SerializeProfileFile(benchmark::State& state) {
    qv::ProfileContent c = LargeContent();
    for (auto _ : state) benchmark::DoNotOptimize(qv::SerializeProfileFile(c));
}
BENCHMARK(BM_SerializeProfileFile);

void BM_ParseProfileFile(benchmark::State& state) {
    qv::ProfileContent c = LargeContent();
    const auto bytes = qv::SerializeProfileFile(c);
    for (auto _ : state) benchmark::DoNotOptimize(qv::ParseProfileFile(bytes));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseProfileFile);

void BM_EncodeDecodeKeyMatrix(benchmark::State& state) {
    qv::KeyTable t;
    qv::ResetKeyTable(t);
    for (int i = 0; i < 256; i += 2) t[static_cast<std::size_t>(i)] = {qv::AssignSingleKey, 0, 0x1E, 0, 0};
    const qv::KeyMatrix& factory = qv::BuiltInFactoryMatrix();
    for (auto _ : state) {
        qv::KeyTable back;
        qv::DecodeKeyMatrix(qv::EncodeKeyMatrix(t, {}, factory), back, factory);
        benchmark::DoNotOptimize(back);
    }
}
BENCHMARK(BM_EncodeDecodeKeyMatrix);

}  // namespace

BENCHMARK_MAIN();
