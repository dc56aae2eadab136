#include "signal/Recalculate.h"

#include "signal/Calculations.h"
#include "signal/Collapses.h"
#include "signal/Ieee1459.h"

namespace sig {

void Recalculate(TSignalSet& s, const TKolebParamsHelpTable& flicker, const TRecalcOptions& options) {
    const TSignalSwitches& sw = s.Switches;
    // The voltage calculation writes only line blocks and the current one no
    // component angles, so the phasors taken first hold to the end.
    const TVoltageSpectrum spectrum(s.Voltage);
    const TCurrentAngles angles(s.Current);
    CalcVoltageParams(spectrum, s.Voltage, sw, options.Display);
    CalcCurrentParams(spectrum, angles, s.Current, s.Voltage, sw, options.Display);
    CalcPowerParams(angles, s.Voltage, s.Current, sw, options.FullPowersShown, s.Energy,
                    {s.ShownPowers, s.FundamentalPowers, s.FullPowers}, options.Display);
    CalcIeee1459(s.Voltage, s.Current, sw, s.FundamentalPowers, s.FullPowers, s.Ieee1459);
    CalcHarmonicPowers(angles, s.Voltage, s.Current, s.FundamentalPowers);
    CalcCollapsesParams(spectrum, s.Voltage, s.Collapses, s.Grid.SamplesPerPeriod, s.Grid.SampleRate,
                        options.FreqCorrection, sw);
    CalcKolebParams(s.Voltage, s.Koleb, sw.UOnA, sw.UOnB, sw.UOnC, flicker);
}

}  // namespace sig
