// The harmonic editing of the signal window: filling the harmonic grid with
// every harmonic set, and one accepted coefficient on the voltage page
// (store, list rebuild, recalculation, redisplay).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "TempFolder.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/HarmonicPages.h"
#include "ui/signal/SignalWindow.h"

namespace {

void EveryHarmonicSet(sig::TSignalSet& s) {
    for (int p = 0; p < 3; ++p)
        for (int n = 2; n <= 50; ++n) {
            s.Voltage.Garmonik.Faza(p).Koef[n] = 0.5;
            s.Voltage.Garmonik.Faza(p).Angle[n] = n;
            s.Current.Garmonik.Faza(p).Koef[n] = 1.5;
            s.Current.Garmonik.Faza(p).Angle[n] = -n;
        }
}

void BM_FillHarmonicGrid(benchmark::State& state) {
    talvo_test::TempSettings settings;
    ui::TfmMain main{ui::TMainOptions{}};
    main.show();
    ui::TForm2& form = *main.NewWindow();
    EveryHarmonicSet(form.Signal());
    form.SelectTab(form.FindTab("Гармоники"));
    auto* grid = form.findChild<ui::THarmonicGrid*>(QStringLiteral("StringGrid1"));
    for (auto _ : state) grid->Fill();
}
BENCHMARK(BM_FillHarmonicGrid)->Unit(benchmark::kMillisecond);

void BM_VoltageCoefficientEnter(benchmark::State& state) {
    talvo_test::TempSettings settings;
    ui::TfmMain main{ui::TMainOptions{}};
    main.show();
    ui::TForm2& form = *main.NewWindow();
    EveryHarmonicSet(form.Signal());
    form.SelectTab(form.FindTab("Напряжение"));
    auto* field = form.findChild<QLineEdit*>(QStringLiteral("Edit15"));
    int i = 0;
    for (auto _ : state) {
        field->setText(QString::number(++i % 50));
        QTest::keyClick(field, Qt::Key_Return);
    }
}
BENCHMARK(BM_VoltageCoefficientEnter)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
