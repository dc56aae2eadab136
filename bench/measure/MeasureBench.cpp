// The check of a signal: the comparison of a 50 Hz signal with every
// component on three phases over one 10-period window, and the ten-minute
// flicker severity of three played phases.
#include <benchmark/benchmark.h>

#include "EveryComponentSignal.h"
#include "link/LibraryBinding.h"
#include "measure/Verify.h"
#include "measure/engine/PlayedFlicker.h"
#include "measure/engine/SentBytes.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

namespace {

const lnk::TSignalLibrary& Library() {
    static const lnk::TSignalLibrary library =
        lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    return library;
}

// The signal at the frequency its grid realises, recomputed.
sig::TSignalSet Signal(bool interharmonics) {
    sig::TSignalSet s = *bench::EveryComponentSignal();
    s.Switches.IncludeInterGarm = interharmonics;
    s.Voltage.Freq = s.Grid.SampleRate / s.Grid.SamplesPerPeriod;
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost99);
    sig::Recalculate(s, flicker);
    return s;
}

msr::TVerifyOptions Options(msr::TVerifyAction action) {
    msr::TVerifyOptions o;
    o.Capture.Action = action;
    o.Capture.Library = &Library();
    return o;
}

void CompareEveryComponent(benchmark::State& state) {
    const sig::TSignalSet s = Signal(true);
    const auto options = Options(msr::TVerifyAction::Sinus);
    const auto bytes = msr::CaptureAction(s, options.Capture);
    std::size_t rows = 0;
    for (auto _ : state) {
        const auto report = msr::CompareBytes(s, bytes, options);
        rows = report.Rows.size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(CompareEveryComponent)->Unit(benchmark::kMillisecond);

void CaptureAndCompareEveryComponent(benchmark::State& state) {
    const sig::TSignalSet s = Signal(true);
    const auto options = Options(msr::TVerifyAction::Sinus);
    for (auto _ : state) benchmark::DoNotOptimize(msr::VerifySignal(s, options).Rows.size());
}
BENCHMARK(CaptureAndCompareEveryComponent)->Unit(benchmark::kMillisecond);

void TenMinutePstOfThreePhases(benchmark::State& state) {
    const sig::TSignalSet s = Signal(false);
    const auto bytes = msr::CaptureAction(s, Options(msr::TVerifyAction::Koleb).Capture);
    const msr::TPlayback playback(msr::SplitSentBytes(bytes), {1, {}});
    double pst = 0;
    for (auto _ : state) {
        for (int phase = 0; phase < 3; ++phase) pst = msr::PlayedFlicker(playback, phase, -1, 600, 50).Pst;
        benchmark::DoNotOptimize(pst);
    }
    state.counters["Pst_C"] = pst;
}
BENCHMARK(TenMinutePstOfThreePhases)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
