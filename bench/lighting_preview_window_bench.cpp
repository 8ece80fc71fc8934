// One preview tick on the real main window, on screen: the panel's tick recolours the key
// buttons and the window paints them before the next tick; back to back, and 50 ms apart as the
// program runs them. Timer 1052 re-arms every 50 ms after the tick, so tick and paint together
// must stay far below that. Needs a display (Xvfb):
//   xvfb-run -a -s '-screen 0 1600x1000x24' build/bench/lighting_preview_window_bench
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QThread>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "core/app/paths.h"
#include "core/app/text_table.h"
#include "simulated_program.h"
#include "support/paint_counter.h"
#include "core/lighting/lighting_keys.h"
#include "core/lighting/panel_decisions.h"
#include "ui/app/device_session.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/quorvane_dlg.h"
#include "ui/skin/png_button.h"

namespace {

using namespace qv;

using test::PaintCounter;

struct Window {
    Window() {
        bench::UseSimulatedProgram("qv-bench");
        ui::CQuorvaneDlg::Services services;
        services.device = &session;
        dialog = std::make_unique<ui::CQuorvaneDlg>(services);
        dialog->OnInitDialog();
        QElapsedTimer t;
        t.start();
        while (session.KeyboardCount() == 0 && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
        dialog->OpenWindow();
        // The preview is driven by hand here.
        dialog->KillTimer(1052);
        panel = dialog->Lighting();
        static_cast<QAbstractButton*>(panel->Control(lighting::panel_id::kLightingViewToggle))->click();
        for (int i = 0; i < lighting::kColourButtonCount; ++i) dialog->Button(lighting::ColourButtonAt(i))->installEventFilter(&counter);
        Flush();
        // The field over the keys paints them while they show colours.
        if (QWidget* field = dialog->findChild<QWidget*>(QStringLiteral("key_field"))) field->installEventFilter(&fieldCounter);
    }
    ~Window() {
        session.Close();
        dialog.reset();
    }
    void Choose(int effect, bool colourful) {
        auto* box = static_cast<QComboBox*>(panel->Control(lighting::panel_id::kEffectSelector));
        box->setCurrentIndex(panel->Model().Settings().Effects().PositionOf(effect));
        if (panel->Model().Settings().State().colourful != colourful) panel->Model().OnColourfulClicked();
        Flush();
    }
    static void Flush() {
        QApplication::processEvents();
        QGuiApplication::sync();
    }

    ui::DeviceSession session;
    std::unique_ptr<ui::CQuorvaneDlg> dialog;
    ui::CLightingPanel* panel = nullptr;
    PaintCounter counter;
    PaintCounter fieldCounter;
};

Window* window = nullptr;

// `pause`: the program ticks every 50 ms, by which time the tick's pictures and code have left
// the processor's caches; ticks back to back measure the work without that.
void RunTicks(benchmark::State& state, bool pause) {
    const int effect = static_cast<int>(state.range(0));
    window->Choose(effect, state.range(1) != 0);
    window->counter.paints = 0;
    window->fieldCounter.paints = 0;
    for (auto _ : state) {
        window->panel->PreviewTick();
        Window::Flush();
        if (pause) {
            state.PauseTiming();
            QThread::msleep(50);
            state.ResumeTiming();
        }
    }
    const auto perTick = [&](int paints) { return benchmark::Counter(static_cast<double>(paints) / static_cast<double>(state.iterations())); };
    state.counters["key paints per tick"] = perTick(window->counter.paints);
    state.counters["field paints per tick"] = perTick(window->fieldCounter.paints);
    state.SetLabel("effect " + std::to_string(effect) + (state.range(1) ? " colourful" : ""));
}

void BM_PreviewTickOnScreen(benchmark::State& state) { RunTicks(state, false); }
void BM_PreviewTickEvery50ms(benchmark::State& state) { RunTicks(state, true); }

void Effects(benchmark::internal::Benchmark* b) {
    for (int effect : {1, 2, 3, 4, 5, 10, 11, 12, 13, 14, 16, 18}) b->Args({effect, 1});
    for (int effect : {1, 5, 14}) b->Args({effect, 0});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_PreviewTickOnScreen)->Apply(Effects);
BENCHMARK(BM_PreviewTickEvery50ms)->Args({1, 1})->Unit(benchmark::kMillisecond)->Iterations(200);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Window w;
    window = &w;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window = nullptr;
    return 0;
}
