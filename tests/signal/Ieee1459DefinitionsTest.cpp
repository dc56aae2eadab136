#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Ieee1459.h"

// The IEEE 1459 quantities of a signal on which no term vanishes (unbalance,
// neutral current, harmonic active power in every phase), computed here from
// the standard's definitions and the signal's settings alone.
namespace {

using C = std::complex<double>;
constexpr double kDeg = M_PI / 180;
const char* const kPhase[3] = {"faza_a", "faza_b", "faza_c"};

double D(sig::real x) { return static_cast<double>(x); }
double Sq(double x) { return x * x; }

// What the standard's formulas take, from the settings: per phase the
// fundamental and total RMS values, the harmonic active power, the
// fundamental phasors; the lines and the neutral from them.
struct TInputs {
    double U1[3], U[3], I1[3], I[3], P1[3], P[3];
    C Uph[3], Iph[3];
    double U1Line[3], ULine[3], IN1, IN;
};

TInputs FromSettings(const sig::TSignalSet& s) {
    TInputs in{};
    const sig::TSignalParamsU& v = s.Voltage;
    const sig::TSignalParamsI& c = s.Current;
    const double u1[3] = {D(v.UA), D(v.UB), D(v.UC)}, shift[3] = {D(v.ShiftA), D(v.ShiftB), D(v.ShiftC)};
    const double i1[3] = {D(c.IA), D(c.IB), D(c.IC)}, phi[3] = {D(c.PhiUIA), D(c.PhiUIB), D(c.PhiUIC)};
    double harmU[3] = {}, harmI[3] = {};  // squares of the harmonic RMS values
    double neutralHarm = 0;
    int owner[51] = {};  // the phase whose voltage has the order, +1
    for (int p = 0; p < 3; ++p) {
        in.U1[p] = u1[p], in.I1[p] = i1[p];
        in.Uph[p] = std::polar(u1[p], shift[p] * kDeg);
        in.Iph[p] = std::polar(i1[p], (shift[p] - phi[p]) * kDeg);
        in.P1[p] = u1[p] * i1[p] * std::cos(phi[p] * kDeg);
        in.P[p] = in.P1[p];
        for (int n = 2; n <= 50; ++n) {
            const double un = u1[p] * D(v.Garmonik.GetKoef(kPhase[p], n)) / 100;
            const double in_ = i1[p] * D(c.Garmonik.GetKoef(kPhase[p], n)) / 100;
            const double angle = D(c.Garmonik.GetAngle(kPhase[p], n));  // voltage minus current
            harmU[p] += Sq(un), harmI[p] += Sq(in_);
            in.P[p] += un * in_ * std::cos(angle * kDeg);
            neutralHarm += Sq(in_);
            if (un > 0) {
                EXPECT_EQ(owner[n], 0) << "the signal keeps each order to one phase";
                owner[n] = p + 1;
            }
        }
        in.U[p] = std::sqrt(Sq(u1[p]) + harmU[p]);
        in.I[p] = std::sqrt(Sq(i1[p]) + harmI[p]);
    }
    // Orders of one phase only: a line carries the harmonics of both its phases whole.
    for (int l = 0; l < 3; ++l) {
        const int a = l, b = (l + 1) % 3;
        in.U1Line[l] = std::abs(in.Uph[a] - in.Uph[b]);
        in.ULine[l] = std::sqrt(Sq(in.U1Line[l]) + harmU[a] + harmU[b]);
    }
    in.IN1 = std::abs(in.Iph[0] + in.Iph[1] + in.Iph[2]);
    in.IN = std::sqrt(Sq(in.IN1) + neutralHarm);
    return in;
}

double PowerFactor(double p, double s) { return s > 0 ? std::clamp(p / s, -1.0, 1.0) : (p > 0) - (p < 0); }

struct TView {
    double Ue, Ie, Ue1, Ie1;
};

TEST(Ieee1459Definitions, EveryTermOfAnUnbalancedDistortedSignal) {
    const std::unique_ptr<sig::TSignalSet> s = talvo_test::UnbalancedDistortedSignal();
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    sig::CalcPowerParams(s->Voltage, s->Current, s->Switches, false, s->Energy,
                         {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
    sig::CalcIeee1459(s->Voltage, s->Current, s->Switches, s->FundamentalPowers, s->FullPowers, s->Ieee1459);
    const sig::TIeee1459Params& r = s->Ieee1459;
    const TInputs in = FromSettings(*s);
    // The records carry their values in five decimals; the parts beyond the
    // fundamentals, roots of differences of squares, magnify that rounding.
    const auto near = [](sig::real actual, double expected, const char* what, double scale = 0) {
        EXPECT_NEAR(D(actual), expected, 1e-4 * std::max({1.0, std::abs(expected), scale})) << what;
    };

    double phSum = 0;
    for (int x = 0; x < 3; ++x) {
        SCOPED_TRACE(x);
        const double s1 = in.U1[x] * in.I1[x], uH = std::sqrt(Sq(in.U[x]) - Sq(in.U1[x]));
        const double iH = std::sqrt(Sq(in.I[x]) - Sq(in.I1[x]));
        const double di = iH * s1 / in.I1[x], du = uH * s1 / in.U1[x], sh = uH * iH * s1 / (in.I1[x] * in.U1[x]);
        const double ph = in.P[x] - in.P1[x];
        ASSERT_GT(ph, 0.1);  // every phase has harmonic active power of its own
        near(r.DI[x], di, "DI");
        near(r.DU[x], du, "DU");
        near(r.SH[x], sh, "SH");
        near(r.SN[x], std::sqrt(Sq(di) + Sq(du) + Sq(sh)), "SN");
        near(r.PH[x], ph, "PH");
        near(r.DH[x], std::sqrt(Sq(sh) - Sq(ph)), "DH", sh);
        phSum += ph;
    }
    near(r.PHSum, phSum, "PHSum");

    const double pSum = in.P[0] + in.P[1] + in.P[2];
    const auto sum2 = [](const double* x) { return Sq(x[0]) + Sq(x[1]) + Sq(x[2]); };
    const TView four{std::sqrt((3 * sum2(in.U) + sum2(in.ULine)) / 18), std::sqrt((sum2(in.I) + Sq(in.IN)) / 3),
                     std::sqrt((3 * sum2(in.U1) + sum2(in.U1Line)) / 18), std::sqrt((sum2(in.I1) + Sq(in.IN1)) / 3)};
    const TView three{std::sqrt(sum2(in.ULine) / 9), std::sqrt(sum2(in.I) / 3), std::sqrt(sum2(in.U1Line) / 9),
                      std::sqrt(sum2(in.I1) / 3)};
    // Positive sequence: a = 1∠120°.
    const C a = std::polar(1.0, 120 * kDeg);
    const C uPos = (in.Uph[0] + a * in.Uph[1] + a * a * in.Uph[2]) / 3.0;
    const C iPos = (in.Iph[0] + a * in.Iph[1] + a * a * in.Iph[2]) / 3.0;
    const double s1Pos = std::abs(uPos) * std::abs(iPos), p1Pos = (uPos * std::conj(iPos)).real();
    near(r.K1, PowerFactor(p1Pos, s1Pos), "K1");

    struct TExpected {
        const TView& View;
        sig::real Se, KE, DeI, DeU, SeH, SeN, DeH, HP, LU;
        const char* Name;
    };
    for (const TExpected& e :
         {TExpected{four, r.Se4, r.KE4, r.DeI4, r.DeU4, r.SeH4, r.SeN4, r.DeH4, r.HP4, r.LU4, "4w"},
          TExpected{three, r.Se3, r.KE3, r.DeI3, r.DeU3, r.SeH3, r.SeN3, r.DeH3, r.HP3, r.LU3, "3w"}}) {
        SCOPED_TRACE(e.Name);
        const TView& w = e.View;
        const double ueH = std::sqrt(Sq(w.Ue) - Sq(w.Ue1)), ieH = std::sqrt(Sq(w.Ie) - Sq(w.Ie1));
        const double se = 3 * w.Ue * w.Ie, deI = 3 * w.Ue1 * ieH, deU = 3 * ueH * w.Ie1, seH = 3 * ueH * ieH;
        const double seN = std::sqrt(Sq(deI) + Sq(deU) + Sq(seH)), se1 = 3 * w.Ue1 * w.Ie1;
        near(e.Se, se, "Se");
        near(e.KE, pSum / se, "KE");
        near(e.DeI, deI, "DeI");
        near(e.DeU, deU, "DeU");
        near(e.SeH, seH, "SeH");
        near(e.SeN, seN, "SeN");
        near(e.DeH, std::sqrt(std::max(Sq(seH) - Sq(phSum), 0.0)), "DeH");
        near(e.HP, std::min(seN / se1 * 100, 100.0), "HP");
        const double s1 = 3 * s1Pos;
        ASSERT_GT(se1, s1);  // the unbalance is real
        EXPECT_NEAR(D(e.LU), std::min(std::sqrt(Sq(se1) - Sq(s1)) / s1 * 100, 100.0), 1e-3) << "LU";
    }
}

}  // namespace
