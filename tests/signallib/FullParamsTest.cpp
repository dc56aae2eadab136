// The full parameters GetOutSignalData derives from a valid signal.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "SignalTalvoLibrary.h"

namespace {

using namespace talvo_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
const double kSqrt3 = std::sqrt(3.0);

TFullSignalParams Full(const TOutSignalParams& p) {
    std::int16_t code = -1;
    const TFullSignalParams full = FullParams(p, code);
    EXPECT_EQ(code, 0);
    return full;
}

template <class T>
bool AllZero(const T& block) {
    T zero;
    std::memset(&zero, 0, sizeof zero);
    return std::memcmp(&block, &zero, sizeof block) == 0;
}

TEST(FullParams, FrequencyIsTheOneTheSampleClockGives) {
    TOutSignalParams p = BalancedParams();
    TFullSignalParams full = Full(p);
    EXPECT_FLOAT_EQ(full.Frequency, 49.99712f);  // N = 3419
    EXPECT_NEAR(full.FrequencyDeviation, -0.00288, 1e-5);
    EXPECT_EQ(full.FrequencyKoef, 0);
    p.Frequency = 45;
    p.FrequencyKoef = 2.5f;
    full = Full(p);
    EXPECT_EQ(full.FrequencyKoef, 2.5f);
    // N = Round(170940.169 / (1.025 * 45)) = 3706
    EXPECT_NEAR(full.Frequency, 22222222.0 / 130 / (1.025 * 3706), 1e-4);
}

TEST(FullParams, BalancedSignalAtUnityPowerFactor) {
    const TFullSignalParams full = Full(BalancedParams());
    for (int i = 0; i < 3; ++i) {
        const TVoltageFullParams& u = full.Voltage[i];
        EXPECT_FLOAT_EQ(u.Rms1, 220);
        EXPECT_FLOAT_EQ(u.Rms, 220);
        EXPECT_NEAR(u.Deviation, 0, 1e-5);
        EXPECT_NEAR(u.AngleDifference, 120, 1e-4);
        const TVoltageFullParams& line = full.Voltage[3 + i];
        EXPECT_NEAR(line.Rms1, 220 * kSqrt3, 1e-3);
        EXPECT_NEAR(line.Deviation, 0, 1e-4);
        EXPECT_NEAR(line.AngleDifference, 120, 1e-4);
        const TPowerFullParams& w = full.Power[i];
        EXPECT_FLOAT_EQ(w.CosFi1, 1);
        EXPECT_FLOAT_EQ(w.P1, 1100);
        EXPECT_FLOAT_EQ(w.P, 1100);
        EXPECT_FLOAT_EQ(w.P2, 1100);
        EXPECT_NEAR(w.Q, 0, 1e-9);
        EXPECT_FLOAT_EQ(w.S, 1100);
        EXPECT_NEAR(w.N, 0, 1e-3);
    }
    EXPECT_NEAR(full.Voltage[3].Angle, 30, 1e-4);
    EXPECT_NEAR(full.Voltage[4].Angle, -90, 1e-4);
    EXPECT_NEAR(full.Voltage[5].Angle, 150, 1e-4);
    EXPECT_FLOAT_EQ(full.TotalP1, 3300);
    EXPECT_FLOAT_EQ(full.TotalP, 3300);
    EXPECT_FLOAT_EQ(full.TotalS, 3300);
    EXPECT_FLOAT_EQ(full.TotalSumS, 3300);
    EXPECT_FLOAT_EQ(full.TotalEnergy, 3300.0f / 3600);
    EXPECT_NEAR(full.U1, 220 * kSqrt3, 1e-3);
    EXPECT_NEAR(full.U2, 0, 1e-4);
    EXPECT_NEAR(full.U0, 0, 1e-4);
    EXPECT_NEAR(full.K0U, 0, 1e-4);
    EXPECT_NEAR(full.K2U, 0, 1e-4);
    EXPECT_NEAR(full.I1, 5, 1e-5);
    EXPECT_NEAR(full.I2, 0, 1e-5);
    EXPECT_EQ(full.VoltageRange, 2);
    EXPECT_EQ(full.CurrentRange, 4);
}

TEST(FullParams, CurrentOffLeavesOnlyItsRangeAndCoefficients) {
    TOutSignalParams p = BalancedParams();
    p.CurrentOn = 0;
    p.CurrentRange = 3;
    const float koefs[3] = {1.5f, -2, 3};
    for (int i = 0; i < 3; ++i) {
        p.Current[i].KalibrationKoef = koefs[i];
        p.Current[i].Harmonics[0] = {20, 45};
        p.Voltage[i].Harmonics[0] = {10, 0};
    }
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.CurrentRange, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(full.CurrentKoefs[i], koefs[i]);
        EXPECT_TRUE(AllZero(full.Current[i])) << i;
        EXPECT_TRUE(AllZero(full.Power[i])) << i;
        EXPECT_TRUE(AllZero(full.HarmonicAngles[STALVO_PAIR_IA_IB + i])) << i;
    }
    EXPECT_EQ(full.I0, 0);
    EXPECT_EQ(full.I1Angle, 0);
    EXPECT_EQ(full.I2, 0);
    EXPECT_EQ(full.TotalP, 0);
    EXPECT_EQ(full.TotalS, 0);
    EXPECT_EQ(full.TotalEnergy, 0);
    EXPECT_FLOAT_EQ(full.Voltage[0].Rms1, 220);
    EXPECT_NE(full.HarmonicAngles[STALVO_PAIR_UA_UB][0], 0);
}

