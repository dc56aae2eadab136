// What the user waits for in the signal window at 1600 × 1000 with a signal
// that carries every harmonic and interharmonic and every chart series shown:
// a page brought forward, and an accepted entry, each until the event loop
// has delivered the repaint it caused.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "../EveryComponentSignal.h"
#include "TempFolder.h"
#include "editor/ChartRules.h"
#include "ui/charts/WindowCharts.h"
#include "ui/common/FieldEdit.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace {

// The update requests of a repaint are posted; a few rounds deliver them and
// what they post in turn.
void Settle() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

struct TDesktop {
    talvo_test::TempSettings settings;
    ui::TfmMain main{ui::TMainOptions{}};
    ui::TForm2* form = nullptr;

    TDesktop() {
        main.resize(1600, 1000);
        main.show();
        form = main.NewWindow();
        form->parentWidget()->showMaximized();
        form->Signal() = *bench::EveryComponentSignal();
        form->Recalculate();
        edit::TChartState all;
        all.VoltageItems.fill(true);
        all.CurrentItems.fill(true);
        all.PowerItems.fill(true);
        all.WaveItems.fill(true);
        form->Charts().ShowChart1(all);
        form->ShowAllData();
        form->Charts().ShowAll();
        Settle();
    }
};

// From the first page to page `index` and back; only the way there is timed.
void BM_PageSwitch(benchmark::State& state) {
    TDesktop desktop;
    ui::TForm2& form = *desktop.form;
    const int index = static_cast<int>(state.range(0));
    state.SetLabel(form.TabList().at(static_cast<std::size_t>(index)));
    for (auto _ : state) {
        form.SelectTab(index);
        Settle();
        state.PauseTiming();
        form.SelectTab(index == 0 ? 1 : 0);
        Settle();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PageSwitch)->DenseRange(0, 11)->Unit(benchmark::kMillisecond)->Iterations(10);

// A new value of phase A's voltage taken over on the voltage page, the
// recalculation and the repaint of what it changed.
void BM_AcceptedEntry(benchmark::State& state) {
    TDesktop desktop;
    ui::TForm2& form = *desktop.form;
    form.SelectTab(0);
    Settle();
    auto* edit = form.findChild<ui::TFieldEdit*>(QStringLiteral("e_dey_znach_u_a"));
    int i = 0;
    for (auto _ : state) {
        edit->setText(QString::number(50 + i++ % 10));
        Q_EMIT edit->Leaving();
        Settle();
    }
    if (form.Signal().Voltage.UA < 50) state.SkipWithError("the entry was not taken over");
}
BENCHMARK(BM_AcceptedEntry)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(3)->ReportAggregatesOnly();

}  // namespace
