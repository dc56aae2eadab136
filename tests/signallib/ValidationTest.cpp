// Loading a signal through CheckSignalData and GetOutSignalData: the order
// of the checks, their bounds and the code of each.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "SignalTalvoLibrary.h"

namespace {

using namespace talvo_test;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

std::int16_t Check(const TOutSignalParams& p) { return Library().CheckSignalData(p); }

TEST(Validation, AllZeroRecordFailsOnTheVoltageRangeAndLeavesFullParamsAlone) {
    TOutSignalParams p;
    std::memset(&p, 0, sizeof p);
    EXPECT_EQ(Check(p), 91);
    std::int16_t code = 0;
    const TFullSignalParams full = FullParams(p, code);
    EXPECT_EQ(code, 91);
    TFullSignalParams untouched;
    std::memset(&untouched, 0xAB, sizeof untouched);
    EXPECT_EQ(std::memcmp(&full, &untouched, sizeof full), 0);
}

TEST(Validation, MissingFullParamsAddressIsReportedBeforeValidating) {
    TOutSignalParams p;
    std::memset(&p, 0, sizeof p);
    EXPECT_EQ(Library().GetOutSignalData(p, nullptr), 56);
    EXPECT_EQ(Library().GetOutSignalData(BalancedParams(), nullptr), 56);
}

TEST(Validation, BalancedSignalPasses) { EXPECT_EQ(Check(BalancedParams()), 0); }

// Every step is broken at once; mending them one by one must reveal the
// codes in the order the loader runs its steps.
TEST(Validation, StepsRunInTheirOrder) {
    TOutSignalParams p = BalancedParams();
    p.VoltageRange = 3;
    p.CurrentRange = 2;
    for (int i = 0; i < 3; ++i) {
        p.Current[i].KalibrationKoef = 101;
        p.Voltage[i].KalibrationKoef = -101;
    }
    p.FrequencyKoef = -100;
    p.Frequency = 70;
    p.Voltage[0].Angle = 1;
    p.Voltage[1].Harmonics[0].Koef = 81;   // voltage B, harmonic 2
    p.Current[0].Harmonics[0].Koef = 101;  // current A, harmonic 2
    p.Voltage[0].Harmonics[1].Koef = 90;   // voltage A, harmonic 3
    p.Current[2].Harmonics[38].Koef = -1;  // current C, harmonic 40

    EXPECT_EQ(Check(p), 91);
    p.VoltageRange = 1;
    EXPECT_EQ(Check(p), 92);
    p.CurrentRange = 3;
    const std::int16_t currentKoefCodes[3] = {84, 85, 86};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Check(p), currentKoefCodes[i]);
        p.Current[i].KalibrationKoef = 0;
    }
    const std::int16_t voltageKoefCodes[3] = {81, 82, 83};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Check(p), voltageKoefCodes[i]);
        p.Voltage[i].KalibrationKoef = 0;
    }
    EXPECT_EQ(Check(p), 87);
    p.FrequencyKoef = 0;
    EXPECT_EQ(Check(p), 93);
    p.Frequency = 50;
    EXPECT_EQ(Check(p), 200);
    p.Voltage[0].Angle = 0;
    EXPECT_EQ(Check(p), 303);
    p.Voltage[1].Harmonics[0].Koef = 0;
    EXPECT_EQ(Check(p), 253);
    p.Current[0].Harmonics[0].Koef = 0;
    EXPECT_EQ(Check(p), 204);
    p.Voltage[0].Harmonics[1].Koef = 0;
    EXPECT_EQ(Check(p), 491);
    p.Current[2].Harmonics[38].Koef = 0;
    EXPECT_EQ(Check(p), 0);
}

TEST(Validation, FrequencyBounds) {
    TOutSignalParams p = BalancedParams();
    for (float f : {45.0f, 64.0f}) {
        p.Frequency = f;
        EXPECT_EQ(Check(p), 0) << f;
    }
    for (float f : {44.99f, 64.01f, 0.0f, -50.0f, kNaN, std::numeric_limits<float>::infinity()}) {
        p.Frequency = f;
        EXPECT_EQ(Check(p), 93) << f;
    }
}

