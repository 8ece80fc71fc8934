// The device link against the simulated keyboard through the real libHidServ.so: exchanges per
// second with no answer latency, and a full store (32,640-byte macro memory and three key
// matrices in one group) with 1 ms per answer, compared with the frame count x 1 ms that a
// full-speed USB keyboard answering every frame at its 1 ms polling interval cannot beat.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/device/device_link.h"
#include "hidserv/sim_control_client.h"

namespace {

struct Bench {
    std::unique_ptr<qv::device::DeviceLink> link;
    std::unique_ptr<qv::hidserv::SimControl> sim;
};

Bench& Keyboard() {
    static Bench bench = [] {
        char folder[] = "/tmp/qvbench.XXXXXX";
        if (::mkdtemp(folder) == nullptr) throw std::runtime_error("mkdtemp");
        ::setenv("QUORVANE_SIMULATE", "1", 1);
        ::setenv("QUORVANE_SIM_STATE", (std::string(folder) + "/kb.state").c_str(), 1);
        Bench b;
        std::string error;
        b.link = qv::device::DeviceLink::Open(QV_BIN_DIR, &error);
        if (!b.link) throw std::runtime_error(error);
        b.link->Start();
        b.sim = std::make_unique<qv::hidserv::SimControl>(b.link->Service().Handle());
        if (!b.sim->Valid()) throw std::runtime_error("no simulated keyboard");
        return b;
    }();
    return bench;
}

void BM_ExchangeNoLatency(benchmark::State& state) {
    Bench& kb = Keyboard();
    kb.sim->SetLatencyMicroseconds(0);
    qv::device::GlobalBlock block;
    for (auto _ : state) {
        if (kb.link->Commands().ReadGlobalBlock(block) != qv::device::kSuccess) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(block);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["exchanges_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExchangeNoLatency)->UseRealTime();

// The engine's own cost per exchange with an answer that is ready at once: the keyboard-count
// query, the write, the hand-over from the library's delivery thread and the wake-up.
void BM_ExchangeCostNoLatency(benchmark::State& state) {
    Bench& kb = Keyboard();
    kb.sim->SetLatencyMicroseconds(0);
    std::vector<double> micros;
    micros.reserve(200000);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (kb.link->Commands().BeginConfig() != qv::device::kSuccess) {
            state.SkipWithError("exchange failed");
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    kb.link->Commands().EndConfig();
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}
BENCHMARK(BM_ExchangeCostNoLatency)->Iterations(20000)->UseRealTime();

// How closely the simulated keyboard keeps a 1 ms answer latency (so the store benchmark below
// measures the tool, not the simulator).
void BM_AnswerLatency1ms(benchmark::State& state) {
    Bench& kb = Keyboard();
    kb.sim->SetLatencyMicroseconds(1000);
    std::vector<double> micros;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (kb.link->Commands().BeginConfig() != qv::device::kSuccess) {
            state.SkipWithError("exchange failed");
            break;
        }
        micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
    }
    kb.link->Commands().EndConfig();
    kb.sim->SetLatencyMicroseconds(0);
    if (micros.empty()) return;
    std::sort(micros.begin(), micros.end());
    state.counters["median_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}
BENCHMARK(BM_AnswerLatency1ms)->Iterations(2000)->UseRealTime();

void BM_StoreEverything1msLatency(benchmark::State& state) {
    Bench& kb = Keyboard();
    kb.sim->SetLatencyMicroseconds(1000);
    std::vector<std::uint8_t> macros(32640);
    for (std::size_t i = 0; i < macros.size(); ++i) macros[i] = static_cast<std::uint8_t>(i);
    qv::KeyMatrix matrix{};
    matrix.fill(0x02);
    qv::device::CommandSet& cmd = kb.link->Commands();
    double frames = 0;
    double seconds = 0;
    for (auto _ : state) {
        kb.sim->ClearFrameLog();
        const auto start = std::chrono::steady_clock::now();
        bool ok = cmd.BeginConfig() == 1 &&
                  cmd.WriteMacroMemory(macros.data(), static_cast<int>(macros.size())) == 1;
        for (int p = 0; ok && p < 3; ++p) ok = cmd.WriteKeyMatrix(matrix, p) == 1;
        ok = ok && cmd.EndConfig() == 1;
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("store failed");
            break;
        }
        frames = kb.sim->FrameCount();
    }
    kb.sim->SetLatencyMicroseconds(0);
    const double perIteration = seconds / static_cast<double>(state.iterations());
    state.counters["frames"] = frames;
    state.counters["usb_floor_ms"] = frames * 1.0;
    state.counters["ratio_to_floor"] = perIteration / (frames * 0.001);
}
BENCHMARK(BM_StoreEverything1msLatency)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
