// Reading the main window's pictures at the device pixel ratios of common screens, as the window
// does at start: the background, six full-window face sources and the arrow picture. Shows what a
// finer screen costs at start-up (time) and what the window then holds (MB_held).
//   QT_QPA_PLATFORM=offscreen build/bench/skin_pictures_window_bench
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <filesystem>

#include "ui/skin/skin_pictures.h"

namespace {

const char* const kFaceSources[] = {"main_normal.jpg",  "main_over.jpg",   "main_down.jpg",
                                    "main_disable.jpg", "main_color0.jpg", "main_color1.jpg"};
const char* const kPlainPictures[] = {"main_bg.jpg", "Arrow.jpg"};

std::size_t BytesOf(const QPixmap& p) {
    return static_cast<std::size_t>(p.width()) * static_cast<std::size_t>(p.height()) * 4;
}

void BM_MainPictures(benchmark::State& state) {
    const double ratio = static_cast<double>(state.range(0)) / 100.0;
    const std::filesystem::path skins = std::filesystem::path(QV_BIN_DIR) / "Skins";
    std::size_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        const QPixmap background = QPixmap::fromImage(qv::ui::ReadSkinPicture(skins / kPlainPictures[0], ratio));
        const QSize client = background.deviceIndependentSize().toSize();
        bytes += BytesOf(background);
        for (const char* name : kFaceSources) {
            const QPixmap face = qv::ui::MakeFaceSource(qv::ui::ReadSkinPicture(skins / name, ratio), client);
            bytes += BytesOf(face);
            benchmark::DoNotOptimize(face);
        }
        const QPixmap arrows = QPixmap::fromImage(qv::ui::ReadSkinPicture(skins / kPlainPictures[1], ratio));
        bytes += BytesOf(arrows);
        benchmark::DoNotOptimize(arrows);
    }
    state.counters["MB_held"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}
BENCHMARK(BM_MainPictures)->Arg(100)->Arg(125)->Arg(150)->Arg(200)->Arg(300)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
