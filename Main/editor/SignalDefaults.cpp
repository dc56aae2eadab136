#include "editor/SignalDefaults.h"

#include "editor/PowerPages.h"
#include "signal/Calculations.h"
#include "signal/Nominals.h"

namespace edit {
namespace {

void ClearSpectrum(sig::TSignalParamsU& v) {
    v.Garmonik.Clear();
    for (auto& block : v.InterGarm) block = {};
}

void SetBalancedPhases(sig::TSignalParamsU& v, sig::real value) {
    v.UA = v.UB = v.UC = value;
    v.DeltaUA = v.DeltaUB = v.DeltaUC = 0;
    v.ShiftA = 0;
    v.ShiftB = -120;
    v.ShiftC = 120;
}

// The nominal frequency chosen in the nominal values, 50 Hz until one is chosen.
sig::real NominalFrequency(const sig::TSignalParamsU& v) {
    return v.FreqNominal == sig::kNominalFrequencies[1] ? sig::kNominalFrequencies[1] : sig::kNominalFrequencies[0];
}

}  // namespace

void SetDefaultVoltage(sig::TSignalSet& s, const TFrequencySetting& f) {
    sig::TSignalParamsU& v = s.Voltage;
    v.Nominal = v.NominalFaza = sig::kNominalVoltageHigh;
    v.NominalLine = kDefaultLineVoltage;
    SetBalancedPhases(v, sig::kNominalVoltageHigh);
    ClearSpectrum(v);
    v.FreqNominal = NominalFrequency(v);
    sig::SetSignalFrequency(v.FreqNominal, f.Kf, s.Grid, f.Bounds, true, false, f.Log, v);
    sig::CalcVoltageParams(v, s.Switches);
}

void SetDefaultCurrent(sig::TSignalSet& s) {
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = sig::kNominalCurrentHigh;
    c.IA = c.IB = c.IC = sig::kNominalCurrentHigh;
    c.DeltaIA = c.DeltaIB = c.DeltaIC = 0;
    c.PhiUIA = c.PhiUIB = c.PhiUIC = 0;
    c.Garmonik.Clear();
    for (auto& block : c.InterGarm) block = {};
    sig::CalcCurrentParams(c, s.Voltage, s.Switches);
}

void SetDefaultConverter(sig::TSignalSet& s) {
    sig::TSignalParamsU& u = s.Converter;
    u.Nominal = u.NominalFaza = u.NominalLine = kDefaultConverterValue;
    SetBalancedPhases(u, kDefaultConverterValue);
    ClearSpectrum(u);
    u.FreqNominal = s.Voltage.FreqNominal;
    u.Freq = s.Voltage.Freq;
}

sig::TSignalSet DefaultSignal(const TFrequencySetting& f) {
    sig::TSignalSet s;
    SetDefaultVoltage(s, f);
    SetDefaultCurrent(s);
    SetDefaultConverter(s);
    s.Energy.TestSeconds = kDefaultEnergyInterval;
    return s;
}

}  // namespace edit