TEST(FullParams, VoltageOffLeavesOnlyItsRangeAndCoefficients) {
    TOutSignalParams p = BalancedParams();
    p.VoltageOn = 0;
    p.Voltage[1].KalibrationKoef = -4;
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.VoltageRange, 2);
    EXPECT_EQ(full.VoltageKoefs[1], -4);
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(AllZero(full.Voltage[i])) << i;
    EXPECT_EQ(full.U1, 0);
    EXPECT_EQ(full.K2U, 0);
    EXPECT_TRUE(AllZero(full.Power[0]));
    EXPECT_FLOAT_EQ(full.Current[0].Rms1, 5);
}

TEST(FullParams, FundamentalOffKeepsItsHarmonicsInTheTotal) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[1].MainOn = 0;
    p.Voltage[1].Harmonics[0].Koef = 10;  // harmonic 2
    p.Voltage[1].Harmonics[1].Koef = 5;   // harmonic 3
    p.Voltage[0].Harmonics[0].Koef = 10;
    const TFullSignalParams full = Full(p);
    const TVoltageFullParams& b = full.Voltage[1];
    EXPECT_EQ(b.Rms1, 0);
    EXPECT_FLOAT_EQ(b.Deviation, -100);
    EXPECT_NEAR(b.Rms, 220 * std::sqrt(0.01 + 0.0025), 1e-4);
    EXPECT_NEAR(b.HarmonicsKoef, std::sqrt(125.0), 1e-5);
    EXPECT_NEAR(full.Voltage[0].Rms, 220 * std::sqrt(1.01), 1e-4);
    EXPECT_EQ(b.Harmonics[0].Koef, 10);
    // Line AB is phase A alone, line BC is phase C alone.
    EXPECT_NEAR(full.Voltage[3].Rms1, 220, 1e-4);
    EXPECT_NEAR(full.Voltage[3].Angle, 0, 1e-4);
    EXPECT_NEAR(full.Voltage[4].Rms1, 220, 1e-4);
    // The current of phase B still sees a voltage fundamental of 0.
    EXPECT_EQ(full.Power[1].CosFi1, 0);
    EXPECT_EQ(full.Power[1].P1, 0);
}

TEST(FullParams, CurrentFundamentalOff) {
    TOutSignalParams p = BalancedParams();
    p.Current[2].MainOn = 0;
    p.Current[2].Harmonics[2].Koef = 40;  // harmonic 4
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.Current[2].Rms1, 0);
    EXPECT_FLOAT_EQ(full.Current[2].Rms, 2);
    EXPECT_FLOAT_EQ(full.Current[2].Deviation, -100);
    EXPECT_NEAR(full.I1, 10.0 / 3, 1e-5);
    EXPECT_NEAR(full.I0, 5.0 / 3, 1e-5);
}

