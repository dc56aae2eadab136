// The voltage and the current table of a signal with every harmonic and
// interharmonic on every phase, N = 5000, beside the same tables evaluated
// with one sine per term and sample.
#include <benchmark/benchmark.h>

#include "EveryComponentSignal.h"
#include "link/SampleTables.h"
#include "signal/Nominals.h"
#include "signal/Waveform.h"

namespace {

// The full spectrum on the longest table the calibrator takes.
std::unique_ptr<sig::TSignalSet> FullSignal() {
    auto s = bench::EveryComponentSignal();
    s->Grid.SamplesPerPeriod = s->Grid.SamplesPerPeriodUncorrected = 5000;
    return s;
}

void BM_VoltageAndCurrentTables(benchmark::State& state) {
    const auto s = FullSignal();
    const lnk::TTableSettings settings{sig::dmTalvoM, {}};
    for (auto _ : state) {
        const lnk::TSampleTable u = lnk::BuildVoltageTable(*s, settings);
        const lnk::TSampleTable i = lnk::BuildCurrentTable(*s, settings);
        benchmark::DoNotOptimize(u.Bytes.data());
        benchmark::DoNotOptimize(i.Bytes.data());
    }
}
BENCHMARK(BM_VoltageAndCurrentTables)->Unit(benchmark::kMillisecond);

// The instantaneous values alone, one sine per term and sample.
void BM_DirectEvaluation(benchmark::State& state) {
    const auto s = FullSignal();
    const int n = s->Grid.SamplesPerPeriod;
    for (auto _ : state) {
        sig::real sum = 0;
        for (int p = sig::fzA; p <= sig::fzC; ++p) {
            const sig::TWaveBlocks u = sig::VoltageWave(s->Voltage, p);
            const sig::TWaveBlocks c = sig::CurrentWave(s->Current, s->Voltage, p);
            for (int i = 0; i < n; ++i)
                sum += sig::InstantValue(u, i, true, true, true, s->Voltage.Freq, n, 0) +
                       sig::InstantValue(c, i, true, true, true, s->Voltage.Freq, n, 0);
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_DirectEvaluation)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
