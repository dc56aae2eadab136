// The window program's responsiveness: start to a shown main window with its
// first signal window, and the longest stall of the window thread while an
// action of several seconds runs against a slow calibrator.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>

#include "CalibratorSimulator.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"
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