// Harmonic angles are folded into (-180, 180]; the fundamental angles of
// the other phases too.
TEST(FullParams, AnglesAreNormalised) {
    TOutSignalParams p = BalancedParams();
    const float given[] = {190, -180, 540, -190, 720, 180, -540.5f};
    const float stored[] = {-170, 180, 180, 170, 0, 180, 179.5f};
    for (int n = 0; n < 7; ++n) p.Voltage[0].Harmonics[n].Angle = given[n];
    p.Voltage[1].Angle = 240;
    p.Current[0].Angle = -200;
    const TFullSignalParams full = Full(p);
    for (int n = 0; n < 7; ++n) EXPECT_FLOAT_EQ(full.Voltage[0].Harmonics[n].Angle, stored[n]) << given[n];
    EXPECT_FLOAT_EQ(full.Voltage[1].Angle, -120);
    EXPECT_FLOAT_EQ(full.Current[0].Angle, 160);
}

// A balanced third harmonic is in phase in all three phases and cancels in
// the line voltages; a balanced fifth turns backwards and does not.
TEST(FullParams, LineHarmonicsFromPhaseDifferences) {
    TOutSignalParams p = BalancedParams();
    for (int i = 0; i < 3; ++i) {
        p.Voltage[i].Harmonics[1].Koef = 10;  // harmonic 3
        p.Voltage[i].Harmonics[3].Koef = 10;  // harmonic 5
    }
    const TFullSignalParams full = Full(p);
    for (int l = 3; l < 6; ++l) {
        EXPECT_NEAR(full.Voltage[l].Harmonics[1].Koef, 0, 1e-4) << l;
        EXPECT_NEAR(full.Voltage[l].Harmonics[3].Koef, 10, 1e-4) << l;
        EXPECT_NEAR(full.Voltage[l].Rms, 220 * kSqrt3 * std::sqrt(1.01), 1e-3) << l;
        EXPECT_NEAR(full.Voltage[l].HarmonicsKoef, 10, 1e-4) << l;
    }
    // AB: 22 (1 - 1∠120) = 22√3 ∠-30, less 5 x 30 of the line's fundamental.
    EXPECT_NEAR(std::fabs(full.Voltage[3].Harmonics[3].Angle), 180, 1e-3);
    EXPECT_NEAR(full.Voltage[0].Rms, 220 * std::sqrt(1.02), 1e-3);
    EXPECT_NEAR(full.Voltage[0].HarmonicsKoef, std::sqrt(200.0), 1e-4);
}

TEST(FullParams, HarmonicAnglesBetweenPhases) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[0].Harmonics[0] = {10, 0};  // harmonic 2 of A and B only
    p.Voltage[1].Harmonics[0] = {10, 0};
    p.Current[0].Harmonics[0] = {20, 10};
    p.Current[1].Harmonics[0] = {20, 30};
    const TFullSignalParams full = Full(p);
    // 2 x 0 + 0 - (2 x -120 + 0) = 240, folded to -120.
    EXPECT_NEAR(full.HarmonicAngles[STALVO_PAIR_UA_UB][0], -120, 1e-4);
    EXPECT_EQ(full.HarmonicAngles[STALVO_PAIR_UB_UC][0], 0);  // C has no harmonic 2
    EXPECT_EQ(full.HarmonicAngles[STALVO_PAIR_UA_UB][1], 0);
    EXPECT_NEAR(full.HarmonicAngles[STALVO_PAIR_IA_IB][0], -120 - 10 + 30, 1e-4);
    EXPECT_NEAR(full.HarmonicAngles[STALVO_PAIR_IB_IC][0], 0 - 30 + 0, 1e-4);
}

