#include <gtest/gtest.h>

#include <cmath>

#include "CommonUtils/TalvoError.h"
#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Helpers.h"

namespace {

using sig::real;

double D(real x) { return static_cast<double>(x); }

// The difference of two angles in degrees, folded: 179.99999 and -180 are close.
double AngleGap(real a, real b) { return std::fabs(D(sig::NormalizeAngle(a - b))); }

class Voltage : public ::testing::Test {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal(100);
    sig::TSignalParamsU& v = s->Voltage;

    void SetUp() override {
        v.NominalFaza = 100;
        v.NominalLine = 173.20508L;
    }
    void Calc() { sig::CalcVoltageParams(v, s->Switches); }
};

TEST_F(Voltage, BalancedSetGivesTheLineValuesAndNoUnbalance) {
    Calc();
    EXPECT_NEAR(D(v.ULine[sig::lnAB]), 173.20508, 1e-9);
    EXPECT_NEAR(D(v.LineAngle[sig::lnAB]), 30, 1e-6);
    EXPECT_NEAR(D(v.LineAngle[sig::lnBC]), -90, 1e-6);
    EXPECT_EQ(v.KUNeg, 0);
    EXPECT_EQ(v.KUZero, 0);
    EXPECT_EQ(v.ULineRms[sig::lnCA], v.ULine[sig::lnCA]);
    EXPECT_EQ(v.FazaAngleDiff[sig::lnCA], 120);
    EXPECT_EQ(v.FazaAngleDiff[sig::lnBC], 120);  // -120 - 120, folded
    EXPECT_NEAR(D(v.SymFaza.Pos.Magnitude), 100, 1e-5);
    EXPECT_EQ(v.DeltaU1, 0);
    EXPECT_EQ(v.DeltaULine[sig::lnAB], 0);
}

TEST_F(Voltage, AllZeroVoltagesCountAsFullyUnbalanced) {
    v.UA = v.UB = v.UC = 0;
    Calc();
    EXPECT_EQ(v.KUNeg, 100);
    EXPECT_EQ(v.KUZero, 100);
    EXPECT_EQ(v.DeltaUMinus[sig::fzA], 100);
    EXPECT_EQ(v.DeltaUPlus[sig::fzA], 0);
}

TEST_F(Voltage, ASwitchedOffPhaseKeepsOnlyItsHarmonicsButItsLinesDoNot) {
    s->Switches.UOnA = false;
    v.Garmonik.SetKoef("faza_a", 5, 10);
    Calc();
    EXPECT_NEAR(D(v.URmsA), 10, 1e-12);
    EXPECT_NEAR(D(v.ULine[sig::lnAB]), 173.20508, 1e-9);
    // The line's total: only B's fundamental, plus the harmonic A carries alone.
    const real expected = std::sqrt(100.0L * 100 + 10.0L * 10);
    EXPECT_NEAR(D(v.ULineRms[sig::lnAB]), D(expected), 2e-5);
}

TEST_F(Voltage, HarmonicCountLimitsTheDistortionFactorOnly) {
    s->Switches.HarmCountU = 40;
    v.Garmonik.SetKoef("faza_a", 3, 3);
    v.Garmonik.SetKoef("faza_a", 45, 4);
    Calc();
    EXPECT_NEAR(D(v.KU[sig::fzA]), 3, 1e-6);
    EXPECT_NEAR(D(v.URmsA), 100 * std::sqrt(1.0025), 1e-5);
    s->Switches.HarmCountU = 50;
    Calc();
    EXPECT_NEAR(D(v.KU[sig::fzA]), 5, 1e-6);
}

TEST_F(Voltage, BalancedFifthHarmonicAppearsOnTheLines) {
    for (const char* phase : {"faza_a", "faza_b", "faza_c"}) v.Garmonik.SetKoef(phase, 5, 10);
    Calc();
    // A negative-sequence fifth: 10 % of each line, at -30 - 5 x 30 degrees.
    EXPECT_NEAR(D(v.Garmonik.GetKoef("faza_ab", 5)), 10, 1e-5);
    EXPECT_NEAR(AngleGap(v.Garmonik.GetAngle("faza_ab", 5), -180), 0, 1e-4);
    EXPECT_NEAR(D(v.Garmonik.GetKoef("faza_ca", 5)), 10, 1e-5);
    EXPECT_NEAR(D(v.UGarmVolts[sig::fzAB][5]), 17.3205, 1e-4);
    EXPECT_NEAR(D(v.ULineRms[sig::lnAB]), std::sqrt(173.20508 * 173.20508 + 17.32051 * 17.32051), 1e-9);
    EXPECT_NEAR(D(v.KU[sig::fzBC]), 10, 1e-5);
    // Line values go through the store's single precision.
    const real k = v.Garmonik.GetKoef("faza_ab", 5);
    EXPECT_EQ(k, static_cast<real>(static_cast<float>(k)));
}

TEST_F(Voltage, HarmonicAngleDifferencesNeedBothHarmonics) {
    v.Garmonik.SetKoef("faza_a", 5, 10);
    v.Garmonik.SetKoef("faza_b", 5, 10);
    v.Garmonik.SetAngle("faza_a", 5, 20);
    Calc();
    EXPECT_NEAR(D(v.Garmonik.GetAngle("faza_a_b", 5)), -100, 1e-4);  // 20 - (0 - 600), folded
    EXPECT_EQ(v.Garmonik.GetAngle("faza_b_c", 5), 0);
    EXPECT_EQ(v.Garmonik.GetAngle("faza_c_a", 5), 0);
}

TEST_F(Voltage, InterharmonicsCountOnlyWhenIncluded) {
    v.InterGarm[sig::fzA].Koef[4] = 20;
    Calc();
    EXPECT_NEAR(D(v.URmsA), 100, 1e-12);
    EXPECT_NEAR(D(v.InterGarm[sig::fzAB].Koef[4]), 20 * 100 / 173.20508, 1e-4);
    s->Switches.IncludeInterGarm = true;
    Calc();
    EXPECT_NEAR(D(v.URmsA), 100 * std::sqrt(1.04), 1e-5);
    EXPECT_NEAR(D(v.UInterVolts[sig::fzA][4]), 20, 1e-12);
    EXPECT_EQ(v.KU[sig::fzA], 0);  // the distortion factor shown leaves interharmonics out
}

TEST_F(Voltage, AZeroNominalStopsTheCalculationWhereItArises) {
    v.NominalFaza = 0;
    v.UMean = 777;
    v.DeltaUA = 5;
    v.UA = 90;
    try {
        Calc();
        FAIL() << "no error for a zero nominal";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Значение номинала должно быть отличным от нуля");
    }
    EXPECT_NEAR(D(v.URmsA), 90, 1e-12);  // written before the deviations
    EXPECT_EQ(v.DeltaUA, 5);             // not written
    EXPECT_EQ(v.UMean, 777);             // written after them
}

TEST(Current, SequencesNeutralAndTotals) {
    auto s = talvo_test::BalancedSignal(57.735L, 5, 30);
    sig::TSignalParamsI& c = s->Current;
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(c, s->Voltage, s->Switches);
    EXPECT_NEAR(D(c.I1), 5, 1e-5);
    EXPECT_EQ(c.I2, 0);
    EXPECT_EQ(c.KINeg, 0);
    EXPECT_NEAR(D(c.PhiUI1), 30, 1e-4);
    EXPECT_NEAR(D(c.AngleIB), -150, 1e-12);
    EXPECT_NEAR(D(c.IAngleDiff[sig::lnAB]), 120, 1e-12);
    EXPECT_EQ(c.IN1, 0);
    EXPECT_EQ(c.IRmsA, 5);
    EXPECT_EQ(c.DeltaIA, 0);
}

TEST(Current, ZeroCurrentsHaveNoUnbalance) {
    auto s = talvo_test::BalancedSignal(57.735L, 0);
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    EXPECT_EQ(s->Current.KINeg, 0);
    EXPECT_EQ(s->Current.KIZero, 0);
}

TEST(Current, OnePhaseAloneIsEquallyInEverySequence) {
    auto s = talvo_test::BalancedSignal();
    sig::TSignalParamsI& c = s->Current;
    c.IB = c.IC = 0;
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(c, s->Voltage, s->Switches);
    EXPECT_NEAR(D(c.I1), 5.0 / 3, 1e-5);
    EXPECT_NEAR(D(c.KINeg), 100, 1e-9);
    EXPECT_NEAR(D(c.KIZero), 100, 1e-9);
    EXPECT_EQ(c.IN1, 5);
}

TEST(Current, TripleHarmonicsAddUpInTheNeutral) {
    auto s = talvo_test::BalancedSignal();
    for (const char* phase : {"faza_a", "faza_b", "faza_c"}) s->Current.Garmonik.SetKoef(phase, 3, 10);
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    EXPECT_NEAR(D(s->Current.INRms), 1.5, 1e-6);
    EXPECT_NEAR(D(s->Current.IGarmAmps[sig::fzB][3]), 0.5, 1e-7);
    EXPECT_NEAR(D(s->Current.IRmsC), 5 * std::sqrt(1.01), 1e-5);
}

TEST(Current, DeviationIsTakenAgainstTheReferenceCurrent) {
    auto s = talvo_test::BalancedSignal(57.735L, 1.2L);
    s->Current.Nominal = 1;
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    EXPECT_NEAR(D(s->Current.DeltaIA), 20, 1e-12);
    EXPECT_NEAR(D(s->Current.IRmsA), 1.2, 1e-12);
}

TEST(ThreeWire, PhaseBIsMinusTheSumOfAAndC) {
    auto s = talvo_test::BalancedSignal(57.735L, 5);
    sig::TSignalParamsI& c = s->Current;
    c.IB = 0;
    c.PhiUIB = 77;
    c.Garmonik.SetKoef("faza_a", 5, 10.3f);
    c.Garmonik.SetKoef("faza_c", 5, 10.3f);
    c.Garmonik.SetAngle("faza_c", 5, 1.7f);
    c.InterGarm[sig::fzA].Koef[3] = 7;
    c.InterGarm[sig::fzC].Koef[3] = 7;
    sig::DeriveThreeWireCurrentB(s->Voltage, c);
    EXPECT_NEAR(D(c.IB), 5, 1e-5);
    EXPECT_NEAR(AngleGap(c.PhiUIB, 0), 0, 1e-4);
    // A's fifth at 0 degrees, C's at 600 - 1.7: their sum spans 2 cos(60.85) of each.
    EXPECT_NEAR(D(c.Garmonik.b.Koef[5]), 2 * 0.515 * std::cos(60.85 * M_PI / 180) / 5 * 100, 1e-5);
    EXPECT_NEAR(AngleGap(c.Garmonik.b.Angle[5], 0.85), 0, 0.01);  // halfway between A's 0 and C's 1.7
    EXPECT_GT(c.InterGarm[sig::fzB].Koef[3], 0);
    // Written as computed, not narrowed to single precision.
    const real k = c.Garmonik.b.Koef[5];
    EXPECT_NE(k, static_cast<real>(static_cast<float>(k)));
}

TEST(ThreeWire, CancellingPhasesLeaveBEmpty) {
    auto s = talvo_test::BalancedSignal(57.735L, 5);
    sig::TSignalParamsI& c = s->Current;
    c.PhiUIC = -60;  // C's current at 180 degrees, against A's at 0
    c.Garmonik.SetKoef("faza_a", 5, 10);
    c.Garmonik.SetKoef("faza_c", 7, 10);
    c.Garmonik.b.Koef[5] = 3;
    c.Garmonik.b.Angle[5] = 40;
    c.InterGarm[sig::fzA].Koef[2] = 5;
    c.InterGarm[sig::fzB].Angle[2] = 15;
    sig::DeriveThreeWireCurrentB(s->Voltage, c);
    EXPECT_EQ(c.IB, 0);
    for (int n = 2; n <= sig::kHarmonics; ++n) {
        EXPECT_EQ(c.Garmonik.b.Koef[n], 0);
        EXPECT_EQ(c.Garmonik.b.Angle[n], 0);
    }
    EXPECT_EQ(c.InterGarm[sig::fzB].Koef[2], 0);
    EXPECT_EQ(c.InterGarm[sig::fzB].Angle[2], 0);
}

}  // namespace
