// The totals and powers checked against the waveforms themselves: sampled
// finely over a whole table and integrated numerically, the instantaneous
// values must give the RMS values and the active power the formulas give.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Waveform.h"

namespace {

using sig::real;

constexpr int kSamples = 5000;

double D(real x) { return static_cast<double>(x); }

real Rms(const std::vector<real>& w) {
    real sum = 0;
    for (const real x : w) sum += x * x;
    return std::sqrt(sum / w.size());
}

real MeanProduct(const std::vector<real>& a, const std::vector<real>& b) {
    real sum = 0;
    for (std::size_t i = 0; i < a.size(); ++i) sum += a[i] * b[i];
    return sum / a.size();
}

std::vector<real> Sum(const std::vector<real>& a, const std::vector<real>& b) {
    std::vector<real> r(a.size());
    for (std::size_t i = 0; i < a.size(); ++i) r[i] = a[i] + b[i];
    return r;
}

struct TCase {
    const char* Name;
    bool IncludeInter;
    bool VoltageAOn;
    bool CurrentCOn;
};

class WaveformCheck : public ::testing::TestWithParam<TCase> {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal();

    void SetUp() override {
        sig::TSignalParamsU& v = s->Voltage;
        v.UA = 57.735L, v.UB = 50, v.UC = 62.5L;
        v.ShiftB = -115, v.ShiftC = 118;
        sig::TSignalParamsI& c = s->Current;
        c.IA = 5, c.IB = 3, c.IC = 4.25L;
        c.PhiUIA = 20, c.PhiUIB = -35, c.PhiUIC = 50;
        talvo_test::AddRichSpectrum(*s);
        s->Switches.IncludeInterGarm = GetParam().IncludeInter;
        s->Switches.UOnA = GetParam().VoltageAOn;
        s->Switches.IOnC = GetParam().CurrentCOn;
        sig::CalcVoltageParams(v, s->Switches);
        sig::CalcCurrentParams(c, v, s->Switches);
        sig::CalcPowerParams(v, c, s->Switches, false, s->Energy,
                             {s->ShownPowers, s->FundamentalPowers, s->FullPowers});
    }

    std::vector<real> Voltage(int phase) const {
        return sig::PhaseWaveform(sig::VoltageWave(s->Voltage, phase), sig::U(s->Voltage, phase),
                                  s->Switches.IncludeInterGarm, sig::UOn(s->Switches, phase), kSamples);
    }
    std::vector<real> Current(int phase) const {
        return sig::PhaseWaveform(sig::CurrentWave(s->Current, s->Voltage, phase), sig::I(s->Current, phase),
                                  s->Switches.IncludeInterGarm, sig::IOn(s->Switches, phase), kSamples);
    }
};

TEST_P(WaveformCheck, PhaseTotalsAndActivePower) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
        const auto u = Voltage(phase);
        const auto i = Current(phase);
        EXPECT_NEAR(D(Rms(u)), D(sig::URms(s->Voltage, phase)), 2e-5) << "phase " << phase;
        EXPECT_NEAR(D(Rms(i)), D(sig::IRms(s->Current, phase)), 2e-5) << "phase " << phase;
        EXPECT_NEAR(D(MeanProduct(u, i)), D(s->FullPowers.P[phase]), 1e-4) << "phase " << phase;
    }
}

TEST_P(WaveformCheck, LineTotals) {
    const std::vector<real> u[3] = {Voltage(sig::fzA), Voltage(sig::fzB), Voltage(sig::fzC)};
    for (int line = sig::lnAB; line <= sig::lnCA; ++line) {
        const auto w = sig::LineWaveform(u[sig::LineFirstPhase(line)], u[sig::LineSecondPhase(line)]);
        EXPECT_NEAR(D(Rms(w)), D(s->Voltage.ULineRms[line]), 1e-4) << "line " << line;
    }
}

TEST_P(WaveformCheck, NeutralCurrent) {
    const auto n = Sum(Sum(Current(sig::fzA), Current(sig::fzB)), Current(sig::fzC));
    EXPECT_NEAR(D(Rms(n)), D(s->Current.INRms), 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Signals, WaveformCheck,
                         ::testing::Values(TCase{"Harmonics", false, true, true},
                                           TCase{"WithInterharmonics", true, true, true},
                                           TCase{"ChannelsOff", true, false, false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(InstantValue, FilterCompensationLeavesTheFundamentalAlone) {
    sig::TWaveBlocks w;
    w.FundamentalAngle = 30;
    for (int i = 0; i < 100; i += 7)
        EXPECT_EQ(sig::InstantValue(w, i, true, false, true, 50, 100, 0),
                  sig::InstantValue(w, i, false, false, true, 50, 100, 0));
    w.Harmonics.Koef[50] = 10;
    w.Harmonics.Angle[50] = 90;  // the harmonic's peak at sample 0
    const real gain = sig::OutputFilterFactor(50, 50);
    EXPECT_GT(gain, 1.01L);
    EXPECT_NEAR(D(sig::InstantValue(w, 0, true, false, false, 50, 100, 0)), D(0.1L * gain), 1e-15);
    EXPECT_NEAR(D(sig::InstantValue(w, 0, true, false, false, 50, 100, 10)), D(1.1L * 0.1L * gain), 1e-15);
}

TEST(PhaseWaveform, IsLimitedToTheChartBuffer) {
    const sig::TWaveBlocks w;
    EXPECT_EQ(sig::PhaseWaveform(w, 1, false, true, 8000).size(), static_cast<std::size_t>(sig::kChartSamples));
    const auto one = sig::PhaseWaveform(w, 100, false, true, 400);
    ASSERT_EQ(one.size(), 400u);
    EXPECT_NEAR(D(one[100]), 100 * std::sqrt(2.0), 1e-12);  // a quarter period in
}

}  // namespace
