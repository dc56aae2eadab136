#include <gtest/gtest.h>

#include <cmath>

#include "TestSignals.h"
#include "editor/ChartRules.h"
#include "signal/Waveform.h"

namespace {

using namespace edit;

const std::string kVoltageRange = "Выход за границы диапазона! Повторите ввод!";
const std::string kOtherRange = "Выход за границы диапазона!Повторите ввод!";

TEST(ChartScales, BarFieldRoundsAndRefusesOutOfRange) {
    EXPECT_EQ(EnterBarScale(BarChart::Voltage, "0.4").Maximum, 1);
    EXPECT_EQ(EnterBarScale(BarChart::Voltage, "1.4").Maximum, 1);
    EXPECT_EQ(EnterBarScale(BarChart::Voltage, "2.5").Maximum, 2);  // ties to even
    EXPECT_EQ(EnterBarScale(BarChart::Voltage, "80").Maximum, 80);
    const TScaleEntry comma = EnterBarScale(BarChart::Voltage, "0,4");
    EXPECT_FALSE(comma.Accepted);
    EXPECT_EQ(*comma.Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_EQ(*EnterBarScale(BarChart::Voltage, "81").Message, kVoltageRange);
    EXPECT_EQ(*EnterBarScale(BarChart::Voltage, "0").Message, kVoltageRange);
    // The other bar charts take up to 120 and word their refusal without the space.
    EXPECT_EQ(EnterBarScale(BarChart::Current, "120").Maximum, 120);
    EXPECT_EQ(*EnterBarScale(BarChart::Current, "120.1").Message, kOtherRange);
    EXPECT_EQ(*EnterBarScale(BarChart::Power, "-3").Message, kOtherRange);
    EXPECT_EQ(*EnterBarScale(BarChart::Converter, "121").Message, kOtherRange);
}

TEST(ChartScales, ButtonsStopAtTheirLimits) {
    EXPECT_EQ(ZoomBarOut(119), 120);
    EXPECT_FALSE(ZoomBarOut(120));
    EXPECT_FALSE(ZoomBarIn(1));
    EXPECT_EQ(ZoomBarIn(2), 1);
    EXPECT_EQ(ZoomWaveIn(WaveAxis::Voltage, 600.4), 599);
    EXPECT_FALSE(ZoomWaveIn(WaveAxis::Voltage, 1));
    EXPECT_EQ(ZoomWaveOut(WaveAxis::Voltage, 1499), 1500);
    EXPECT_FALSE(ZoomWaveOut(WaveAxis::Voltage, 1500));
    EXPECT_EQ(ZoomWaveOut(WaveAxis::Current, 10), 11);
    EXPECT_FALSE(ZoomWaveOut(WaveAxis::Current, 11));
}

TEST(ChartScales, WaveAxisFieldsTakeWholeNumbersWithinTheirLimit) {
    EXPECT_EQ(EnterWaveScale(WaveAxis::Voltage, "1500").Maximum, 1500);
    EXPECT_EQ(*EnterWaveScale(WaveAxis::Voltage, "1501").Message,
              "Выход за границы диапазона (от 0 до 1500 В.) Повторите ввод!");
    EXPECT_EQ(*EnterWaveScale(WaveAxis::Voltage, "0").Message,
              "Выход за границы диапазона (от 0 до 1500 В.) Повторите ввод!");
    EXPECT_EQ(EnterWaveScale(WaveAxis::Current, "11").Maximum, 11);
    EXPECT_EQ(*EnterWaveScale(WaveAxis::Current, "12").Message,
              "Выход за границы диапазона (от 0 до11 А.)! Повторите ввод!");
    EXPECT_EQ(*EnterWaveScale(WaveAxis::Current, "12 A").Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_FALSE(EnterWaveScale(WaveAxis::Voltage, "2.5").Accepted);
}

TEST(ChartMessages, PointTexts) {
    EXPECT_EQ(BarPointMessage("Ua", 5, 3.14159), "Ua\rНомер гармоники 5\rЗначение - 3.142%");
    EXPECT_EQ(WavePointMessage("Напряжение фазы А", 0.0012345678, -81.2346, false, 5),
              "Напряжение фазы А\rВремя - 1.23457 мс.\rЗначение напряжения - -81.235 B.");
    EXPECT_EQ(WavePointMessage("Ток фазы A", 0.002, 1.5, true, 5),
              "Ток фазы A\rВремя - 2.00000 мс.\rЗначение тока - 1.5000 A.");
    EXPECT_EQ(WavePointMessage("Ток фазы A", 0.002, 1.5, true, 1),
              "Ток фазы A\rВремя - 2.00000 мс.\rЗначение тока - 1.50000 A.");
    EXPECT_EQ(BarChartLook(BarChart::Voltage).PointKind, cmn::MessageKind::Ok);
    EXPECT_EQ(BarChartLook(BarChart::Current).PointKind, cmn::MessageKind::Warning);
}

TEST(ChartWaveforms, DecimationStepIsAtLeastOneAndKeepsTheHarmonics) {
    EXPECT_EQ(DecimationStep(5000, 1350, 50), 5);
    EXPECT_EQ(DecimationStep(600, 20000, 50), 1);  // wider than the samples
    EXPECT_EQ(DecimationStep(600, 350, 50), 1);    // no plot width left
    EXPECT_EQ(DecimationStep(5000, 300, 50), 12);  // 8 points per cycle of the 50th
    EXPECT_EQ(DecimationStep(5000, 400, 99), 6);
    EXPECT_EQ(DecimationStep(5000, 400, 1), 100);  // a pure sine: the width decides
    for (int width = 0; width < 3000; width += 7) EXPECT_GE(DecimationStep(4, width, 99), 1);

    auto s = talvo_test::BalancedSignal();
    EXPECT_EQ(HighestCycles(*s), 1);
    s->Current.Garmonik.SetKoef("faza_c", 7, 1);
    EXPECT_EQ(HighestCycles(*s), 7);
    s->Voltage.InterGarm[1].Koef[49] = 2;
    EXPECT_EQ(HighestCycles(*s), 7);  // interharmonics off
    s->Switches.IncludeInterGarm = true;
    EXPECT_EQ(HighestCycles(*s), 99);
}

TEST(ChartWaveforms, PointsAreTheSamplesAtTheChosenIndices) {
    auto s = talvo_test::BalancedSignal(57.735L, 5, 30);
    talvo_test::AddRichSpectrum(*s);
    s->Grid.SamplesPerPeriod = 667;
    const TWaveTiming timing = WaveTiming(*s);
    ASSERT_EQ(timing.Samples, 667);
    EXPECT_DOUBLE_EQ(timing.Step, 1.0 / 50 / 666);
    const auto a = sig::PhaseWaveform(sig::VoltageWave(s->Voltage, 0), s->Voltage.UA, false, true, 667);
    const auto b = sig::PhaseWaveform(sig::VoltageWave(s->Voltage, 1), s->Voltage.UB, false, true, 667);
    const auto ic = sig::PhaseWaveform(sig::CurrentWave(s->Current, s->Voltage, 2), s->Current.IC, false, true, 667);
    const auto ua = WavePoints(*s, wsUA, timing, 3);
    const auto uab = WavePoints(*s, wsUAB, timing, 3);
    const auto iC = WavePoints(*s, wsIC, timing, 3);
    ASSERT_EQ(ua.size(), 223u);  // 0, 3 ... 666
    for (std::size_t k = 0; k < ua.size(); ++k) {
        const std::size_t i = k * 3;
        EXPECT_DOUBLE_EQ(ua[k].Time, i * timing.Step);
        EXPECT_DOUBLE_EQ(ua[k].Value, static_cast<double>(a[i]));
        EXPECT_DOUBLE_EQ(uab[k].Value, static_cast<double>(a[i] - b[i]));
        EXPECT_DOUBLE_EQ(iC[k].Value, static_cast<double>(ic[i]));
    }
    EXPECT_DOUBLE_EQ(ua.back().Time, 1.0 / 50);
    // With interharmonics the same samples span two periods.
    s->Switches.IncludeInterGarm = true;
    EXPECT_DOUBLE_EQ(WaveTiming(*s).Step, 2 * timing.Step);
    // No frequency grid yet: nothing to draw rather than a division by zero.
    s->Grid.SamplesPerPeriod = 0;
    EXPECT_TRUE(WavePoints(*s, wsUA, WaveTiming(*s), 1).empty());
}

TEST(ChartVectors, EndsAxesAndCircles) {
    auto s = talvo_test::BalancedSignal(100, 5, 30);
    s->Voltage.ULine = {173.2, 173.2, 173.2};
    s->Voltage.LineAngle = {30, -90, 150};
    const TVectorDiagram u = VoltageDiagram(s->Voltage);
    ASSERT_EQ(u.Ends.size(), 6u);
    EXPECT_NEAR(u.Ends[0].X, 100, 1e-9);
    EXPECT_NEAR(u.Ends[1].Y, -86.60254, 1e-5);
    EXPECT_NEAR(u.Ends[4].Y, -173.2, 1e-9);
    EXPECT_NEAR(u.Extent, 173.2 + 5, 1e-9);
    EXPECT_EQ(u.InnerRadius, 87);
    EXPECT_NEAR(u.OuterRadius, 173.2, 1e-9);
    EXPECT_EQ(u.Ends[3].Colour, colour::Blue);

    const TVectorDiagram i = CurrentDiagram({sig::TPolar{5, -30}, sig::TPolar{2, 90}, sig::TPolar{0, 0}});
    EXPECT_NEAR(i.Ends[0].X, 5 * std::cos(M_PI / 6), 1e-12);
    EXPECT_NEAR(i.Ends[1].Y, 2, 1e-12);
    EXPECT_NEAR(i.Extent, 5 * std::cos(M_PI / 6), 1e-12);
    EXPECT_EQ(i.InnerRadius, 2);
    // Zero currents still leave the chart a range.
    EXPECT_EQ(CurrentDiagram({}).Extent, 1);
}

TEST(ChartBars, ValuesComeFromTheStores) {
    auto s = talvo_test::BalancedSignal(100, 5, 0);
    s->Voltage.Garmonik.SetKoef("faza_ca", 7, 4.5F);
    s->Current.Garmonik.SetKoef("faza_b", 50, 12.25F);
    const auto u = ChartBars(BarChart::Voltage, *s);
    ASSERT_EQ(u.size(), 6u);
    EXPECT_EQ(u[sig::fzCA][7], 4.5);
    EXPECT_EQ(u[sig::fzCA][0], 0);
    EXPECT_EQ(ChartBars(BarChart::Current, *s)[1][50], 12.25);
}

TEST(ChartBars, PowerSharesOfThePhase) {
    auto s = talvo_test::BalancedSignal(100, 5, 0);
    // No current harmonics: every share is 0 though voltage harmonics exist.
    s->Voltage.Garmonik.SetKoef("faza_a", 3, 10);
    s->FundamentalPowers.P[0] = 500;
    s->FundamentalPowers.Q[0] = 0;
    s->FundamentalPowers.S[0] = 500;
    auto bars = PowerBars(edit::MadeList_Power(*s, 0));
    for (int k = 2; k < 5; ++k)
        for (double v : bars[k]) EXPECT_EQ(v, 0);
    EXPECT_EQ(bars[0][3], 10);
    // 10 % of 100 V times 20 % of 5 A at 60 degrees: S = 10, P = 5.
    s->Current.Garmonik.SetKoef("faza_a", 3, 20);
    s->Current.Garmonik.SetAngle("faza_a", 3, 60);
    bars = PowerBars(edit::MadeList_Power(*s, 0));
    EXPECT_NEAR(bars[4][3], 10.0 / 510 * 100, 1e-9);
    EXPECT_NEAR(bars[2][3], 5.0 / 505 * 100, 1e-6);
    EXPECT_NEAR(bars[3][3], 100, 1e-6);  // the only reactive power
}

TEST(ChartState, FileStateIsKeptWithinTheScaleLimits) {
    files::TSignalDisplayState file;
    file.VoltageAxisMax = 300;
    file.VoltageBarMax = 0.3;
    file.CurrentBarMax = 500;
    file.CurrentAxisMax = 10.5;
    file.WaveformPhases[8] = true;
    file.VoltagePhases[1] = true;
    const TChartState state = ChartStateFromFile(file);
    EXPECT_EQ(state.WaveAxes[0], 300);
    EXPECT_EQ(state.WaveAxes[1], 10);
    EXPECT_EQ(state.BarMaxima[0], 1);
    EXPECT_EQ(state.BarMaxima[1], 120);
    EXPECT_TRUE(state.WaveItems[8]);
    const files::TSignalDisplayState back = FileDisplayState(state);
    EXPECT_EQ(back.VoltageAxisMax, 300);
    EXPECT_TRUE(back.VoltagePhases[1]);
    EXPECT_FALSE(back.VoltagePhases[0]);
}

}  // namespace
