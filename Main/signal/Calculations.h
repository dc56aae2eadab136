#pragma once

#include "signal/Display.h"
#include "signal/Helpers.h"
#include "signal/Records.h"

// The quantities derived from the voltage and current inputs of a signal.
// Each operation overwrites its derived fields; a zero nominal raises
// TalvoError and leaves the fields not yet written as they were.
namespace sig {

// The angle differences of the phase and line harmonics (through the store's
// single-precision setter).
void CalcHarmonicAngleDiffs(TSignalParamsU& v);

// (cos, sin) of one angle per harmonic (1 ... 50) and interharmonic (1 ... 49)
// of each of the three phases.
class TComponentPhasors {
public:
    const TPhasor& Harmonic(int phase, int n) const { return harmonics_[phase][n]; }
    const TPhasor& Inter(int phase, int m) const { return inter_[phase][m]; }

protected:
    std::array<std::array<TPhasor, kHarmonics + 1>, 3> harmonics_{};
    std::array<std::array<TPhasor, kInterHarmonics + 1>, 3> inter_{};
};

// Every voltage component at its absolute angle: what the line calculations
// of one signal share.
class TVoltageSpectrum : public TComponentPhasors {
public:
    explicit TVoltageSpectrum(const TSignalParamsU& v);
};

// Every current component at its stored voltage-minus-current angle: what the
// neutral current and the powers of one signal share.
class TCurrentAngles : public TComponentPhasors {
public:
    explicit TCurrentAngles(const TSignalParamsI& c);
};

// Line quantities, symmetrical components, unbalance, totals, distortion,
// deviations and component volts of the voltage; the line harmonic blocks and
// angle differences go into the store.
void CalcVoltageParams(TSignalParamsU& v, const TSignalSwitches& switches, ISignalDisplay* display = nullptr);
// The same with the spectrum of v as it is now already at hand.
void CalcVoltageParams(const TVoltageSpectrum& spectrum, TSignalParamsU& v, const TSignalSwitches& switches,
                       ISignalDisplay* display = nullptr);

// The total RMS of line 0 (AB), 1 (BC) or 2 (CA) for the given phase
// fundamentals, with the signal's harmonics, angles and switches: ULineRms
// when given UX and UY themselves.
real LineTotalRms(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, int line, real ux, real uy,
                  const TSignalSwitches& switches);

// Deviations, angles, symmetrical components, neutral current, totals and
// distortion of the currents.
void CalcCurrentParams(TSignalParamsI& c, const TSignalParamsU& v, const TSignalSwitches& switches,
                       ISignalDisplay* display = nullptr);
// The same with the phasors of v and c as they are now already at hand.
void CalcCurrentParams(const TVoltageSpectrum& spectrum, const TCurrentAngles& angles, TSignalParamsI& c,
                       const TSignalParamsU& v, const TSignalSwitches& switches, ISignalDisplay* display = nullptr);

// The three power records (shown, fundamental, full) and the energy.
struct TPowerRecords {
    TPowerParams& Shown;
    TPowerParams& Fundamental;
    TPowerParams& Full;
};

void CalcPowerParams(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                     bool fullPowersShown, TEnergyParams& energy, const TPowerRecords& powers,
                     ISignalDisplay* display = nullptr);
void CalcPowerParams(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                     const TSignalSwitches& switches, bool fullPowersShown, TEnergyParams& energy,
                     const TPowerRecords& powers, ISignalDisplay* display = nullptr);

// The fundamental powers of one phase into the fundamental record; the
// other phases and the sums keep their values.
void CalcPhaseFundamentalPowers(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                                int phase, TPowerParams& fundamental);

// Active, reactive and apparent power of every harmonic into the fundamental powers.
void CalcHarmonicPowers(const TSignalParamsU& v, const TSignalParamsI& c, TPowerParams& fundamental);
void CalcHarmonicPowers(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                        TPowerParams& fundamental);

// Three-wire connection: the current of phase B is minus the sum of A and C,
// harmonics and interharmonics included. When A and C cancel (IB = 0), the
// harmonic and interharmonic coefficients and angles of B become 0.
void DeriveThreeWireCurrentB(const TSignalParamsU& v, TSignalParamsI& c);

}  // namespace sig
