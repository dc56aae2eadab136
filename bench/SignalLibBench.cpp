// The library's side of setting a signal: building its tables, and whole
// SetSignal calls against the calibrator simulator, unpaced (host overhead
// alone) and paced at 115200 baud (against the line time of the bytes).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "CalibratorSimulator.h"
#include "SignalLib/Loader.h"
#include "SignalLib/Tables.h"
#include "SignalTalvoLibrary.h"
#include "TempFolder.h"

namespace {

using namespace talvo_test;

// Every harmonic on every phase; 45 Hz with kf = −24 % gives N = 4998.
TOutSignalParams FullSpectrum() {
    TOutSignalParams p = BalancedParams();
    p.Frequency = 45;
    p.FrequencyKoef = -24;
    for (int ph = 0; ph < 3; ++ph)
        for (int n = 2; n <= 40; ++n) {
            p.Voltage[ph].Harmonics[n - 2] = {0.5f, static_cast<float>(3 * n + ph)};
            p.Current[ph].Harmonics[n - 2] = {1.0f, static_cast<float>(-2 * n + 5 * ph)};
        }
    return p;
}

void BM_VoltageAndCurrentTables(benchmark::State& state) {
    stlib::TSignalClass signal;
    if (stlib::LoadOutSignalParams(signal, FullSpectrum()) != 0) state.SkipWithError("signal refused");
    std::vector<std::uint8_t> buffer(stlib::kTableBufferSize);
    for (auto _ : state) {
        benchmark::DoNotOptimize(stlib::BuildVoltageTable(signal, buffer));
        benchmark::DoNotOptimize(stlib::BuildCurrentTable(signal, buffer));
    }
    state.counters["N"] = static_cast<double>(signal.SamplesPerPeriod());
}
BENCHMARK(BM_VoltageAndCurrentTables)->Unit(benchmark::kMillisecond);

// Unpaced, the time of a call is the host's own work and the simulator's.
void BM_SetSignalUnpaced(benchmark::State& state) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim("COM1");
    const TOutSignalParams p = BalancedParams();
    for (auto _ : state) {
        const std::int16_t code = Library().SetSignal(1, p, nullptr);
        if (code != 0) state.SkipWithError(("SetSignal gave " + std::to_string(code)).c_str());
    }
}
BENCHMARK(BM_SetSignalUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime();

// Unpaced, what the paced call spends beyond its line time: opening and
// configuring the port, the exchanges' wake-ups on both sides, closing.
void BM_StopSignalUnpaced(benchmark::State& state) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim("COM1");
    for (auto _ : state) {
        const std::int16_t code = Library().StopSignal(1);
        if (code != 0) state.SkipWithError(("StopSignal gave " + std::to_string(code)).c_str());
    }
}
BENCHMARK(BM_StopSignalUnpaced)->Unit(benchmark::kMillisecond)->UseRealTime();

// Paced, against the line time of frames 14 and 15 and their four
// confirmations. A table cannot be paced on a pseudo-terminal: the write
// returns before the simulator has taken the bytes, so the confirmation
// after it comes later than the 180 ms the library waits for it.
void BM_StopSignalPaced(benchmark::State& state) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim("COM1", {"--pace"});
    for (auto _ : state) {
        const std::int16_t code = Library().StopSignal(1);
        if (code != 0) state.SkipWithError(("StopSignal gave " + std::to_string(code)).c_str());
    }
    state.counters["line_ms"] = (2 * 14 + 4 * 8) * 10 * 1000.0 / 115200;
}
BENCHMARK(BM_StopSignalPaced)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