TEST(Validation, HarmonicCoefficientBounds) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[2].Harmonics[5].Koef = 80;   // voltage C, harmonic 7
    p.Current[1].Harmonics[5].Koef = 100;  // current B, harmonic 7
    EXPECT_EQ(Check(p), 0);
    p.Voltage[2].Harmonics[5].Koef = 80.01f;
    EXPECT_EQ(Check(p), 408);
    p.Voltage[2].Harmonics[5].Koef = kNaN;
    EXPECT_EQ(Check(p), 408);
    p.Voltage[2].Harmonics[5].Koef = 0;
    p.Current[1].Harmonics[5].Koef = 100.01f;
    EXPECT_EQ(Check(p), 358);
    p.Current[1].Harmonics[5].Koef = -0.01f;
    EXPECT_EQ(Check(p), 358);
}

TEST(Validation, CalibrationCoefficientsAcceptTheirWholeRange) {
    for (float k : {-100.0f, 100.0f}) {
        TOutSignalParams p = BalancedParams();
        for (int i = 0; i < 3; ++i) {
            p.Voltage[i].KalibrationKoef = k;
            p.Current[i].KalibrationKoef = k;
        }
        EXPECT_EQ(Check(p), 0) << k;
    }
    TOutSignalParams p = BalancedParams();
    p.FrequencyKoef = 100;
    EXPECT_EQ(Check(p), 0);
    p.Voltage[1].KalibrationKoef = 100.01f;
    EXPECT_EQ(Check(p), 82);
    p.Voltage[1].KalibrationKoef = kNaN;
    EXPECT_EQ(Check(p), 82);
    p.Voltage[1].KalibrationKoef = 0;
    p.Current[2].KalibrationKoef = -100.01f;
    EXPECT_EQ(Check(p), 86);
}

// A factor of zero leaves no sample clock at all.
TEST(Validation, FrequencyCoefficientMinus100FailsOnItsOwnStep) {
    TOutSignalParams p = BalancedParams();
    p.FrequencyKoef = -100;
    EXPECT_EQ(Check(p), 87);
    p.FrequencyKoef = -100.5f;
    EXPECT_EQ(Check(p), 87);
}

// A table holds at most 5000 samples; N = Round(R / ((1 + kf/100) f)).
TEST(Validation, MoreThan5000SamplesPerPeriodIsAFrequencyRangeError) {
    TOutSignalParams p = BalancedParams();
    p.Frequency = 45;
    p.FrequencyKoef = -24.0266f;  // N = 5000
    EXPECT_EQ(Check(p), 0);
    p.FrequencyKoef = -24.042f;  // N = 5001
    EXPECT_EQ(Check(p), 93);
    p.Frequency = 64;
    p.FrequencyKoef = -40;  // N = 4452
    EXPECT_EQ(Check(p), 0);
    p.FrequencyKoef = -50;  // N = 5342
    EXPECT_EQ(Check(p), 93);
    p.FrequencyKoef = -99.9999f;  // N far beyond any table
    EXPECT_EQ(Check(p), 93);
}

TEST(Validation, PhaseAVoltageAngleMustBeZeroAsGiven) {
    TOutSignalParams p = BalancedParams();
    for (float a : {360.0f, -360.0f, 0.001f, kNaN}) {
        p.Voltage[0].Angle = a;
        EXPECT_EQ(Check(p), 200) << a;
    }
    p.Voltage[0].Angle = -0.0f;
    EXPECT_EQ(Check(p), 0);
    p.Voltage[0].Angle = 0;
    p.Voltage[1].Angle = 360;  // other fundamentals are only normalised
    p.Current[0].Angle = 720;
    EXPECT_EQ(Check(p), 0);
}

