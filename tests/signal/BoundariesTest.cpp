#include <gtest/gtest.h>

#include <cmath>

#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Ieee1459.h"
#include "signal/Waveform.h"

// Values at the edges of the calculations' ranges, where the usual test
// signals never go.
namespace {

// A chart keeps at most 5001 samples of a period, whatever the grid gives.
TEST(Boundaries, ChartBufferHoldsAtMost5001Samples) {
    const auto s = talvo_test::BalancedSignal();
    const sig::TWaveBlocks w = sig::VoltageWave(s->Voltage, 0);
    for (const auto& [samples, kept] : {std::pair{4, 4}, {5000, 5000}, {5001, 5001}, {5002, 5001}, {7000, 5001}})
        EXPECT_EQ(sig::PhaseWaveform(w, s->Voltage.UA, false, true, samples).size(), static_cast<std::size_t>(kept))
            << samples;
}

// A fundamental below one volt or one ampere is a fundamental all the same:
// the distortion powers scale the harmonic part by the fundamental power.
TEST(Boundaries, DistortionPowersOfAFundamentalBelowOne) {
    const auto s = talvo_test::BalancedSignal(0.5L, 0.25L, 0);
    s->Voltage.Garmonik.SetKoef("faza_a", 3, 40);
    s->Current.Garmonik.SetKoef("faza_a", 5, 20);
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    sig::CalcPowerParams(s->Voltage, s->Current, s->Switches, false, s->Energy,
                         {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
    sig::CalcIeee1459(s->Voltage, s->Current, s->Switches, s->FundamentalPowers, s->FullPowers, s->Ieee1459);
    // S1 = 0.5 V x 0.25 A; the harmonic parts are 40 % of the voltage and 20 % of the current.
    const double s1 = 0.125;
    EXPECT_NEAR(static_cast<double>(s->Ieee1459.DU[0]), 0.4 * s1, 1e-4);
    EXPECT_NEAR(static_cast<double>(s->Ieee1459.DI[0]), 0.2 * s1, 1e-4);
    EXPECT_NEAR(static_cast<double>(s->Ieee1459.SH[0]), 0.4 * 0.2 * s1, 1e-4);
}

}  // namespace
