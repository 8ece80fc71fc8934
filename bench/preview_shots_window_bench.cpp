// Screenshots of the lighting preview as the X server shows it, tick by tick, for comparing two
// builds' painting: each run starts from a fresh simulated keyboard and drives the preview by
// hand, so the same build writes the same pictures. Not a timing benchmark.
//   xvfb-run -a -s '-screen 0 1600x1000x24' build/bench/preview_shots_window_bench OUT [TICKS]
//   compare -metric AE OLD/effect1-3.png NEW/effect1-3.png null:
// With QT_SCALE_FACTOR=2 (and a screen twice as large) it shows the window at 2x.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/lighting/lighting_keys.h"
#include "core/lighting/panel_decisions.h"
#include "simulated_program.h"
#include "ui/app/device_session.h"
#include "ui/lighting/lighting_panel_widget.h"
#include "ui/main/quorvane_dlg.h"
#include "ui/skin/png_button.h"

namespace {

using namespace qv;

void Settle() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 60) QApplication::processEvents(QEventLoop::AllEvents, 10);
    QGuiApplication::sync();
}

void Shoot(const ui::CQuorvaneDlg& window, const std::filesystem::path& file) {
    Settle();
    const QRect frame = window.frameGeometry();
    const QPixmap shot = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (!shot.save(QString::fromStdString(file.string()))) std::fprintf(stderr, "cannot write %s\n", file.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER [TICKS]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path out = argv[1];
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 4;
    std::filesystem::create_directories(out);

    bench::UseSimulatedProgram("qv-shots");
    ui::DeviceSession session;
    ui::CQuorvaneDlg::Services services;
    services.device = &session;
    auto dialog = std::make_unique<ui::CQuorvaneDlg>(services);
    dialog->OnInitDialog();
    QElapsedTimer t;
    t.start();
    while (session.KeyboardCount() == 0 && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    dialog->OpenWindow();
    dialog->move(40, 40);
    dialog->KillTimer(1052);
    ui::CLightingPanel* panel = dialog->Lighting();
    Shoot(*dialog, out / "plain.png");
    static_cast<QAbstractButton*>(panel->Control(lighting::panel_id::kLightingViewToggle))->click();

    auto* effects = static_cast<QComboBox*>(panel->Control(lighting::panel_id::kEffectSelector));
    for (const int effect : {1, 5, 14}) {
        effects->setCurrentIndex(panel->Model().Settings().Effects().PositionOf(effect));
        for (int i = 0; i < ticks; ++i) {
            panel->PreviewTick();
            Shoot(*dialog, out / ("effect" + std::to_string(effect) + "-" + std::to_string(i) + ".png"));
        }
    }
    // A hovered key draws its outline over the colour; the pointer is moved by the X server.
    const ui::CPngButton* key = dialog->Button(lighting::ColourButtonAt(20));
    QCursor::setPos(key->mapToGlobal(key->rect().center()));
    Shoot(*dialog, out / "hover.png");
    QCursor::setPos(0, 0);
    static_cast<QAbstractButton*>(panel->Control(lighting::panel_id::kLightingViewToggle))->click();
    Shoot(*dialog, out / "plain-again.png");

    session.Close();
    dialog.reset();
    return 0;
}
