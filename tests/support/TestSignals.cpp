#include "TestSignals.h"

namespace talvo_test {

std::unique_ptr<sig::TSignalSet> BalancedSignal(sig::real u, sig::real i, sig::real phi) {
    auto s = std::make_unique<sig::TSignalSet>();
    sig::TSignalParamsU& v = s->Voltage;
    v.Nominal = v.NominalFaza = 57.735L;
    v.NominalLine = 100;
    v.FreqNominal = v.Freq = 50;
    v.UA = v.UB = v.UC = u;
    v.ShiftA = 0;
    v.ShiftB = -120;
    v.ShiftC = 120;
    sig::TSignalParamsI& c = s->Current;
    c.Nominal = 5;
    c.IA = c.IB = c.IC = i;
    c.PhiUIA = c.PhiUIB = c.PhiUIC = phi;
    return s;
}

void AddRichSpectrum(sig::TSignalSet& s) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        sig::TGarmonik& gu = s.Voltage.Garmonik;
        sig::TGarmonik& gi = s.Current.Garmonik;
        const auto block = static_cast<sig::TGarmonikPart>(phase);
        for (int n = 2; n <= sig::kHarmonics; ++n) {
            gu.SetKoef(block, n, static_cast<float>(0.2 + 0.05 * ((n + phase) % 7)));
            gu.SetAngle(block, n, static_cast<float>(7 * n - 40 * phase));
            gi.SetKoef(block, n, static_cast<float>(0.5 + 0.1 * ((n * 3 + phase) % 5)));
            gi.SetAngle(block, n, static_cast<float>(-60 + 11 * ((n + 2 * phase) % 12)));
        }
        for (int m = 1; m <= sig::kInterHarmonics; ++m) {
            s.Voltage.InterGarm[phase].Koef[m] = 0.1L + 0.02L * ((m + phase) % 4);
            s.Voltage.InterGarm[phase].Angle[m] = 13 * m - 25 * phase;
            s.Current.InterGarm[phase].Koef[m] = 0.3L + 0.05L * ((m + 2 * phase) % 3);
            s.Current.InterGarm[phase].Angle[m] = 45 - 9 * ((m + phase) % 10);
        }
    }
}

void RandomSpectrum(sig::TSignalSet& s, std::mt19937& rng, float low, float high) {
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

std::unique_ptr<sig::TSignalSet> UnbalancedDistortedSignal() {
    auto s = BalancedSignal();
    sig::TSignalParamsU& v = s->Voltage;
    v.UA = 60, v.UB = 55, v.UC = 50;
    v.ShiftB = -115, v.ShiftC = 125;
    sig::TSignalParamsI& c = s->Current;
    c.IA = 5, c.IB = 3, c.IC = 4;
    c.PhiUIA = c.PhiUIB = c.PhiUIC = 0;
    // per phase: the order on voltage and current, the order on the voltage only, the order on the current only
    const int orders[3][3] = {{3, 5, 11}, {7, 13, 17}, {19, 23, 29}};
    const float voltage[3][2] = {{4, 2.5F}, {3, 1.5F}, {2, 5}};
    const float current[3][2] = {{20, 8}, {12.5F, 6}, {10, 15}};
    for (int p = sig::fzA; p <= sig::fzC; ++p) {
        const auto block = static_cast<sig::TGarmonikPart>(p);
        v.Garmonik.SetKoef(block, orders[p][0], voltage[p][0]);
        v.Garmonik.SetKoef(block, orders[p][1], voltage[p][1]);
        c.Garmonik.SetKoef(block, orders[p][0], current[p][0]);
        c.Garmonik.SetKoef(block, orders[p][2], current[p][1]);
    }
    return s;
}

}  // namespace talvo_test
