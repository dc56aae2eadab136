// The window program's responsiveness: start to a shown main window with its
// first signal window, an accepted voltage entry on the voltage page and on
// the three-phase page (recalculation and redisplay), and the longest stall
// of the window thread while an action of several seconds runs against a
// slow calibrator.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>

#include "CalibratorSimulator.h"
#include "TempFolder.h"
#include "files/SignalFile.h"
#include "link/LibraryBinding.h"
#include "ui/common/FieldEdit.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace {

ui::TMainOptions Options() {
    ui::TMainOptions options;
    options.Library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
    options.Splash = false;
    return options;
}

void BM_StartToShownWindow(benchmark::State& state) {
    talvo_test::TempSettings settings;
    for (auto _ : state) {
        ui::TfmMain main(Options());
        main.show();
        main.NewWindow();
        QApplication::processEvents();
        benchmark::DoNotOptimize(main.ActiveSignalWindow());
    }
}
BENCHMARK(BM_StartToShownWindow)->Unit(benchmark::kMillisecond)->Iterations(10);

// The example signal with harmonics, dips and fluctuations, shown on `tab`;
// each iteration takes a new value of phase A's voltage over from `field`
// and lets the event loop repaint what changed, as after a real entry.
void AcceptedVoltage(benchmark::State& state, const char* tab, const char* field) {
    talvo_test::TempSettings settings;
    ui::TfmMain main(Options());
    main.show();
    ui::TForm2& form = *main.NewWindow();
    form.LoadSignal(files::sfAll, TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa");
    form.SelectTab(form.FindTab(tab));
    QApplication::processEvents();
    auto* edit = form.findChild<ui::TFieldEdit*>(QString::fromLatin1(field));
    int i = 0;
    for (auto _ : state) {
        edit->setText(QString::number(200 + i++ % 40));
        Q_EMIT edit->Leaving();
        QApplication::processEvents();
    }
    if (form.Signal().Voltage.UA < 200) state.SkipWithError("the entry was not taken over");
}

void BM_AcceptedVoltageOnVoltagePage(benchmark::State& state) {
    AcceptedVoltage(state, "Напряжение", "e_dey_znach_u_a");
}
BENCHMARK(BM_AcceptedVoltageOnVoltagePage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();

void BM_AcceptedVoltageOnThreePhasePage(benchmark::State& state) {
    AcceptedVoltage(state, "Фазы (А, В, С)", "e_dey_znach_u_faza_a");
}
BENCHMARK(BM_AcceptedVoltageOnThreePhasePage)->Unit(benchmark::kMillisecond)->Repetitions(7)->ReportAggregatesOnly();

// A timer ticks every 5 ms on the window thread while the calibrator answers
// every frame 400 ms late; the counter is the longest gap between ticks.
void BM_WindowThreadDuringAction(benchmark::State& state) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim("COM1", {"--delay", "400"});
    double longest = 0;
    for (auto _ : state) {
        ui::TfmMain main(Options());
        main.show();
        main.NewWindow();
        QElapsedTimer clock;
        qint64 last = 0;
        qint64 gap = 0;
        QTimer ticks;
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            gap = std::max(gap, clock.elapsed() - last);
            last = clock.elapsed();
        });
        QSignalSpy finished(&main, &ui::TfmMain::ActionFinished);
        clock.start();
        ticks.start(5);
        main.RunAction(ui::TActionKind::TestSignal);
        finished.wait(60000);
        state.counters["action_ms"] = static_cast<double>(clock.elapsed());
        longest = std::max(longest, static_cast<double>(gap));
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_WindowThreadDuringAction)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
