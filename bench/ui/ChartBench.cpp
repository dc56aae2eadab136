// The charts of the signal window (part of the window benchmark program): the waveform page drawn with all nine
// series at 5000 samples per period, a harmonic coefficient accepted while
// the bar chart and the little waveform chart are shown, and the resident
// size of ten signal windows with every page visited.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QChartView>
#include <QLineSeries>
#include <fstream>

#include "TempFolder.h"
#include "TestSignals.h"
#include "signal/Calculations.h"
#include "ui/charts/BarChartPanel.h"
#include "ui/charts/CheckList.h"
#include "ui/charts/WaveChart.h"
#include "ui/charts/WindowCharts.h"
#include "ui/shell/MainWindow.h"
#include "ui/signal/SignalWindow.h"

namespace {

const std::string kExample = TALVO_SOURCE_DIR "/examples/harmonics-dips-flicker.usa";

double ResidentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

ui::TForm2& OpenMaximized(ui::TfmMain& main) {
    ui::TForm2& form = *main.OpenFile(files::sfAll, kExample);
    form.parentWidget()->showMaximized();
    QApplication::processEvents();
    return form;
}

// A main window with the example open in a maximized signal window, drawn
// at 5000 samples per period.
struct TOpenWindow {
    talvo_test::TempSettings Settings;
    ui::TfmMain Main{ui::TMainOptions{}};
    ui::TForm2* Form = nullptr;
    TOpenWindow() {
        Main.resize(1280, 800);
        Main.show();
        Form = &OpenMaximized(Main);
        Form->Signal().Grid.SamplesPerPeriod = 5000;
    }
};

void Paint(QWidget& view) { static_cast<QGraphicsView&>(view).viewport()->repaint(); }

void BM_WaveformPageSelection(benchmark::State& state) {
    TOpenWindow window;
    ui::TForm2& form = *window.Form;
    talvo_test::AddRichSpectrum(form.Signal());
    ui::TWavePage& page = form.Charts().WavePage();
    for (int i = 0; i < page.List().Count(); ++i) page.List().SetChecked(i, true);
    const int waves = form.FindTab("Графики напряжения и тока");
    const int voltage = form.FindTab("Напряжение");
    for (auto _ : state) {
        state.PauseTiming();
        form.SelectTab(voltage);
        QApplication::processEvents();
        state.ResumeTiming();
        form.SelectTab(waves);
        Paint(page.Chart());
    }
    state.counters["step"] = page.Chart().Step();
    state.counters["points_per_series"] = static_cast<double>(page.Chart().Series(0)->count());
}
BENCHMARK(BM_WaveformPageSelection)->Unit(benchmark::kMillisecond)->Iterations(20);

// The points alone, without the chart: what the rules cost of the above.
void BM_WaveformPoints(benchmark::State& state) {
    auto s = talvo_test::BalancedSignal();
    talvo_test::AddRichSpectrum(*s);
    s->Grid.SamplesPerPeriod = 5000;
    std::array<bool, edit::kWaveSeries> all{};
    all.fill(true);
    const edit::TWaveTiming timing = edit::WaveTiming(*s);
    for (auto _ : state) benchmark::DoNotOptimize(edit::WaveSetPoints(*s, all, timing, 7));
}
BENCHMARK(BM_WaveformPoints)->Unit(benchmark::kMillisecond);

// The harmonic editor stores the coefficient and runs the voltage
// calculation with the window as its display; the charts follow.
void BM_HarmonicAccepted(benchmark::State& state) {
    TOpenWindow window;
    ui::TForm2& form = *window.Form;
    form.SelectTab(form.FindTab("Напряжение"));
    ui::TBarChartPanel& bars = form.Charts().Bars(edit::BarChart::Voltage);
    ui::TWaveChart& little = form.Charts().VoltageWaves();
    for (int i = 0; i < bars.List().Count(); ++i) bars.List().SetChecked(i, true);
    little.resize(520, 360);
    little.show();  // as the waveform view of the page shows it
    QApplication::processEvents();
    float k = 1;
    for (auto _ : state) {
        k = k > 10 ? 1 : k + 0.5F;
        form.Signal().Voltage.Garmonik.SetKoef("faza_a", 5, k);
        sig::CalcVoltageParams(form.Signal().Voltage, form.Signal().Switches, &form);
        Paint(*bars.findChild<QChartView*>(QStringLiteral("Chart1")));
        Paint(little);
    }
}
BENCHMARK(BM_HarmonicAccepted)->Unit(benchmark::kMillisecond)->Iterations(50);

// The calculation of the above without a display: what the charts add is the difference.
void BM_HarmonicCalculationOnly(benchmark::State& state) {
    auto s = talvo_test::BalancedSignal();
    s->Voltage.Garmonik.SetKoef("faza_b", 3, 5);
    float k = 1;
    for (auto _ : state) {
        k = k > 10 ? 1 : k + 0.5F;
        s->Voltage.Garmonik.SetKoef("faza_a", 5, k);
        sig::CalcVoltageParams(s->Voltage, s->Switches, nullptr);
    }
}
BENCHMARK(BM_HarmonicCalculationOnly)->Unit(benchmark::kMillisecond);

void BM_TenWindowsResident(benchmark::State& state) {
    talvo_test::TempSettings settings;
    for (auto _ : state) {
        ui::TfmMain main{ui::TMainOptions{}};
        main.resize(1280, 800);
        main.show();
        for (int w = 0; w < 10; ++w) {
            ui::TForm2& form = OpenMaximized(main);
            for (int tab = 0; tab < static_cast<int>(form.TabList().size()); ++tab) {
                form.SelectTab(tab);
                QApplication::processEvents();
            }
        }
        state.counters["resident_mb"] = ResidentMegabytes();
    }
}
BENCHMARK(BM_TenWindowsResident)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
