#include "measure/engine/Summary.h"

#include <algorithm>
#include <cmath>

#include "measure/engine/Frequency.h"
#include "measure/engine/PlayedFlicker.h"

namespace msr {
namespace {

// The count of a fluctuation's timing block: it alternates the tables for as
// long as the calibrator plays.
constexpr std::int64_t kFluctuationCount = 32767;

std::vector<double> Difference(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> d(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) d[i] = x[i] - y[i];
    return d;
}

}  // namespace

const std::array<const char*, kAnalysed> kAnalysedNames{"UA", "UB", "UC", "UAB", "UBC", "UCA", "IA", "IB", "IC"};

std::array<std::vector<double>, kAnalysed> SteadyWindows(const TPlayback& p, int cycles) {
    const auto length =
        static_cast<std::size_t>(std::llround(cycles * static_cast<double>(p.TableLength()) / p.CyclesPerTable()));
    auto steady = [&](int channel) {
        const std::vector<double>& table = p.Table(0, channel);
        std::vector<double> x(length);
        for (std::size_t i = 0; i < length; ++i) x[i] = table[i % table.size()];
        return x;
    };
    std::array<std::vector<double>, kAnalysed> w;
    for (int x = 0; x < 3; ++x) w[x] = steady(chUA + x);
    for (int l = 0; l < 3; ++l) w[3 + l] = Difference(w[l], w[(l + 1) % 3]);
    if (p.CurrentPlayed())
        for (int x = 0; x < 3; ++x) w[6 + x] = steady(chIA + x);
    return w;
}

TPlayedSummary Summarise(const TPlayback& p, double nominalFrequency, double eventSeconds, double flickerSeconds) {
    TPlayedSummary s;
    s.Cycles = nominalFrequency > 55 ? 12 : 10;
    s.ClockFrequency = p.ClockFrequency();
    const auto windows = SteadyWindows(p, s.Cycles);
    for (int k = 0; k < kAnalysed; ++k) {
        s.Played[k] = !windows[k].empty();
        if (s.Played[k]) s.Channels[k] = AnalyseWindow(windows[k], s.Cycles);
    }
    s.CrossingFrequency = ZeroCrossingFrequency(windows[0], p.Rate(), nominalFrequency).value_or(0.0);
    s.Voltage = Sequences(s.Channels[0].Fundamental(), s.Channels[1].Fundamental(), s.Channels[2].Fundamental());
    s.Current = Sequences(s.Channels[6].Fundamental(), s.Channels[7].Fundamental(), s.Channels[8].Fundamental());

    const auto& e = p.Events();
    if (!e || e->Count <= 0 || !p.HasAlternative()) return s;
    if (e->Count >= kFluctuationCount) {
        s.HasFlicker = true;
        s.FlickerSeconds = flickerSeconds;
        for (int k = 0; k < 6; ++k)
            s.Pst[k] = PlayedFlicker(p, k % 3, k < 3 ? -1 : (k + 1) % 3, flickerSeconds, nominalFrequency).Pst;
        return s;
    }
    s.HasEvents = true;
    const double period = 1.0 / s.ClockFrequency;
    s.EventSeconds = std::min(static_cast<double>(e->End()) / p.Rate() + 2 * period, eventSeconds);
    const auto ticks = static_cast<std::size_t>(s.EventSeconds * p.Rate());
    std::array<std::vector<double>, 6> u;
    for (int x = 0; x < 3; ++x) u[x] = p.Render(chUA + x, 0, ticks);
    for (int l = 0; l < 3; ++l) u[3 + l] = Difference(u[l], u[(l + 1) % 3]);
    for (int k = 0; k < 6; ++k) {
        // Against the range's nominal voltage: the phase voltage, or the line voltage.
        s.Events[k].Declared = p.VoltageNominal() * (k < 3 ? 1.0 : std::sqrt(3.0));
        const double start = FirstRisingCrossing(Degrees(s.Channels[k].Fundamental()), s.ClockFrequency);
        s.Events[k].Events =
            DetectEvents(HalfCycleRms(u[k], p.Rate(), s.ClockFrequency, start), {s.Events[k].Declared});
    }
    return s;
}

}  // namespace msr
