#pragma once

// A signal with every harmonic and interharmonic set on every phase of
// voltage and current, for the benchmarks.
#include <memory>

#include "signal/SignalSet.h"

namespace bench {

inline std::unique_ptr<sig::TSignalSet> EveryComponentSignal() {
    auto s = std::make_unique<sig::TSignalSet>();
    sig::TSignalParamsU& v = s->Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.NominalLine = 100;
    v.FreqNominal = v.Freq = 50;
    v.UA = 57.735L, v.UB = 56, v.UC = 59;
    v.ShiftB = -118, v.ShiftC = 121;
    sig::TSignalParamsI& c = s->Current;
    c.Nominal = 5;
    c.IA = 5, c.IB = 4.5L, c.IC = 4.8L;
    c.PhiUIA = 30, c.PhiUIB = -20, c.PhiUIC = 45;
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        const auto block = static_cast<sig::TGarmonikPart>(phase);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            v.Garmonik.SetKoef(block, n, 0.5f + 0.01f * n);
            v.Garmonik.SetAngle(block, n, static_cast<float>(3 * n + phase));
            c.Garmonik.SetKoef(block, n, 1.0f + 0.02f * n);
            c.Garmonik.SetAngle(block, n, static_cast<float>(-2 * n + 5 * phase));
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            v.InterGarm[phase].Koef[m] = 0.2L + 0.01L * m;
            v.InterGarm[phase].Angle[m] = 4 * m;
            c.InterGarm[phase].Koef[m] = 0.4L + 0.01L * m;
            c.InterGarm[phase].Angle[m] = -3 * m;
        }
    }
    s->Switches.IncludeInterGarm = true;
    s->Grid = {1, 33333334.0L / 195, 3419, 3419};
    s->Collapses.Duration = 0.1L;
    s->Collapses.Period = 0.5L;
    s->Collapses.Count = 5;
    s->Collapses.Faza[sig::fzA].DepthPercent = 30;
    s->Koleb.Freq = 8.8L;
    s->Koleb.Swing = {0.3L, 0.3L, 0.3L};
    return s;
}

}  // namespace bench
