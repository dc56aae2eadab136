#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CommonUtils/TalvoError.h"
#include "signal/Converter.h"

namespace {

using namespace sig;

constexpr int kSamples = 512;

struct ConverterCase : ::testing::Test {
    ConverterCase() {
        converter.UA = converter.UB = converter.UC = 12.5;
        converter.Nominal = converter.NominalFaza = converter.NominalLine = 12.5;
        converter.ShiftB = -120;
        converter.ShiftC = 120;
        converter.Freq = 50;
        current.Nominal = 1;
        calibration.Loaded = true;
    }
    bool Auto() { return CalcConverterAuto({switches, kSamples, calibration}, current, converter, gains, error); }
    bool Manual() { return CalcConverterManual({switches, kSamples, calibration}, current, converter, gains, error); }

    TSignalParamsU converter;
    TSignalParamsI current;
    TSignalSwitches switches;
    TConverterCalibration calibration;
    TConverterGains gains;
    TConverterError error = 9;
};

TEST(ConverterGainTable, FactorsAndCodes) {
    EXPECT_EQ(GainFactor(1), 0.125L);
    EXPECT_EQ(GainFactor(12), 0.171875L);
    EXPECT_EQ(GainFactor(23), 0.75L);
    EXPECT_EQ(GainFactor(44), 1056.0L);
    EXPECT_EQ(GainCode(1), 0x000);
    EXPECT_EQ(GainCode(11), 0x050);
    EXPECT_EQ(GainCode(12), 0x080);
    EXPECT_EQ(GainCode(34), 0x180);
    EXPECT_EQ(GainCode(44), 0x1D0);
    EXPECT_FALSE(GainCode(0));
    EXPECT_FALSE(GainCode(45));
    EXPECT_EQ(FindGainIndex(2, 1.375f, 6), 38);
    EXPECT_EQ(GainCode(38), 0x1A0);
    EXPECT_FALSE(FindGainIndex(3, 1, 1));
    EXPECT_EQ(FindGainIndexByCode(0x1A0), 38);
    EXPECT_FALSE(FindGainIndexByCode(0x0004));
}

TEST_F(ConverterCase, DefaultsSelectTheSmallestGainAndFiveAmperes) {
    ASSERT_TRUE(Auto());
    EXPECT_EQ(error, 0);
    EXPECT_EQ(gains.Calculated, 1);
    EXPECT_EQ(gains.Manual, 1);
    EXPECT_DOUBLE_EQ(static_cast<double>(current.IA), 5.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(current.IC), 5.0);
    EXPECT_EQ(current.Nominal, 5);
}

TEST_F(ConverterCase, GainFollowsTheLargestOutput) {
    struct Case {
        real ua;
        int index;
        double ia;
    };
    for (const Case& c : {Case{1000, 8, 3.125}, Case{3400, 10, 2.656}, Case{3400.001L, 29, 3.542}, Case{5000, 30, 2.604}}) {
        converter.UA = c.ua;
        ASSERT_TRUE(Auto()) << static_cast<double>(c.ua);
        EXPECT_EQ(gains.Calculated, c.index) << static_cast<double>(c.ua);
        EXPECT_NEAR(static_cast<double>(current.IA), c.ia, 1e-9) << static_cast<double>(c.ua);
        EXPECT_EQ(ConverterGainTable()[gains.Calculated].K1pga, 1.0f) << static_cast<double>(c.ua);
    }
}

TEST_F(ConverterCase, CorrectionRaisesTheChannelsCurrent) {
    converter.UA = 1000;
    calibration.Delta[fzA][8] = 100;
    ASSERT_TRUE(Auto());
    EXPECT_NEAR(static_cast<double>(current.IA), 3.156, 1e-9);
    EXPECT_NEAR(static_cast<double>(current.IB), 0.039, 1e-9) << "the gain is shared, the correction is not";
}

TEST_F(ConverterCase, ManualOutputsFromTheInputCurrents) {
    current.IA = current.IB = current.IC = 1;
    gains.Manual = 1;
    calibration.Delta[fzB][1] = 100;
    ASSERT_TRUE(Manual());
    EXPECT_NEAR(static_cast<double>(converter.UA), 2.5, 1e-9);
    EXPECT_NEAR(static_cast<double>(converter.UB), 2.475, 1e-9);
    EXPECT_EQ(gains.Calculated, 1);
    EXPECT_GT(converter.URmsA, 0);

    current.IA = 5;
    current.IB = current.IC = 0.1L;
    gains.Manual = 44;
    EXPECT_FALSE(Manual());
    EXPECT_EQ(error, 1);
    EXPECT_NEAR(static_cast<double>(converter.UA), 105599.998, 1e-6);
    EXPECT_EQ(gains.Calculated, 1);
}

TEST_F(ConverterCase, FundamentalLimitOfAnActiveChannel) {
    converter.UA = 12000.01L;
    EXPECT_FALSE(Auto());
    EXPECT_EQ(error, 1);
    EXPECT_EQ(gains.Calculated, 0);
    converter.UA = 11999;
    EXPECT_TRUE(Auto());
    EXPECT_EQ(error, 0);
    converter.UB = 12000.01L;
    switches.IOnB = false;
    EXPECT_TRUE(Auto()) << "a channel switched off is not judged by its fundamental";
}

TEST_F(ConverterCase, ZeroNominalOfTheConverterRecordIsRefused) {
    converter.NominalFaza = 0;
    EXPECT_THROW(Auto(), cmn::TalvoError);
}

TEST_F(ConverterCase, PeakLimitCatchesHarmonicsThatAddUp) {
    converter.UA = 10000;
    current.Garmonik.SetKoef(TGarmonikPart::a, 3, 30);
    current.Garmonik.SetAngle(TGarmonikPart::a, 3, 180);
    EXPECT_FALSE(Auto());
    EXPECT_EQ(error, 1);
    EXPECT_LT(converter.URmsA, 12000);
    EXPECT_NEAR(static_cast<double>(converter.URmsA), 10440.3, 0.1);
    EXPECT_EQ(converter.Garmonik.a.Koef[3], 30) << "the harmonic content is copied first";
    current.Garmonik.SetAngle(TGarmonikPart::a, 3, 0);
    EXPECT_TRUE(Auto()) << "peaks that do not add stay below the limit";
}

TEST_F(ConverterCase, WithoutCalibrationOnlyDerivedQuantitiesChange) {
    calibration.Loaded = false;
    current.IA = current.IB = current.IC = 0.7L;
    gains = {17, 3};
    converter.UA = 1000;
    ASSERT_TRUE(Auto());
    EXPECT_EQ(current.IA, 0.7L);
    EXPECT_EQ(gains.Calculated, 17);
    EXPECT_EQ(gains.Manual, 3);
    EXPECT_EQ(current.Nominal, 1);
    EXPECT_GT(converter.URmsA, 999);
    EXPECT_NEAR(static_cast<double>(current.AngleIB), -120, 1e-9);
}

TEST_F(ConverterCase, CurrentRangeFromThePeakCurrent) {
    current.IA = 1.3L;
    current.IB = current.IC = 0;
    EXPECT_EQ(SelectNominalCurrent(current, converter, switches, kSamples), 5);
    current.IA = 1.2999L;
    EXPECT_EQ(SelectNominalCurrent(current, converter, switches, kSamples), 1);
    current.IA = 1;
    current.Garmonik.SetKoef(TGarmonikPart::a, 3, 30);
    current.Garmonik.SetAngle(TGarmonikPart::a, 3, 180);
    EXPECT_EQ(SelectNominalCurrent(current, converter, switches, kSamples), 5) << "the peak, not the fundamental";
}

struct RecordingDisplay : IConverterDisplay {
    std::vector<std::string> calls;
    bool waveform = false;
    void ShowAllData_low_iu() override { calls.push_back("values"); }
    void Show_Chart_i_iu() override { calls.push_back("chart"); }
    bool WaveformViewShown() const override { return waveform; }
    void Show_Little_Chart_I_iu() override { calls.push_back("waveform"); }
    void ShowChart_i_iu(const std::array<TPolar, 3>& currents) override {
        calls.push_back("phasors " + std::to_string(static_cast<int>(currents[fzB].Angle)));
    }
};

TEST_F(ConverterCase, DisplayIsRefreshedAtTheEndOnly) {
    RecordingDisplay display;
    ASSERT_TRUE(CalcConverterAuto({switches, kSamples, calibration}, current, converter, gains, error, &display));
    EXPECT_EQ(display.calls, (std::vector<std::string>{"phasors -120", "values", "chart"}));
    display.calls.clear();
    display.waveform = true;
    converter.UA = 12000.01L;
    EXPECT_FALSE(CalcConverterAuto({switches, kSamples, calibration}, current, converter, gains, error, &display));
    EXPECT_TRUE(display.calls.empty());
    converter.UA = 12.5;
    ASSERT_TRUE(CalcConverterManual({switches, kSamples, calibration}, current, converter, gains, error, &display));
    EXPECT_EQ(display.calls, (std::vector<std::string>{"phasors -120", "values", "chart", "waveform"}));
}

}  // namespace
