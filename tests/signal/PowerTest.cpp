#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Ieee1459.h"

namespace {

using sig::real;

double D(real x) { return static_cast<double>(x); }

class Powers : public ::testing::Test {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal(57.735L, 5, -30);

    void Calc(bool fullShown = false) {
        sig::CalcVoltageParams(s->Voltage, s->Switches);
        sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
        sig::CalcPowerParams(s->Voltage, s->Current, s->Switches, fullShown, s->Energy,
                             {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
        sig::CalcHarmonicPowers(s->Voltage, s->Current, s->FundamentalPowers);
    }
    void AddFifth() {
        for (const char* phase : {"faza_a", "faza_b", "faza_c"}) {
            s->Voltage.Garmonik.SetKoef(phase, 5, 8);
            s->Current.Garmonik.SetKoef(phase, 5, 20);
            s->Current.Garmonik.SetAngle(phase, 5, 60);
        }
    }
};

TEST_F(Powers, FundamentalPowersOfABalancedSet) {
    Calc();
    const sig::TPowerParams& f = s->FundamentalPowers;
    EXPECT_NEAR(D(f.S[sig::fzA]), 288.675, 1e-9);
    EXPECT_NEAR(D(f.P[sig::fzA]), 249.99988, 1e-9);
    EXPECT_NEAR(D(f.Q[sig::fzA]), -144.3375, 1e-5);
    EXPECT_NEAR(D(f.CosPhi[sig::fzB]), std::sqrt(3) / 2, 1e-15);
    EXPECT_NEAR(D(f.PSum), 749.99964, 1e-9);
    EXPECT_NEAR(D(f.PFactor[sig::kSum]), std::sqrt(3) / 2, 1e-6);
    EXPECT_NEAR(D(f.SSeq[sig::sqPos]), 288.675, 1e-4);
    EXPECT_NEAR(D(f.QSeq[sig::sqPos]), -144.3375, 1e-4);
    EXPECT_EQ(f.SSeq[sig::sqNeg], 0);
    EXPECT_EQ(f.PFactor[sig::fzA], f.P[sig::fzA] / f.S[sig::fzA]);
}

TEST_F(Powers, LeadingCurrentWithHarmonicsGivesNegativeFullReactivePower) {
    AddFifth();
    Calc();
    const sig::TPowerParams& w = s->FullPowers;
    EXPECT_LT(w.Q[sig::fzA], 0);
    EXPECT_NEAR(D(w.S[sig::fzA]), D(s->Voltage.URmsA * s->Current.IRmsA), 1e-5);
    const real p5 = (57.735L * 0.08L) * (5 * 0.2L) * std::cos(60 * M_PIl / 180);
    EXPECT_NEAR(D(w.P[sig::fzA]), D(s->FundamentalPowers.P[sig::fzA] + p5), 1e-5);
    EXPECT_EQ(w.CosPhi[sig::fzA], s->FundamentalPowers.CosPhi[sig::fzA]);
    const real q = std::sqrt(w.S[sig::fzA] * w.S[sig::fzA] - w.P[sig::fzA] * w.P[sig::fzA]);
    EXPECT_NEAR(D(-w.Q[sig::fzA]), D(q), 1e-3);
}

TEST_F(Powers, ASwitchedOffChannelCarriesNoFundamentalPower) {
    AddFifth();
    s->Switches.IOnB = false;
    Calc();
    EXPECT_EQ(s->FundamentalPowers.S[sig::fzB], 0);
    EXPECT_EQ(s->FundamentalPowers.P[sig::fzB], 0);
    EXPECT_EQ(s->FundamentalPowers.CosPhi[sig::fzB], 0);
    EXPECT_EQ(s->FundamentalPowers.PFactor[sig::fzB], 0);
    // The full power still holds what the harmonic current meets.
    EXPECT_GT(s->FullPowers.S[sig::fzB], 0);
}

TEST_F(Powers, TheShownRecordFollowsTheChoice) {
    AddFifth();
    Calc(false);
    EXPECT_EQ(s->ShownPowers.P, s->FundamentalPowers.P);
    Calc(true);
    EXPECT_EQ(s->ShownPowers.P, s->FullPowers.P);
    EXPECT_EQ(s->ShownPowers.SSum, s->FullPowers.SSum);
}

TEST_F(Powers, PerHarmonicPowersStayInTheFundamentalRecord) {
    AddFifth();
    Calc();
    const sig::TPowerParams& f = s->FundamentalPowers;
    const real s5 = (57.735L * 8 / 100) * (5 * 20.0L / 100);
    EXPECT_NEAR(D(f.SGarm[sig::fzA][5]), D(s5), 1e-12);
    EXPECT_NEAR(D(f.PGarm[sig::fzC][5]), D(s5 / 2), 1e-12);
    EXPECT_NEAR(D(f.QGarmSum[5]), D(3 * s5 * std::sqrt(3.0L) / 2), 1e-10);
    EXPECT_EQ(f.SGarm[sig::fzA][7], 0);
    // Recomputing the powers leaves them in place until they are recomputed themselves.
    sig::CalcPowerParams(s->Voltage, s->Current, s->Switches, false, s->Energy,
                         {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
    EXPECT_NEAR(D(f.SGarm[sig::fzA][5]), D(s5), 1e-12);
    EXPECT_EQ(s->FullPowers.SGarm[sig::fzA][5], 0);
}

TEST_F(Powers, EnergyOverTheTestTime) {
    s->Energy.TestSeconds = 1800;
    Calc();
    EXPECT_NEAR(D(s->Energy.EnergyP), D(s->FullPowers.PSum / 2), 1e-9);
    EXPECT_LT(s->Energy.EnergyQ, 0);
}

class Ieee : public ::testing::Test {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal(57.735L, 5, 30);

    void Calc() {
        sig::CalcVoltageParams(s->Voltage, s->Switches);
        sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
        sig::CalcPowerParams(s->Voltage, s->Current, s->Switches, false, s->Energy,
                             {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
        Ieee1459();
    }
    void Ieee1459() {
        sig::CalcIeee1459(s->Voltage, s->Current, s->Switches, s->FundamentalPowers, s->FullPowers, s->Ieee1459);
    }
};

TEST_F(Ieee, PureBalancedSignalHasNoDistortionOrUnbalance) {
    Calc();
    const sig::TIeee1459Params& r = s->Ieee1459;
    // Exactly 0: the totals' five-decimal rounding is not taken for distortion.
    for (int x = sig::fzA; x <= sig::fzC; ++x) {
        EXPECT_EQ(r.DI[x], 0);
        EXPECT_EQ(r.DU[x], 0);
        EXPECT_EQ(r.SH[x], 0);
        EXPECT_EQ(r.SN[x], 0);
        EXPECT_NEAR(D(r.PH[x]), 0, 1e-9);
        EXPECT_EQ(r.DH[x], 0);
    }
    EXPECT_EQ(r.DeI4, 0);
    EXPECT_EQ(r.DeU4, 0);
    EXPECT_EQ(r.SeN4, 0);
    EXPECT_EQ(r.SeN3, 0);
    EXPECT_EQ(r.HP4, 0);
    EXPECT_EQ(r.HP3, 0);
    EXPECT_EQ(r.LU4, 0);
    EXPECT_EQ(r.LU3, 0);
    const double cosPhi = std::cos(30 * M_PI / 180);
    EXPECT_NEAR(D(r.KE4), cosPhi, 1e-6);
    EXPECT_NEAR(D(r.KE3), cosPhi, 1e-6);
    EXPECT_NEAR(D(r.K1), cosPhi, 1e-6);
    EXPECT_NEAR(D(r.Se4), 3 * 288.675, 1e-3);
}

TEST_F(Ieee, HarmonicsShowAsDistortionAndPollution) {
    for (const char* phase : {"faza_a", "faza_b", "faza_c"}) {
        s->Voltage.Garmonik.SetKoef(phase, 3, 5);
        s->Current.Garmonik.SetKoef(phase, 3, 40);
    }
    Calc();
    const sig::TIeee1459Params& r = s->Ieee1459;
    // Per phase: DI = I_H x S1 / I1 = 0.4 x S1, DU = 0.05 x S1, SH = 0.02 x S1.
    const double s1 = D(s->FundamentalPowers.S[sig::fzA]);
    EXPECT_NEAR(D(r.DI[sig::fzA]), 0.4 * s1, 1e-3);
    EXPECT_NEAR(D(r.DU[sig::fzA]), 0.05 * s1, 1e-3);
    EXPECT_NEAR(D(r.SH[sig::fzA]), 0.02 * s1, 1e-3);
    EXPECT_EQ(r.PH[sig::fzA], s->FullPowers.P[sig::fzA] - s->FundamentalPowers.P[sig::fzA]);
    EXPECT_GT(r.HP4, 0);
    EXPECT_EQ(r.PHSum, r.PH[sig::fzA] + r.PH[sig::fzB] + r.PH[sig::fzC]);
    // Triple harmonics flow in the neutral: the four-wire view sees more current distortion.
    EXPECT_GT(r.DeI4, r.DeI3);
}

// A channel switched off keeps its fundamental value but carries only its
// harmonics: that phase's fundamental apparent power is 0.
TEST_F(Ieee, APhaseWithOnlyHarmonicCurrentTakesItsFullApparentPower) {
    s = talvo_test::BalancedSignal(57.735L, 5, 0);
    for (const char* phase : {"faza_a", "faza_b", "faza_c"}) {
        s->Voltage.Garmonik.SetKoef(phase, 3, 10);
        s->Current.Garmonik.SetKoef(phase, 3, 20);
    }
    s->Switches.IOnA = false;
    Calc();
    const sig::TIeee1459Params& r = s->Ieee1459;
    ASSERT_GT(s->FullPowers.S[sig::fzA], 0);
    EXPECT_EQ(r.DI[sig::fzA], s->FullPowers.S[sig::fzA]);
    EXPECT_EQ(r.SH[sig::fzA], s->FullPowers.S[sig::fzA]);
    EXPECT_EQ(r.DU[sig::fzA], 0);
    EXPECT_GT(r.DeI4, 0);  // the 1 A of harmonic current in A is distortion

    // The same with the voltage channel off: DU and SH take the full power.
    s->Switches.IOnA = true;
    s->Switches.UOnA = false;
    Calc();
    EXPECT_EQ(r.DU[sig::fzA], s->FullPowers.S[sig::fzA]);
    EXPECT_EQ(r.SH[sig::fzA], s->FullPowers.S[sig::fzA]);
    EXPECT_EQ(r.DI[sig::fzA], 0);
}

// Load unbalance by its definition, on the set values, unrounded: the
// effective fundamental apparent power against three times the
// positive-sequence apparent power, sequences by the operator a = 1∠120°.
struct TUnbalance {
    double LU4, LU3;
};

TUnbalance ReferenceUnbalance(const sig::TSignalSet& s) {
    using C = std::complex<long double>;
    const auto at = [](real magnitude, real degrees) { return std::polar(magnitude, degrees * M_PIl / 180); };
    const sig::TSignalParamsU& v = s.Voltage;
    const sig::TSignalParamsI& c = s.Current;
    const C u[3] = {at(v.UA, v.ShiftA), at(v.UB, v.ShiftB), at(v.UC, v.ShiftC)};
    const C i[3] = {at(c.IA, v.ShiftA - c.PhiUIA), at(c.IB, v.ShiftB - c.PhiUIB), at(c.IC, v.ShiftC - c.PhiUIC)};
    const C a = at(1, 120);
    const real s1 =
        3 * std::abs((u[0] + a * u[1] + a * a * u[2]) / 3.0L) * std::abs((i[0] + a * i[1] + a * a * i[2]) / 3.0L);
    real phases = 0, lines = 0, currents = 0;
    for (int x = 0; x < 3; ++x) {
        phases += std::norm(u[x]);
        lines += std::norm(u[x] - u[(x + 1) % 3]);
        currents += std::norm(i[x]);
    }
    const real neutral = std::norm(i[0] + i[1] + i[2]);
    const real se4 = 3 * std::sqrt((3 * phases + lines) / 18) * std::sqrt((currents + neutral) / 3);
    const real se3 = 3 * std::sqrt(lines / 9) * std::sqrt(currents / 3);
    const auto lu = [s1](real se) { return D(std::sqrt(se * se - s1 * s1) / s1 * 100); };
    return {lu(se4), lu(se3)};
}

// A balanced sine has exactly no load unbalance on either range, whatever the
// angle; a real unbalance of one volt or ten milliamperes shows with the value
// the definition gives, though the records carry their inputs in five decimals.
TEST_F(Ieee, LoadUnbalanceIsExactlyZeroForABalancedSineAndExactOtherwise) {
    for (const real u : {220.0L, 57.735L}) {
        for (const real phi : {0.0L, 30.0L, -75.0L}) {
            SCOPED_TRACE(testing::Message() << u << " V, " << phi << "°");
            s = talvo_test::BalancedSignal(u, 5, phi);
            if (u == 220) s->Voltage.Nominal = s->Voltage.NominalFaza = 220, s->Voltage.NominalLine = 380;
            Calc();
            EXPECT_EQ(s->Ieee1459.LU4, 0);
            EXPECT_EQ(s->Ieee1459.LU3, 0);

            s->Voltage.UB = u + 1;
            Calc();
            TUnbalance expected = ReferenceUnbalance(*s);
            EXPECT_GT(expected.LU4, 0.1);
            EXPECT_NEAR(D(s->Ieee1459.LU4), expected.LU4, 1e-6);
            EXPECT_NEAR(D(s->Ieee1459.LU3), expected.LU3, 1e-6);

            s->Voltage.UB = u;
            s->Current.IC = 5.01L;
            Calc();
            expected = ReferenceUnbalance(*s);
            EXPECT_GT(expected.LU3, 0.05);
            EXPECT_NEAR(D(s->Ieee1459.LU4), expected.LU4, 1e-6);
            EXPECT_NEAR(D(s->Ieee1459.LU3), expected.LU3, 1e-6);
        }
    }
}

TEST_F(Ieee, NothingAtAll) {
    s = std::make_unique<sig::TSignalSet>();
    s->Voltage.NominalFaza = s->Voltage.NominalLine = 57.735L;
    s->Current.Nominal = 1;
    Calc();
    EXPECT_EQ(s->Ieee1459.Se4, 0);
    EXPECT_EQ(s->Ieee1459.KE4, 0);
    EXPECT_EQ(s->Ieee1459.HP4, 100);
    EXPECT_EQ(s->Ieee1459.LU3, 100);
    s->FullPowers.PSum = -5;
    Ieee1459();
    EXPECT_EQ(s->Ieee1459.KE4, -1);
    EXPECT_EQ(s->Ieee1459.KE3, -1);
}

}  // namespace