// Amplitudes and harmonic angles are taken as they come.
TEST(Validation, AmplitudesAndHarmonicAnglesAreNotRangeChecked) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[1].Amplitude = -5000;
    p.Current[2].Amplitude = 1e6f;
    p.Voltage[2].Harmonics[3].Angle = 1e9f;
    p.Current[0].Harmonics[3].Angle = -7777;
    EXPECT_EQ(Check(p), 0);
}

// ---------------------------------------------------------------- dips and swells

std::int16_t CheckWithDips(TCollapsesOvervoltagesParams dips) {
    TOutSignalParams p = BalancedParams();
    p.Collapses = &dips;
    return Check(p);
}

TEST(Validation, DipsNeedTheVoltageOutput) {
    TCollapsesOvervoltagesParams dips = OneDip();
    dips.Count = 0;  // its own fault is not looked at
    TOutSignalParams p = BalancedParams();
    p.VoltageOn = 0;
    p.Collapses = &dips;
    EXPECT_EQ(Check(p), 64);
    p.VoltageOn = 1;
    EXPECT_EQ(Check(p), 61);
}

TEST(Validation, DipsAreCheckedOnlyAfterTheSignal) {
    TCollapsesOvervoltagesParams dips = OneDip();
    dips.Count = 0;
    TOutSignalParams p = BalancedParams();
    p.Frequency = 80;
    p.Collapses = &dips;
    EXPECT_EQ(Check(p), 93);
}

TEST(Validation, DipsCountDurationAndPeriod) {
    auto with = [](auto change) {
        TCollapsesOvervoltagesParams d = OneDip();
        change(d);
        return CheckWithDips(d);
    };
    EXPECT_EQ(with([](auto& d) { d.Count = 0; }), 61);
    EXPECT_EQ(with([](auto& d) { d.Count = -3; }), 61);
    EXPECT_EQ(with([](auto& d) { d.Count = 32767; }), 0);
    EXPECT_EQ(with([](auto& d) { d.Duration = 0; }), 62);
    EXPECT_EQ(with([](auto& d) { d.Duration = 600.01f; }), 62);
    EXPECT_EQ(with([](auto& d) { d.Duration = kNaN; }), 62);
    EXPECT_EQ(with([](auto& d) { d.Duration = 600; }), 0);
    EXPECT_EQ(with([](auto& d) { d.Period = 0; }), 0);
    EXPECT_EQ(with([](auto& d) { d.Period = 600; }), 0);
    EXPECT_EQ(with([](auto& d) { d.Period = -0.01f; }), 63);
    EXPECT_EQ(with([](auto& d) { d.Period = 600.5f; }), 63);
    EXPECT_EQ(with([](auto& d) { d.StartAngle = 12345; }), 0);
}

TEST(Validation, DipDepthAndSwellCoefficientPerPhase) {
    for (int phase = 0; phase < 3; ++phase) {
        TCollapsesOvervoltagesParams d = OneDip();
        d.Fazes[phase] = {0, {}, 10};
        EXPECT_EQ(CheckWithDips(d), 0);
        d.Fazes[phase].Value = 10.5f;
        EXPECT_EQ(CheckWithDips(d), 72 + 2 * phase) << phase;
        d.Fazes[phase].IsCollapse = 1;  // the same value as a depth is fine
        EXPECT_EQ(CheckWithDips(d), 0);
        d.Fazes[phase].Value = 100;
        EXPECT_EQ(CheckWithDips(d), 0);
        d.Fazes[phase].Value = 100.5f;
        EXPECT_EQ(CheckWithDips(d), 71 + 2 * phase) << phase;
        d.Fazes[phase] = {7, {}, -1};  // any non-zero flag is a dip
        EXPECT_EQ(CheckWithDips(d), 71 + 2 * phase) << phase;
    }
}

TEST(Validation, FirstFailingPhaseOfDipsWins) {
    TCollapsesOvervoltagesParams d = OneDip();
    d.Fazes[1].Value = 101;
    d.Fazes[2].Value = 101;
    EXPECT_EQ(CheckWithDips(d), 73);
}

}  // namespace
