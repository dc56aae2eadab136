#pragma once

#include "CommonUtils/ProtocolLog.h"
#include "signal/Records.h"
#include "signal/SampleClock.h"

// The signal frequency: its permitted range on the calibrator's grid and
// the operation that sets it.
namespace sig {

constexpr real kMinFrequency = 40.0L;
constexpr real kMaxFrequency = 70.0L;

struct TFrequencyBounds {
    real Lower = kMinFrequency;
    real Upper = kMaxFrequency;
};

// The range 40 ... 70 Hz widened to what the grid generates for requests
// of 40 Hz (timer index 0) and 70 Hz (timer index 2) under correction kf (%).
TFrequencyBounds DeriveFrequencyBounds(real kf);

// True when f lies within the bounds (equal counts as within). Otherwise the
// warning is shown when interactive outside console mode, or logged as a
// notice, and the result is false.
bool CheckFrequencyRange(real f, const TFrequencyBounds& bounds, bool interactive, bool console,
                         cmn::IProtocolLog& log);

// Realises a requested frequency on the grid (timer index chosen from the one
// stored, with its hysteresis) and checks it. On success stores Freq and
// FreqDelta in the voltage parameters and the timer index, sample rate and
// samples per period in the grid; on failure changes nothing.
bool SetSignalFrequency(real requested, real kf, sig::TSampleGrid& grid, const TFrequencyBounds& bounds,
                        bool interactive, bool console, cmn::IProtocolLog& log, TSignalParamsU& v);

}  // namespace sig
