#pragma once

#include <random>

#include "signal/SampleClock.h"
#include "signal/SignalSet.h"

namespace tabletest {

inline constexpr sig::real kLowRange = 57.735027L;  // full scale of the 57.7 V range

// Phases at 0, -120, 120 degrees at the full scale of the 57.7 V range and
// 5 A in phase with them, on a grid of `samples` per period.
inline sig::TSignalSet Balanced(int samples) {
    sig::TSignalSet s;
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.NominalLine = 100;
    v.Freq = 50;
    v.UA = v.UB = v.UC = kLowRange;
    v.ShiftB = -120;
    v.ShiftC = 120;
    s.Current.Nominal = 5;
    s.Current.IA = s.Current.IB = s.Current.IC = 5;
    s.Grid = {1, sig::SampleRate(1), samples, samples};
    return s;
}

// Every harmonic and interharmonic of voltage and current on every phase,
// coefficients drawn from [low, high] %, angles from the whole circle.
inline void RandomSpectrum(sig::TSignalSet& s, std::mt19937& rng, float low, float high) {
    std::uniform_real_distribution<float> koef(low, high), angle(-180, 180);
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        const auto block = static_cast<sig::TGarmonikPart>(p);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            s.Voltage.Garmonik.SetKoef(block, n, koef(rng));
            s.Voltage.Garmonik.SetAngle(block, n, angle(rng));
            s.Current.Garmonik.SetKoef(block, n, koef(rng));
            s.Current.Garmonik.SetAngle(block, n, angle(rng));
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            s.Voltage.InterGarm[p].Koef[m] = koef(rng);
            s.Voltage.InterGarm[p].Angle[m] = angle(rng);
            s.Current.InterGarm[p].Koef[m] = koef(rng);
            s.Current.InterGarm[p].Angle[m] = angle(rng);
        }
    }
}

}  // namespace tabletest
