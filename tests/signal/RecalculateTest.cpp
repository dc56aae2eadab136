#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Collapses.h"
#include "signal/Ieee1459.h"
#include "signal/Nominals.h"
#include "signal/Recalculate.h"

namespace {

// Records which display operations the calculations called, in order.
class TRecordingDisplay : public sig::ISignalDisplay {
public:
    void ShowVoltageValues(const sig::TSignalParamsU&) override { Calls.push_back("voltage"); }
    void ShowCurrentPhasors(const std::array<sig::TPolar, 3>& currents) override {
        Calls.push_back("phasors");
        Currents = currents;
    }
    void ShowCurrentValues(const sig::TSignalParamsI&) override { Calls.push_back("current"); }
    void DrawVectorDiagram(const sig::TSignalParamsU&, const sig::TSignalParamsI&) override {
        Calls.push_back("diagram");
    }

    std::vector<std::string> Calls;
    std::array<sig::TPolar, 3> Currents{};
};

std::unique_ptr<sig::TSignalSet> RichSignal() {
    auto s = talvo_test::BalancedSignal(57.735L, 5, 25);
    talvo_test::AddRichSpectrum(*s);
    s->Switches.IncludeInterGarm = true;
    s->Grid = {1, 33333334.0L / 195, 3419, 3419};
    s->Collapses.Duration = 0.1L;
    s->Collapses.Faza[sig::fzA].DepthPercent = 40;
    s->Koleb.Freq = 8.8L;
    s->Koleb.Swing = {0.3L, 0.3L, 0.3L};
    return s;
}

TEST(Recalculate, RunsEveryCalculationInOrder) {
    auto s = RichSignal();
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost2012);
    TRecordingDisplay display;
    sig::Recalculate(*s, flicker, {0, true, &display});
    EXPECT_EQ(display.Calls, (std::vector<std::string>{"voltage", "phasors", "current", "diagram"}));
    EXPECT_NEAR(static_cast<double>(display.Currents[sig::fzB].Angle), -145, 1e-12);

    // The same results as the single steps run one after another.
    auto t = RichSignal();
    sig::CalcVoltageParams(t->Voltage, t->Switches);
    sig::CalcCurrentParams(t->Current, t->Voltage, t->Switches);
    sig::CalcPowerParams(t->Voltage, t->Current, t->Switches, true, t->Energy,
                         {t->ShownPowers, t->FundamentalPowers, t->FullPowers});
    sig::CalcIeee1459(t->Voltage, t->Current, t->Switches, t->FundamentalPowers, t->FullPowers, t->Ieee1459);
    sig::CalcHarmonicPowers(t->Voltage, t->Current, t->FundamentalPowers);
    sig::CalcCollapsesParams(t->Voltage, t->Collapses, 3419, t->Grid.SampleRate, 0, t->Switches);
    sig::CalcKolebParams(t->Voltage, t->Koleb, true, true, true, flicker);
    EXPECT_EQ(s->Voltage.ULineRms, t->Voltage.ULineRms);
    EXPECT_EQ(s->Current.INRms, t->Current.INRms);
    EXPECT_EQ(s->ShownPowers.P, t->FullPowers.P);
    EXPECT_EQ(s->FundamentalPowers.QGarmSum.Values, t->FundamentalPowers.QGarmSum.Values);
    EXPECT_EQ(s->Ieee1459.SeN4, t->Ieee1459.SeN4);
    EXPECT_EQ(s->Collapses.Line[sig::lnCA].UResidual, t->Collapses.Line[sig::lnCA].UResidual);
    EXPECT_EQ(s->Koleb.Pst, t->Koleb.Pst);
    EXPECT_GT(s->Koleb.Pst[sig::fzA], 1);
}

TEST(Recalculate, IsRepeatable) {
    auto s = RichSignal();
    sig::TKolebParamsHelpTable flicker;
    flicker.LoadDefaults(sig::fsGost99);
    sig::Recalculate(*s, flicker);
    const auto first = std::make_unique<sig::TSignalSet>(*s);
    sig::Recalculate(*s, flicker);
    EXPECT_EQ(s->Voltage.URmsA, first->Voltage.URmsA);
    EXPECT_EQ(s->Voltage.Garmonik.ab.Koef.Values, first->Voltage.Garmonik.ab.Koef.Values);
    EXPECT_EQ(s->Collapses.Duration, first->Collapses.Duration);
    EXPECT_EQ(s->Ieee1459.LU4, first->Ieee1459.LU4);
}

TEST(Recalculate, StopsAtAZeroNominal) {
    auto s = RichSignal();
    s->Voltage.NominalLine = 0;
    s->FullPowers.PSum = 12345;
    sig::TKolebParamsHelpTable flicker;
    EXPECT_THROW(sig::Recalculate(*s, flicker), cmn::TalvoError);
    EXPECT_EQ(s->FullPowers.PSum, 12345);  // the powers come after the voltage
}

}  // namespace