TEST(FullParams, PowersOfAShiftedCurrentWithHarmonics) {
    TOutSignalParams p = BalancedParams();
    p.Current[0].Angle = 60;
    p.Current[1].Angle = -60;
    p.Voltage[0].Harmonics[1] = {10, 0};  // harmonic 3: 22 V
    p.Current[0].Harmonics[1] = {20, 0};  // 1 A, in phase
    const TFullSignalParams full = Full(p);
    const TPowerFullParams& a = full.Power[0];
    EXPECT_NEAR(a.CosFi1, 0.5, 1e-6);
    EXPECT_NEAR(a.P1, 550, 1e-3);
    EXPECT_NEAR(a.Q1, 1100 * std::sin(M_PI / 3), 1e-3);
    EXPECT_NEAR(a.Pn[1], 22, 1e-4);
    EXPECT_NEAR(a.Sn[1], 22, 1e-4);
    EXPECT_NEAR(a.P, 572, 1e-3);
    EXPECT_NEAR(a.SumS, 1122, 1e-3);
    const double s = 220 * std::sqrt(1.01) * 5 * std::sqrt(1.04);
    EXPECT_NEAR(a.S, s, 1e-2);
    EXPECT_NEAR(a.N, std::sqrt(s * s - 572.0 * 572.0), 1e-2);
    EXPECT_LT(full.Power[1].N, 0);  // a leading current
    EXPECT_NEAR(full.Power[1].Q, -1100 * std::sin(M_PI / 3), 1e-3);
    EXPECT_NEAR(full.TotalP1, 550 + 550 + 1100, 1e-2);
    EXPECT_NEAR(full.TotalQ1, 0, 1e-2);
}

// Reversed rotation: everything is negative sequence.
TEST(FullParams, NegativeSequenceAndSaturatedUnbalance) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[1].Angle = 120;
    p.Voltage[2].Angle = -120;
    const TFullSignalParams full = Full(p);
    EXPECT_NEAR(full.U1, 0, 1e-3);
    EXPECT_NEAR(full.U2, 220 * kSqrt3, 1e-3);
    EXPECT_FLOAT_EQ(full.K2U, 100);
    EXPECT_FLOAT_EQ(full.K0U, 100);
    EXPECT_NEAR(full.U1Deviation, -100, 1e-3);
    EXPECT_NEAR(full.I1, 0, 1e-5);
    EXPECT_NEAR(full.I2, 5, 1e-5);
}

TEST(FullParams, OnePhaseUnbalance) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[2].Amplitude = 0;
    const TFullSignalParams full = Full(p);
    // Lines AB = 220√3∠30, BC = 220∠-120, CA = 220∠180.
    EXPECT_NEAR(full.U0, 220.0 / 3, 1e-3);
    EXPECT_NEAR(full.U1, 2 * 220 / kSqrt3, 1e-3);
    EXPECT_NEAR(full.U2, 220 / kSqrt3, 1e-3);
    EXPECT_NEAR(full.K2U, 50, 1e-4);
    EXPECT_NEAR(full.K0U, 50, 1e-4);
    EXPECT_NEAR(full.Voltage[5].Rms1, 220, 1e-4);
    EXPECT_NEAR(full.Voltage[5].Angle, 180, 1e-4);
}

TEST(FullParams, NoVoltageAtAllSaturatesTheUnbalanceFactors) {
    TOutSignalParams p = BalancedParams();
    for (auto& u : p.Voltage) u.Amplitude = 0;
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.U1, 0);
    EXPECT_EQ(full.K0U, 100);
    EXPECT_EQ(full.K2U, 100);
    EXPECT_EQ(full.Voltage[3].Angle, 0);
    EXPECT_EQ(full.Power[0].CosFi1, 0);
}

TEST(FullParams, LowRangesTheirNominalsAndCoefficients) {
    TOutSignalParams p = BalancedParams();
    p.VoltageRange = 1;
    p.CurrentRange = 3;
    for (auto& u : p.Voltage) u.Amplitude = 57.735027f;
    for (auto& i : p.Current) i.Amplitude = 1.1f;
    p.Voltage[0].KalibrationKoef = -100;
    p.Voltage[2].KalibrationKoef = 100;
    p.Current[1].KalibrationKoef = 12.5f;
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.VoltageKoefs[0], -100);
    EXPECT_EQ(full.VoltageKoefs[2], 100);
    EXPECT_EQ(full.CurrentKoefs[1], 12.5f);
    EXPECT_EQ(full.CurrentKoefs[0], 0);
    EXPECT_NEAR(full.Voltage[0].Deviation, 0, 1e-5);
    EXPECT_NEAR(full.Voltage[3].Deviation, 0, 1e-4);  // line nominal 100 V
    EXPECT_NEAR(full.U1Deviation, 0, 1e-4);
    EXPECT_NEAR(full.Current[1].Deviation, 10, 1e-4);
}

