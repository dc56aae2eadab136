#pragma once

#include <cstdint>

#include "CommonUtils/ProtocolLog.h"
#include "signal/Calculations.h"
#include "signal/Records.h"

// Dips and swells: the voltages during the events, the derived line events
// and the timing on the calibrator's sample grid.
namespace sig {

// The reference voltage: the nominal for kind 0, the set total RMS for kind 1.
// Raises "Неизвестный вид опорного напряжения" for other kinds.
real ReferenceVoltage(std::uint8_t refKind, real urms, real nominal);
// The residual voltage of a dip of depth % and the maximum voltage of a swell of factor k.
real ResidualVoltage(std::uint8_t refKind, real depthPercent, real urms, real nominal);
real MaximumVoltage(std::uint8_t refKind, real k, real urms, real nominal);

// Quantises Duration and Period to whole samples (bound to half-periods or
// periods as Binding says) and writes back the realised times, then derives
// the phase event voltages and the line events. With no sample rate yet
// (frequency not set) the times are left as they are.
void CalcCollapsesParams(const TSignalParamsU& v, TCollapsesParams& d, int samplesPerPeriod, real sampleRate, real kf,
                         const TSignalSwitches& switches);
// The same with the voltage spectrum of v as it is now already at hand.
void CalcCollapsesParams(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, TCollapsesParams& d,
                         int samplesPerPeriod, real sampleRate, real kf, const TSignalSwitches& switches);

// Every phase's event is consistent with its RMS: a dip does not rise above
// it and a swell does not fall below it.
bool CollapsesValid(const TSignalParamsU& v, const TCollapsesParams& d);

// The checks before the events are sent. An inconsistent event asks whether
// to go on (interactive) or is logged and passed; a count outside
// 1 ... 32767 is refused with its message. True when the send may go on.
bool ConfirmCollapses(const TSignalParamsU& v, const TCollapsesParams& d, cmn::IProtocolLog& log);

}  // namespace sig
