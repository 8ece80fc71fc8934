// Colours streamed by an SDK client into the tray program, against the simulated keyboard
// answering each frame after 1 ms: how many keyboard updates per second get through while a
// client sends 60 per second, and what a client flooding the server as fast as it can costs in
// memory. Runs on Qt's offscreen platform; the stream lasts QV_SDK_BENCH_SECONDS (default 10):
//   QT_QPA_PLATFORM=offscreen build/bench/sdk_stream_window_bench
#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/app/paths.h"
#include "core/app/settings.h"
#include "core/app/text_table.h"
#include "simulated_program.h"
#include "hidserv/sim_control_client.h"
#include "ui/app/device_session.h"
#include "ui/main/quorvane_dlg.h"
#include "ui/sdk/sdk_service.h"

namespace {

using namespace qv;
using namespace std::chrono_literals;

constexpr std::size_t kLeds = 106;

long ResidentKiB() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    }
    return 0;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

std::vector<std::uint8_t> Packet(std::uint32_t id, const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> p = {'O', 'R', 'G', 'B'};
    Put32(p, 0);
    Put32(p, id);
    Put32(p, static_cast<std::uint32_t>(body.size()));
    p.insert(p.end(), body.begin(), body.end());
    return p;
}

// UPDATELEDS with every LED in one colour.
std::vector<std::uint8_t> Leds(std::uint32_t colour) {
    std::vector<std::uint8_t> body;
    Put32(body, 4 + 2 + 4 * kLeds);
    body.push_back(static_cast<std::uint8_t>(kLeds));
    body.push_back(0);
    for (std::size_t i = 0; i < kLeds; ++i) Put32(body, colour);
    return Packet(1050, body);
}

int Connect(quint16 port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const auto custom = Packet(1100, {});
    ::send(fd, custom.data(), custom.size(), MSG_NOSIGNAL);
    return fd;
}

struct Program {
    Program() {
        const auto home = bench::UseSimulatedProgram("qv-sdk-bench");
        session.SetBeforeStart([](device::DeviceLink& link) {
            hidserv::SimControl(link.Service().Handle()).SetLatencyMicroseconds(1000);
        });
        ui::CQuorvaneDlg::Services services;
        services.device = &session;
        dialog = std::make_unique<ui::CQuorvaneDlg>(services);
        dialog->OnInitDialog();
        QElapsedTimer t;
        t.start();
        while (session.KeyboardCount() == 0 && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
        QApplication::processEvents();
        sdk::SdkServerOptions options;
        options.enabled = true;
        options.port = 0;
        service = std::make_unique<ui::SdkService>(*dialog, options, SettingsStore(home / "config" / "bench.ini"));
    }
    ~Program() {
        service.reset();
        session.Close();
        dialog.reset();
    }
    // Runs the window's thread while `client` runs; returns when it is done.
    void RunWith(const std::function<void()>& client) {
        std::atomic<bool> done{false};
        std::thread t([&] {
            client();
            done = true;
        });
        while (!done) QApplication::processEvents(QEventLoop::AllEvents, 5);
        t.join();
        // What the last updates asked for is written too.
        QElapsedTimer settle;
        settle.start();
        while (settle.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    ui::DeviceSession session;
    std::unique_ptr<ui::CQuorvaneDlg> dialog;
    std::unique_ptr<ui::SdkService> service;
};

Program* program = nullptr;

double Seconds() {
    const char* text = std::getenv("QV_SDK_BENCH_SECONDS");
    return text != nullptr && std::atof(text) > 0 ? std::atof(text) : 10.0;
}

void BM_StreamAt60PerSecond(benchmark::State& state) {
    const double seconds = Seconds();
    for (auto _ : state) {
        const int before = program->service->Controller().FlushesWritten();
        int sent = 0;
        program->RunWith([&] {
            const int fd = Connect(program->service->Server().Port());
            const auto start = std::chrono::steady_clock::now();
            auto next = start;
            while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds)) {
                const auto p = Leds(static_cast<std::uint32_t>(++sent));
                ::send(fd, p.data(), p.size(), MSG_NOSIGNAL);
                next += 16667us;
                std::this_thread::sleep_until(next);
            }
            ::close(fd);
        });
        const int flushes = program->service->Controller().FlushesWritten() - before;
        state.counters["updates sent/s"] = sent / seconds;
        state.counters["keyboard updates/s"] = flushes / seconds;
    }
}

void BM_FloodMemory(benchmark::State& state) {
    const double seconds = Seconds();
    for (auto _ : state) {
        const long rssBefore = ResidentKiB();
        std::atomic<long> rssPeak{rssBefore};
        const int before = program->service->Controller().FlushesWritten();
        long sent = 0;
        program->RunWith([&] {
            const int fd = Connect(program->service->Server().Port());
            const auto start = std::chrono::steady_clock::now();
            auto lastSample = start;
            while (std::chrono::steady_clock::now() - start < std::chrono::duration<double>(seconds)) {
                const auto p = Leds(static_cast<std::uint32_t>(++sent));
                ::send(fd, p.data(), p.size(), MSG_NOSIGNAL);
                if (std::chrono::steady_clock::now() - lastSample > 50ms) {
                    lastSample = std::chrono::steady_clock::now();
                    rssPeak = std::max(rssPeak.load(), ResidentKiB());
                }
            }
            ::close(fd);
        });
        const int flushes = program->service->Controller().FlushesWritten() - before;
        state.counters["updates sent/s"] = static_cast<double>(sent) / seconds;
        state.counters["keyboard updates/s"] = flushes / seconds;
        state.counters["RSS growth KiB"] = static_cast<double>(rssPeak - rssBefore);
    }
}

BENCHMARK(BM_StreamAt60PerSecond)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_FloodMemory)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Program p;
    program = &p;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    program = nullptr;
    return 0;
}
