#include "measure/engine/WindowAnalysis.h"

#include <cmath>
#include <numbers>

#include "measure/engine/WindowSpectrum.h"

namespace msr {

double Rms(std::span<const double> x) {
    if (x.empty()) return 0;
    double sum = 0;
    for (double v : x) sum += v * v;
    return std::sqrt(sum / static_cast<double>(x.size()));
}

double TChannelAnalysis::Thd(int highest) const {
    if (Harmonic[1] <= 0) return 0;
    double sum = 0;
    for (int n = 2; n <= std::min(highest, kHighestOrder); ++n) sum += Harmonic[n] * Harmonic[n];
    return std::sqrt(sum) / Harmonic[1] * 100.0;
}

TChannelAnalysis AnalyseWindow(std::span<const double> window, int cycles) {
    const TWindowSpectrum s(window, cycles);
    TChannelAnalysis a;
    a.Rms = Rms(window);
    for (int n = 1; n <= kHighestOrder; ++n) {
        a.Harmonic[n] = s.HarmonicSubgroup(n);
        a.HarmonicPhasor[n] = s.Order(n);
    }
    for (int m = 1; m < kHighestOrder; ++m) {
        a.Interharmonic[m] = s.InterharmonicSubgroup(m);
        if (cycles % 2 == 0) a.InterPhasor[m] = s.Order(m + 0.5);
    }
    return a;
}

double TSequenceComponents::U2() const { return std::abs(Pos) > 0 ? std::abs(Neg) / std::abs(Pos) * 100.0 : 0.0; }
double TSequenceComponents::U0() const { return std::abs(Pos) > 0 ? std::abs(Zero) / std::abs(Pos) * 100.0 : 0.0; }

TSequenceComponents Sequences(std::complex<double> a, std::complex<double> b, std::complex<double> c) {
    const std::complex<double> r = std::polar(1.0, 2.0 * std::numbers::pi / 3.0);
    return {(a + r * b + r * r * c) / 3.0, (a + r * r * b + r * c) / 3.0, (a + b + c) / 3.0};
}

double FoldDegrees(double angle) {
    double x = std::fmod(angle + 180.0, 360.0);
    if (x < 0) x += 360.0;
    return x - 180.0;
}

double Degrees(std::complex<double> z) { return FoldDegrees(std::arg(z) * 180.0 / std::numbers::pi); }

}  // namespace msr
