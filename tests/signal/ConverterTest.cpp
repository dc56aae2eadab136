#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "signal/Converter.h"

namespace {

using sig::real;

// A converter with its default outputs of 12.5 mV on every channel, the
// calibrator's currents at 0 degrees against them, corrections all 0.
class ConverterCalc : public ::testing::Test {
protected:
    ConverterCalc() {
        converter.Nominal = converter.NominalFaza = 12.5L;
        converter.NominalLine = 12.5L * std::sqrt(3.0L);
        converter.FreqNominal = converter.Freq = 50;
        converter.UA = converter.UB = converter.UC = 12.5L;
        converter.ShiftB = -120;
        converter.ShiftC = 120;
        current.Nominal = 5;
        current.IA = current.IB = current.IC = 1;
        calibration.Read = true;
    }
    sig::TConverterCalc Calc() { return {current, converter, calibration, switches, 400, gains, error, nullptr}; }

    sig::TSignalParamsU converter;
    sig::TSignalParamsI current;
    sig::TConverterCalibration calibration;
    sig::TConverterSwitches switches;
    std::uint8_t calculatedGain = 0;
    std::uint8_t manualGain = 0;
    sig::TConverterGains gains{calculatedGain, manualGain};
    std::uint8_t error = 0;
};

TEST(ConverterGainTable, GainsAndDeviceCodes) {
    EXPECT_EQ(sig::ConverterGain(1), 0.125L);
    EXPECT_EQ(sig::ConverterGain(12), 0.171875L);
    EXPECT_EQ(sig::ConverterGain(23), 0.75L);
    EXPECT_EQ(sig::ConverterGain(44), 1056);
    const std::vector<std::pair<int, std::uint16_t>> codes{{1, 0x000},  {11, 0x050}, {12, 0x080}, {22, 0x0D0},
                                                           {23, 0x100}, {33, 0x150}, {34, 0x180}, {44, 0x1D0}};
    for (auto [i, code] : codes) EXPECT_EQ(sig::GainCode(i), code) << i;
    EXPECT_FALSE(sig::GainCode(0));
    EXPECT_FALSE(sig::GainCode(45));
    for (int i = 1; i <= sig::kConverterGains; ++i) {
        const sig::TConverterGain g = sig::ConverterGainTable(i);
        EXPECT_EQ(sig::FindGainIndex(g.Kpga, g.K1pga, g.Kina), i);
    }
    EXPECT_FALSE(sig::FindGainIndex(3, 1, 1));
}

TEST_F(ConverterCalc, AutomaticGainFromTheOutputVoltages) {
    struct Case {
        real ua;
        int index;
        real ia;
    };
    const std::vector<Case> cases{
        {12.5L, 1, 5}, {1000, 8, 3.125L}, {3400, 10, 2.656L}, {3400.001L, 29, 3.542L}, {5000, 30, 2.604L}};
    for (const Case& c : cases) {
        converter.UA = c.ua;
        ASSERT_TRUE(sig::CalcConverterAuto(Calc())) << c.ua;
        EXPECT_EQ(error, 0);
        EXPECT_EQ(gains.Calculated, c.index) << c.ua;
        EXPECT_EQ(gains.Manual, c.index) << c.ua;
        EXPECT_NEAR(current.IA, c.ia, 1e-12L) << c.ua;
        EXPECT_EQ(sig::ConverterGainTable(gains.Calculated).K1pga, 1.0f);
    }
    // The other channels pass the same gain; 12.5 mV at G = 96 is 6.5 mA.
    EXPECT_NEAR(current.IB, 0.007L, 1e-12L);
    EXPECT_EQ(current.Nominal, 5);
}

TEST_F(ConverterCalc, DefaultOutputsNeedTheFiveAmpereRange) {
    ASSERT_TRUE(sig::CalcConverterAuto(Calc()));
    EXPECT_EQ(sig::GainCode(gains.Calculated), 0x000);
    for (real i : {current.IA, current.IB, current.IC}) EXPECT_NEAR(i, 5, 1e-12L);
    EXPECT_EQ(current.Nominal, 5);
    // The currents' own quantities are recomputed against the new inputs.
    EXPECT_NEAR(current.IRmsA, 5, 1e-9L);
}

TEST_F(ConverterCalc, CorrectionRaisesTheChannelsCurrent) {
    calibration.Delta[sig::fzB][1] = 100;
    ASSERT_TRUE(sig::CalcConverterAuto(Calc()));
    EXPECT_NEAR(current.IA, 5, 1e-12L);
    EXPECT_NEAR(current.IB, 5.05L, 1e-12L);
}

TEST_F(ConverterCalc, WithoutCalibrationValuesNothingIsSelected) {
    calibration.Read = false;
    current.IA = 0.75L;
    current.Nominal = 1;
    ASSERT_TRUE(sig::CalcConverterAuto(Calc()));
    EXPECT_EQ(gains.Calculated, 0);
    EXPECT_EQ(gains.Manual, 0);
    EXPECT_EQ(current.IA, 0.75L);
    EXPECT_EQ(current.Nominal, 1);
    // Both records are still recomputed.
    EXPECT_NEAR(converter.URmsA, 12.5L, 1e-9L);
    EXPECT_NEAR(current.IRmsA, 0.75L, 1e-9L);
}

TEST_F(ConverterCalc, ManualOutputsFromTheInputCurrents) {
    gains.Manual = 1;
    ASSERT_TRUE(sig::CalcConverterManual(Calc()));
    EXPECT_NEAR(converter.UA, 2.5L, 1e-12L);
    EXPECT_EQ(gains.Calculated, 1);
    calibration.Delta[sig::fzA][1] = 100;
    ASSERT_TRUE(sig::CalcConverterManual(Calc()));
    EXPECT_NEAR(converter.UA, 2.475L, 1e-12L);

    // 5 A at the highest gain: the single-precision shunt shows in the result.
    current.IC = 5;
    gains.Manual = 44;
    EXPECT_FALSE(sig::CalcConverterManual(Calc()));
    EXPECT_EQ(error, 3);
    EXPECT_NEAR(converter.UC, 105599.998L, 1e-9L);
    EXPECT_EQ(gains.Calculated, 1);  // a failed calculation leaves the index
}

TEST_F(ConverterCalc, FundamentalAndPeakLimits) {
    converter.UA = 12000.01L;
    EXPECT_FALSE(sig::CalcConverterAuto(Calc()));
    EXPECT_EQ(error, 1);
    converter.UA = 11999;
    EXPECT_TRUE(sig::CalcConverterAuto(Calc()));
    EXPECT_EQ(error, 0);

    // A switched-off channel is not held to the fundamental limit.
    converter.UA = 12.5L;
    converter.UB = 13000;
    switches.On[sig::fzB] = false;
    EXPECT_TRUE(sig::CalcConverterAuto(Calc()));
    switches.On[sig::fzB] = true;
    converter.UB = 12.5L;

    // 30 % third harmonic in phase with the fundamental's peak: the RMS stays
    // under the limit, the peak does not.
    converter.UC = 10000;
    current.Garmonik.SetKoef(sig::TGarmonikPart::c, 3, 30);
    current.Garmonik.SetAngle(sig::TGarmonikPart::c, 3, 0);  // flattens the peak
    EXPECT_TRUE(sig::CalcConverterAuto(Calc()));
    current.Garmonik.SetAngle(sig::TGarmonikPart::c, 3, -180);
    EXPECT_FALSE(sig::CalcConverterAuto(Calc()));
    EXPECT_EQ(error, 3);
    EXPECT_LT(converter.URmsC, 12000);
    EXPECT_NEAR(converter.URmsC, 10440.3L, 0.1L);
    // The harmonic content was copied before the check stopped.
    EXPECT_EQ(converter.Garmonik.c.Koef[3], 30);
}

TEST_F(ConverterCalc, CurrentRangeFromThePeakCurrent) {
    calibration.Read = true;
    const auto rangeFor = [&](real ia) {
        current.IA = ia;
        current.IB = current.IC = 0.1L;
        sig::SelectNominalCurrent(Calc());
        return current.Nominal;
    };
    sig::CalcConverterManual(Calc());  // the converter's angles as the voltage reference
    EXPECT_EQ(rangeFor(1.3L), 5);
    EXPECT_EQ(rangeFor(1.299L), 1);
}

class RecordingPage : public sig::IConverterDisplay {
public:
    void ShowAllData_low_iu() override { calls.push_back("all"); }
    void Show_Chart_i_iu() override { calls.push_back("chart"); }
    void Show_Little_Chart_I_iu() override { calls.push_back("little"); }
    void ShowChart_i_iu(const std::array<sig::TPolar, 3>& currents) override {
        calls.push_back("phasors");
        phasors = currents;
    }
    bool ShowsWaveform() const override { return waveform; }
    std::vector<std::string> calls;
    std::array<sig::TPolar, 3> phasors{};
    bool waveform = false;
};

TEST_F(ConverterCalc, DisplayAndNeutralCurrent) {
    RecordingPage page;
    current.INRms = 7;
    current.PhiUIB = 30;
    sig::TConverterCalc calc = Calc();
    calc.Display = &page;
    ASSERT_TRUE(sig::CalcConverterAuto(calc));
    EXPECT_EQ(page.calls, (std::vector<std::string>{"phasors", "all", "chart"}));
    EXPECT_NEAR(page.phasors[sig::fzB].Angle, -150, 1e-12L);
    EXPECT_EQ(current.INRms, 7);
    page.waveform = true;
    page.calls.clear();
    ASSERT_TRUE(sig::CalcConverterAuto(calc));
    EXPECT_EQ(page.calls.back(), "little");
}

TEST_F(ConverterCalc, ZeroNominalRaises) {
    converter.NominalFaza = 0;
    EXPECT_THROW(sig::CalcConverterAuto(Calc()), cmn::TalvoError);
}

}  // namespace
