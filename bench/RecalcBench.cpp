// The whole recalculation of a signal with every harmonic and interharmonic
// set on every phase of voltage and current.
#include <benchmark/benchmark.h>

#include "EveryComponentSignal.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

namespace {

void BM_Recalculate(benchmark::State& state) {
    auto s = bench::EveryComponentSignal();
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost2012);
    for (auto _ : state) {
        sig::Recalculate(*s, flicker);
        benchmark::DoNotOptimize(s->Ieee1459.Se4);
    }
}
BENCHMARK(BM_Recalculate)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