TEST(FullParams, DipsAsAccepted) {
    TCollapsesOvervoltagesParams dips = OneDip();
    dips.Count = 12;
    dips.StartAngle = 190;
    dips.Synchronize = 5;
    dips.Fazes[1] = {0, {}, 2.5f};  // a swell
    dips.Fazes[2] = {9, {}, 30};
    TOutSignalParams p = BalancedParams();
    p.FrequencyKoef = 1;
    p.Collapses = &dips;
    const TFullSignalParams full = Full(p);
    EXPECT_EQ(full.CollapsesOn, 1);
    EXPECT_EQ(full.FrequencyKoef, 1);
    const TCollapsesOvervoltagesParams& c = full.Collapses;
    EXPECT_EQ(c.Count, 12);
    EXPECT_FLOAT_EQ(c.Duration, 0.1f);
    EXPECT_FLOAT_EQ(c.Period, 1);
    EXPECT_FLOAT_EQ(c.StartAngle, -170);
    EXPECT_EQ(c.Synchronize, 1);
    EXPECT_EQ(c.Fazes[0].IsCollapse, 1);
    EXPECT_FLOAT_EQ(c.Fazes[0].Value, 50);
    EXPECT_EQ(c.Fazes[1].IsCollapse, 0);
    EXPECT_FLOAT_EQ(c.Fazes[1].Value, 2.5f);
    EXPECT_EQ(c.Fazes[2].IsCollapse, 1);
    EXPECT_FLOAT_EQ(c.Fazes[2].Value, 30);
    for (const auto& f : c.Fazes) EXPECT_EQ(f.Padding[0] | f.Padding[1] | f.Padding[2], 0);
}

TEST(FullParams, RecordIsClearedWithoutDips) {
    const TFullSignalParams full = Full(BalancedParams());
    EXPECT_EQ(full.CollapsesOn, 0);
    EXPECT_TRUE(AllZero(full.Collapses));
    EXPECT_EQ(full.Padding1[0] | full.Padding2[1] | full.Padding3[2], 0);
}

// ---------------------------------------------------------------- failing computations

std::int16_t CodeOf(const TOutSignalParams& p) {
    std::int16_t code = -1;
    FullParams(p, code);
    return code;
}

// Values the loader takes as they come but no float can carry.
TEST(FullParams, NonFiniteResultsFailTheirStep) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[1].Amplitude = kNaN;
    EXPECT_EQ(Library().CheckSignalData(p), 0);
    EXPECT_EQ(CodeOf(p), 152);

    p = BalancedParams();
    p.Voltage[2].Harmonics[4].Angle = kInf;
    EXPECT_EQ(CodeOf(p), 152);

    p = BalancedParams();
    p.Current[0].Amplitude = -kInf;
    EXPECT_EQ(CodeOf(p), 153);

    p = BalancedParams();
    p.Current[1].Harmonics[0].Angle = kNaN;
    EXPECT_EQ(CodeOf(p), 153);

    p = BalancedParams();
    p.VoltageOn = 0;
    p.Voltage[0].Harmonics[0] = {10, kNaN};
    p.Voltage[1].Harmonics[0] = {10, 0};
    EXPECT_EQ(CodeOf(p), 154);

    p = BalancedParams();
    for (auto& u : p.Voltage) u.Amplitude = 1e30f;
    for (auto& i : p.Current) i.Amplitude = 1e30f;
    EXPECT_EQ(CodeOf(p), 155);

    TCollapsesOvervoltagesParams dips = OneDip();
    dips.StartAngle = kNaN;
    p = BalancedParams();
    p.Collapses = &dips;
    EXPECT_EQ(Library().CheckSignalData(p), 0);
    EXPECT_EQ(CodeOf(p), 156);
}

TEST(FullParams, FailedComputationKeepsTheStepsBeforeIt) {
    TOutSignalParams p = BalancedParams();
    p.Current[0].Amplitude = kNaN;
    std::int16_t code = 0;
    const TFullSignalParams full = FullParams(p, code);
    ASSERT_EQ(code, 153);
    EXPECT_FLOAT_EQ(full.Voltage[0].Rms1, 220);
    EXPECT_FALSE(std::isnan(full.Current[0].Rms1));
    EXPECT_TRUE(AllZero(full.Power[1]));
}

}  // namespace
