// The voltage and the current table of a signal with every harmonic and
// interharmonic on every phase, N = 5000, beside the same tables evaluated
// with one sine per term and sample.
#include <benchmark/benchmark.h>

#include <cmath>

#include "link/SampleTables.h"
#include "signal/Nominals.h"
#include "signal/Waveform.h"

namespace {

sig::TSignalSet FullSignal() {
    sig::TSignalSet s;
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.Freq = 34.19L;
    v.UA = 50, v.UB = 51, v.UC = 49;
    v.ShiftB = -118, v.ShiftC = 121;
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = 5;
    c.IA = 2, c.IB = 2.5L, c.IC = 3;
    c.PhiUIA = 30, c.PhiUIB = -20, c.PhiUIC = 45;
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        const auto block = static_cast<sig::TGarmonikPart>(p);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            v.Garmonik.SetKoef(block, n, 0.2f + 0.005f * n);
            v.Garmonik.SetAngle(block, n, static_cast<float>(3 * n + p));
            c.Garmonik.SetKoef(block, n, 0.3f + 0.005f * n);
            c.Garmonik.SetAngle(block, n, static_cast<float>(-2 * n + 5 * p));
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            v.InterGarm[p].Koef[m] = 0.1L + 0.002L * m;
            v.InterGarm[p].Angle[m] = 4 * m;
            c.InterGarm[p].Koef[m] = 0.2L + 0.002L * m;
            c.InterGarm[p].Angle[m] = -3 * m;
        }
    }
    s.Switches.IncludeInterGarm = true;
    s.Grid = {1, 33333334.0L / 195, 5000, 5000};
    return s;
}

void BM_VoltageAndCurrentTables(benchmark::State& state) {
    const sig::TSignalSet s = FullSignal();
    const lnk::TTableSettings settings{sig::dmTalvoM, {}};
    for (auto _ : state) {
        const lnk::TSampleTable u = lnk::BuildVoltageTable(s, settings);
        const lnk::TSampleTable i = lnk::BuildCurrentTable(s, settings);
        benchmark::DoNotOptimize(u.Bytes.data());
        benchmark::DoNotOptimize(i.Bytes.data());
    }
}
BENCHMARK(BM_VoltageAndCurrentTables)->Unit(benchmark::kMillisecond);

// The instantaneous values alone, one sine per term and sample.
void BM_DirectEvaluation(benchmark::State& state) {
    const sig::TSignalSet s = FullSignal();
    const int n = s.Grid.SamplesPerPeriod;
    for (auto _ : state) {
        sig::real sum = 0;
        for (int p = sig::fzA; p <= sig::fzC; ++p) {
            const sig::TWaveBlocks u = sig::VoltageWave(s.Voltage, p);
            const sig::TWaveBlocks c = sig::CurrentWave(s.Current, s.Voltage, p);
            for (int i = 0; i < n; ++i)
                sum += sig::InstantValue(u, i, true, true, true, s.Voltage.Freq, n, 0) +
                       sig::InstantValue(c, i, true, true, true, s.Voltage.Freq, n, 0);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DirectEvaluation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
