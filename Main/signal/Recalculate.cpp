#include "signal/Recalculate.h"

#include "signal/Calculations.h"
#include "signal/Collapses.h"
#include "signal/Ieee1459.h"

namespace sig {

void Recalculate(TSignalSet& s, const TKolebParamsHelpTable& flicker, const TRecalcOptions& options) {
    const TSignalSwitches& sw = s.Switches;
    // The voltage calculation writes only line blocks, so the phase spectrum
    // it starts from still holds when the dips are derived.
    const TVoltageSpectrum spectrum(s.Voltage);
    CalcVoltageParams(spectrum, s.Voltage, sw, options.Display);
    CalcCurrentParams(s.Current, s.Voltage, sw, options.Display);
    CalcPowerParams(s.Voltage, s.Current, sw, options.FullPowersShown, s.Energy,
                    {s.ShownPowers, s.FundamentalPowers, s.FullPowers}, options.Display);
    CalcIeee1459(s.Voltage, s.Current, s.FundamentalPowers, s.FullPowers, s.Ieee1459);
    CalcHarmonicPowers(s.Voltage, s.Current, s.FundamentalPowers);
    CalcCollapsesParams(spectrum, s.Voltage, s.Collapses, s.Grid.SamplesPerPeriod, s.Grid.SampleRate, options.FreqCorrection, sw);
    CalcKolebParams(s.Voltage, s.Koleb, sw.UOnA, sw.UOnB, sw.UOnC, flicker);
}

}  // namespace sig
