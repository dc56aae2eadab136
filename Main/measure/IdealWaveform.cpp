#include "measure/IdealWaveform.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace msr {
namespace {

constexpr double kDeg = std::numbers::pi / 180.0;

void AddHarmonics(std::vector<TTerm>& terms, const sig::TGarmonikFaza& koef, const sig::TGarmonikFaza& angle,
                  double base, double shift, const sig::TGarmonikFaza* own) {
    for (int n = 2; n <= sig::kHarmonics; ++n) {
        const double k = static_cast<double>(koef.Koef[n]);
        if (k == 0) continue;
        double phase = n * shift + static_cast<double>(angle.Angle[n]);
        if (own != nullptr) phase -= static_cast<double>(own->Angle[n]);
        terms.push_back({static_cast<double>(n), base * k / 100.0, phase});
    }
}

void AddInterharmonics(std::vector<TTerm>& terms, const sig::TInterGarmonik& koef, const sig::TInterGarmonik& angle,
                       double base, double shift, const sig::TInterGarmonik* own) {
    for (int m = 1; m <= sig::kInterHarmonics; ++m) {
        const double k = static_cast<double>(koef.Koef[m]);
        if (k == 0) continue;
        const double order = m + 0.5;
        double phase = order * shift + static_cast<double>(angle.Angle[m]);
        if (own != nullptr) phase -= static_cast<double>(own->Angle[m]);
        terms.push_back({order, base * k / 100.0, phase});
    }
}

}  // namespace

std::vector<TTerm> IdealTerms(const sig::TSignalSet& s, int channel) {
    std::vector<TTerm> terms;
    const int phase = channel % 3;
    const double shift = static_cast<double>(sig::Shift(s.Voltage, phase));
    const bool inc = s.Switches.IncludeInterGarm;
    if (channel < 3) {
        const double u = static_cast<double>(sig::U(s.Voltage, phase));
        if (sig::UOn(s.Switches, phase)) terms.push_back({1, u, shift});
        const sig::TGarmonikFaza& g = s.Voltage.Garmonik.Faza(phase);
        AddHarmonics(terms, g, g, u, shift, nullptr);
        if (inc) AddInterharmonics(terms, s.Voltage.InterGarm[phase], s.Voltage.InterGarm[phase], u, shift, nullptr);
        return terms;
    }
    // A current's angles are voltage-minus-current angles on the voltage's scale.
    const double i = static_cast<double>(sig::I(s.Current, phase));
    if (sig::IOn(s.Switches, phase)) terms.push_back({1, i, shift - static_cast<double>(sig::PhiUI(s.Current, phase))});
    const sig::TGarmonikFaza& gi = s.Current.Garmonik.Faza(phase);
    AddHarmonics(terms, gi, s.Voltage.Garmonik.Faza(phase), i, shift, &gi);
    if (inc)
        AddInterharmonics(terms, s.Current.InterGarm[phase], s.Voltage.InterGarm[phase], i, shift,
                          &s.Current.InterGarm[phase]);
    return terms;
}

std::vector<double> IdealValues(const std::vector<TTerm>& terms, double frequency, double step, std::size_t first,
                                std::size_t count) {
    std::vector<double> values(count, 0.0);
    // Each term turns by a fixed phasor per step; it is set anew every
    // 1024 steps so that rounding does not accumulate.
    constexpr std::size_t kRestart = 1024;
    for (const TTerm& t : terms) {
        const double w = 2 * std::numbers::pi * t.Order * frequency * step;
        const double amplitude = t.Rms * std::sqrt(2.0);
        const std::complex<double> turn = std::polar(1.0, w);
        std::complex<double> z;
        for (std::size_t i = 0; i < count; ++i) {
            if (i % kRestart == 0) z = std::polar(amplitude, w * static_cast<double>(first + i) + t.PhaseDeg * kDeg);
            values[i] += z.imag();
            z *= turn;
        }
    }
    return values;
}

}  // namespace msr
