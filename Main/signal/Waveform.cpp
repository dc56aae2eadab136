#include "signal/Waveform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "signal/Helpers.h"

namespace sig {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;
// Time constants of the two poles of the calibrator's output filter, s.
constexpr real kFilterPole1 = 1.0714e-5L;
constexpr real kFilterPole2 = 2.8e-6L;

real Radians(real degrees) { return degrees * kPi / 180; }

void AbsoluteAngles(const TGarmonikFaza& u, const TInterGarmonik& ui, real shift, TWaveBlocks& w) {
    for (int n = 2; n <= kHarmonics; ++n) w.Harmonics.Angle[n] = n * shift + u.Angle[n];
    for (int m = 1; m <= kInterHarmonics; ++m) w.Inter.Angle[m] = (m + 0.5L) * shift + ui.Angle[m];
}

}  // namespace

TWaveBlocks VoltageWave(const TSignalParamsU& v, int phase) {
    TWaveBlocks w;
    const real shift = Shift(v, phase);
    w.FundamentalAngle = shift;
    w.Harmonics.Koef = v.Garmonik.Faza(phase).Koef;
    w.Inter.Koef = v.InterGarm[phase].Koef;
    AbsoluteAngles(v.Garmonik.Faza(phase), v.InterGarm[phase], shift, w);
    return w;
}

TWaveBlocks CurrentWave(const TSignalParamsI& c, const TSignalParamsU& v, int phase) {
    TWaveBlocks w;
    const real shift = Shift(v, phase);
    w.FundamentalAngle = NormalizeAngle(shift - PhiUI(c, phase));
    w.Harmonics.Koef = c.Garmonik.Faza(phase).Koef;
    w.Inter.Koef = c.InterGarm[phase].Koef;
    AbsoluteAngles(v.Garmonik.Faza(phase), v.InterGarm[phase], shift, w);
    const TGarmonikFaza& hi = c.Garmonik.Faza(phase);
    for (int n = 2; n <= kHarmonics; ++n) w.Harmonics.Angle[n] -= hi.Angle[n];
    for (int m = 1; m <= kInterHarmonics; ++m) w.Inter.Angle[m] -= c.InterGarm[phase].Angle[m];
    return w;
}

real OutputFilterFactor(real f, real order) {
    const real w1 = 2 * kPi * f * order * kFilterPole1;
    const real w2 = 2 * kPi * f * order * kFilterPole2;
    return std::sqrt(1 + w1 * w1) * std::sqrt(1 + w2 * w2);
}

real InstantValue(const TWaveBlocks& w, int i, bool filter, bool includeInter, bool fundamentalOn, real f, int samples,
                  real deviation) {
    const real g = includeInter ? 2 : 1;
    const real h = i * 2 * kPi / samples;
    real sum = fundamentalOn ? std::sin(Radians(w.FundamentalAngle) + h * g) : 0;
    for (int n = 2; n <= kHarmonics; ++n) {
        const real k = w.Harmonics.Koef[n];
        if (k == 0) continue;
        const real gain = filter ? OutputFilterFactor(f, n) : 1;
        sum += k / 100 * gain * std::sin(Radians(w.Harmonics.Angle[n]) + h * n * g);
    }
    if (includeInter) {
        for (int m = 1; m <= kInterHarmonics; ++m) {
            const real k = w.Inter.Koef[m];
            if (k == 0) continue;
            const real order = m + 0.5L;
            const real gain = filter ? OutputFilterFactor(f, order) : 1;
            sum += k / 100 * gain * std::sin(Radians(w.Inter.Angle[m]) + h * order * g);
        }
    }
    return (1 + deviation / 100) * sum;
}

std::vector<real> PhaseWaveform(const TWaveBlocks& w, real fundamentalRms, bool includeInter, bool fundamentalOn,
                                int samples) {
    std::vector<real> values(std::clamp(samples, 0, kChartSamples));
    const real amplitude = std::sqrt(2.0L) * fundamentalRms;
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = amplitude * InstantValue(w, static_cast<int>(i), false, includeInter, fundamentalOn, 0, samples, 0);
    return values;
}

std::vector<real> LineWaveform(const std::vector<real>& x, const std::vector<real>& y) {
    std::vector<real> values(std::min(x.size(), y.size()));
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = x[i] - y[i];
    return values;
}

}  // namespace sig
