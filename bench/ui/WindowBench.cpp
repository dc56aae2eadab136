// The window program's responsiveness: start to a shown main window with its
// first signal window, an accepted voltage entry on the voltage page and on
// the three-phase page (recalculation and redisplay), and the longest stall
// of the window thread while an action of several seconds runs against a
// slow calibrator.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "CalibratorSimulator.h"
#include "ConverterSimulator.h"
#include "DeviceAccess/PCAComPort.h"
#include "StallMeter.h"
#include "TempFolder.h"
#include "files/SignalFile.h"
#include "link/LibraryBinding.h"
#include "ui/common/FieldEdit.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/ConverterPage.h"
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
        bench::TStallMeter meter;
        QSignalSpy finished(&main, &ui::TfmMain::ActionFinished);
        meter.Start();
        main.RunAction(ui::TActionKind::TestSignal);
        finished.wait(60000);
        state.counters["action_ms"] = static_cast<double>(meter.Elapsed());
        longest = std::max(longest, static_cast<double>(meter.Longest()));
    }
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_WindowThreadDuringAction)->Unit(benchmark::kMillisecond)->Iterations(1);

// The converter's connection sequence (test, reset, module and gain, three
// calibration blocks) against the unpaced converter simulator, with the
// longest gap of a 5 ms timer on the window thread meanwhile.
// "Поключение" without its message boxes: test, reset, module and gain, the
// three blocks. Each of the four operations opens and closes its own
// connection, and the port rests after each opening and each closing; the
// counters tell that rest apart from the rest of the work.
void BM_ConverterConnection(benchmark::State& state) {
    constexpr int kConnections = 4;
    talvo_test::TempSettings settings;
    talvo_test::ConverterSimulator sim;
    ui::TfmMain main(Options());
    main.show();
    ui::TForm2& form = *main.NewWindow();
    form.FillTabs(0, true);
    ui::TConverterPage& page = *form.ConverterPage();
    page.PortBox()->setCurrentText(QString::fromStdString(sim.Name()));
    double longest = 0;
    std::vector<double> runs;
    for (auto _ : state) {
        bench::TStallMeter meter;
        QSignalSpy finished(&page, &ui::TConverterPage::OperationFinished);
        QElapsedTimer clock;
        clock.start();
        meter.Start();
        page.RunOperation([](edit::TConverterSession& session) {
            return session.TestConnectionConverterIU(false) && session.ResetConverterIU() &&
                   session.ReadConverterIUAllData(false);
        });
        finished.wait(10000);
        runs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        if (finished.empty() || !finished.front().front().toBool()) state.SkipWithError("the connection failed");
        longest = std::max(longest, static_cast<double>(meter.Longest()));
    }
    std::sort(runs.begin(), runs.end());
    const double rest = 2.0 * kConnections * static_cast<double>(da::kLineSettleTime.count());
    state.counters["median_ms"] = runs[runs.size() / 2];
    state.counters["port_rest_ms"] = rest;
    state.counters["beyond_rest_ms"] = runs[runs.size() / 2] - rest;
    state.counters["longest_gap_ms"] = longest;
}
BENCHMARK(BM_ConverterConnection)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
